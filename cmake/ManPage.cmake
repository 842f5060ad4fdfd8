# cmake -DPROGRAM=... -DNAME=... -DSUMMARY=... -DVERSION=... -DOUTPUT=... -P ManPage.cmake
# Writes a section 1 manual page for PROGRAM from what `PROGRAM --help` prints, so the page
# says what the built program says. Lines at the left margin that end in ':' become
# subsections; the rest keeps its layout.
foreach(var PROGRAM NAME SUMMARY VERSION OUTPUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "ManPage.cmake needs -D${var}=...")
    endif()
endforeach()
execute_process(COMMAND ${PROGRAM} --help
    OUTPUT_VARIABLE help RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR help STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} --help failed (${status}): ${errors}")
endif()

# Roff escapes: backslashes first, then what roff would read as a request or a hyphen.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")

set(synopsis "")
set(body "")
set(in_block FALSE)
# Line by line without CMake lists, which would split at ';' and mind brackets.
while(NOT help STREQUAL "")
    string(FIND "${help}" "\n" end)
    if(end EQUAL -1)
        set(line "${help}")
        set(help "")
    else()
        string(SUBSTRING "${help}" 0 ${end} line)
        math(EXPR end "${end} + 1")
        string(SUBSTRING "${help}" ${end} -1 help)
    endif()
    if(synopsis STREQUAL "" AND line MATCHES "^[Uu]sage: *(.*)$")
        set(synopsis "${CMAKE_MATCH_1}")
        continue()
    endif()
    if(line MATCHES "^[^ \t].*:$")
        if(in_block)
            string(APPEND body ".fi\n")
            set(in_block FALSE)
        endif()
        string(REGEX REPLACE ":$" "" heading "${line}")
        string(APPEND body ".SS \"${heading}\"\n")
        continue()
    endif()
    if(NOT in_block)
        string(APPEND body ".nf\n")
        set(in_block TRUE)
    endif()
    if(line MATCHES "^[.']")
        set(line "\\&${line}")
    endif()
    string(APPEND body "${line}\n")
endwhile()
if(in_block)
    string(APPEND body ".fi\n")
endif()

string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" name_escaped "${NAME}")
file(WRITE "${OUTPUT}"
".TH \"${title}\" 1 \"\" \"Kestrel ${VERSION}\" \"User Commands\"
.SH NAME
${name_escaped} \\- ${SUMMARY}
.SH SYNOPSIS
.B ${synopsis}
.SH DESCRIPTION
${body}")

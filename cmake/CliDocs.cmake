# cmake -DPROGRAM=... -DVERSION=... -DMAN=... -DCOMPLETION=... -P CliDocs.cmake
# Writes the manual page kestrel-cli(1) and its bash completion from what the built tool
# prints for --help and for each command's --help, so both list every command and option the
# tool has. The tool's help: "Usage:" line, sections headed by a line at the left margin that
# ends in ':' (entries in them indented by two spaces, their descriptions by more), an
# "Exit status:" paragraph; a command's help: its "Options:" section, "  --name ARG  what".
cmake_minimum_required(VERSION 3.25)
foreach(var PROGRAM VERSION MAN COMPLETION)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "CliDocs.cmake needs -D${var}=...")
    endif()
endforeach()

function(run_help out)
    execute_process(COMMAND ${PROGRAM} ${ARGN} --help
        OUTPUT_VARIABLE help RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0 OR help STREQUAL "")
        message(FATAL_ERROR "${PROGRAM} ${ARGN} --help failed (${status}): ${errors}")
    endif()
    set(${out} "${help}" PARENT_SCOPE)
endfunction()

# Text for filled roff: escapes, no request at a line start, and a break point after each
# comma or '>' inside long words (JSON, <TAB> lists) so every line fits 80 columns.
function(roff out text)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    string(REGEX REPLACE "([,>])([^ ])" "\\1\\\\:\\2" text "${text}")
    if(text MATCHES "^[.']")
        set(text "\\&${text}")
    endif()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Splits "NAME REST" of an option line into the option, its argument and what it does. The
# argument stands one space after the name and two spaces before the description.
function(split_option line name_out arg_out what_out)
    string(REGEX MATCH "^(-[-A-Za-z0-9]*)(.*)$" _ "${line}")
    set(name "${CMAKE_MATCH_1}")
    set(rest "${CMAKE_MATCH_2}")
    set(arg "")
    if(rest MATCHES "^ ([^ ].*)$")
        set(rest "${CMAKE_MATCH_1}")
        if(rest MATCHES "^([^ ]+( [^ ]+)*)  +(.*)$")
            set(arg "${CMAKE_MATCH_1}")
            set(rest "${CMAKE_MATCH_3}")
        endif()
    endif()
    string(STRIP "${rest}" rest)
    set(${name_out} "${name}" PARENT_SCOPE)
    set(${arg_out} "${arg}" PARENT_SCOPE)
    set(${what_out} "${rest}" PARENT_SCOPE)
endfunction()

# The completion case of an option: the words its arguments take and what completes the last
# (folders, files or nothing); a flag takes none.
function(argument_case out pattern arg)
    set(count 0)
    if(NOT arg STREQUAL "")
        string(REGEX MATCHALL "[^ ]+" words "${arg}")
        list(LENGTH words count)
    endif()
    if(arg MATCHES "DIR")
        set(kind dir)
    elseif(arg MATCHES "FILE|PATH|IN|OUT|ARCHIVE")
        set(kind file)
    else()
        set(kind none)
    endif()
    set(${out} "    ${pattern}) kind=${kind} count=${count} ;;\n" PARENT_SCOPE)
endfunction()

# The words a command takes first, from its usage: each alternative ("a ... | b ...") starts
# with a keyword, or several ("players|teams"); an optional keyword ("[export]") lets the next
# word be one too. Capitals are placeholders, not words.
function(first_words out usage)
    set(rest "")
    if(usage MATCHES "^[^ ]+ (.*)$")
        set(rest "${CMAKE_MATCH_1}")
    endif()
    set(usage "${rest}")
    string(REPLACE " | " "\n" alternatives "${usage}")
    set(words "")
    while(NOT alternatives STREQUAL "")
        string(REGEX MATCH "^[^\n]*" alternative "${alternatives}")
        string(LENGTH "${alternative}" length)
        string(SUBSTRING "${alternatives}" ${length} -1 alternatives)
        string(REGEX REPLACE "^\n" "" alternatives "${alternatives}")
        # Options and their capital arguments before the first word do not count.
        while(alternative MATCHES "^\\[?--?[a-z-]+( [A-Z][^ ]*)?\\]? (.*)$")
            set(alternative "${CMAKE_MATCH_2}")
        endwhile()
        while(alternative MATCHES "^(\\[?)([a-z][a-z0-9-]*(\\|[a-z][a-z0-9-]*)*)\\]?( (.*))?$")
            set(optional "${CMAKE_MATCH_1}")
            set(next "${CMAKE_MATCH_5}")
            string(REPLACE "|" " " found "${CMAKE_MATCH_2}")
            string(APPEND words " ${found}")
            if(NOT optional STREQUAL "[")
                break()
            endif()
            set(alternative "${next}")
        endwhile()
    endwhile()
    string(STRIP "${words}" words)
    string(REPLACE " " ";" words "${words}")
    list(REMOVE_DUPLICATES words)
    string(REPLACE ";" " " words "${words}")
    set(${out} "${words}" PARENT_SCOPE)
endfunction()

run_help(help)

set(synopsis "")
set(section "")
set(description "")
set(global_roff "")
set(global_options "")
set(global_arguments "")
set(commands_roff "")
set(commands "")
set(exit_status "")
set(other_roff "")
set(entry "")      # the option or usage line being collected
set(entry_text "") # its description so far

# Writes the entry being collected into its section.
macro(flush_entry)
    if(NOT entry STREQUAL "")
        string(STRIP "${entry_text}" entry_text)
        if(section STREQUAL "global")
            split_option("${entry}" name arg what)
            if(NOT what STREQUAL "" AND NOT entry_text STREQUAL "")
                set(entry_text "${what} ${entry_text}")
            elseif(NOT what STREQUAL "")
                set(entry_text "${what}")
            endif()
            roff(name_r "${name}")
            roff(arg_r "${arg}")
            roff(text_r "${entry_text}")
            string(APPEND global_roff ".TP\n\\fB${name_r}\\fR")
            if(NOT arg STREQUAL "")
                string(APPEND global_roff " \\fI${arg_r}\\fR")
            endif()
            string(APPEND global_roff "\n${text_r}\n")
            string(APPEND global_options " ${name}")
            argument_case(case "*:${name}" "${arg}")
            string(APPEND global_arguments "${case}")
        elseif(section STREQUAL "commands")
            string(REGEX MATCH "^[^ ]+" command "${entry}")
            list(APPEND commands ${command})
            set(usage_${command} "${entry}")
            set(summary_${command} "${entry_text}")
        endif()
        set(entry "")
        set(entry_text "")
    endif()
endmacro()

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
    if(synopsis STREQUAL "" AND line MATCHES "^[Uu]sage: *kestrel-cli *(.*)$")
        set(synopsis "${CMAKE_MATCH_1}")
        continue()
    endif()
    if(line MATCHES "^Exit (status|codes?): *(.*)$")
        flush_entry()
        set(section "exit")
        set(exit_status "${CMAKE_MATCH_2}")
        continue()
    endif()
    if(line MATCHES "^[^ \t].*:$")
        flush_entry()
        if(line MATCHES "^[Gg]lobal options")
            set(section "global")
        elseif(line MATCHES "^[Cc]ommands")
            set(section "commands")
        else()
            set(section "other")
            string(REGEX REPLACE ":$" "" heading "${line}")
            string(TOUPPER "${heading}" heading)
            string(APPEND other_roff ".SH \"${heading}\"\n")
        endif()
        continue()
    endif()
    string(STRIP "${line}" stripped)
    if(stripped STREQUAL "")
        flush_entry()
        if(section STREQUAL "exit")
            set(section "")
        endif()
        continue()
    endif()
    if(section STREQUAL "exit")
        string(APPEND exit_status " ${stripped}")
    elseif(section STREQUAL "global" OR section STREQUAL "commands")
        # An entry stands two spaces in; its description (and what continues it) further.
        if(line MATCHES "^  [^ ]")
            flush_entry()
            set(entry "${stripped}")
        else()
            string(APPEND entry_text " ${stripped}")
        endif()
    elseif(section STREQUAL "other")
        roff(text_r "${stripped}")
        string(APPEND other_roff "${text_r}\n")
    else()
        roff(text_r "${stripped}")
        string(APPEND description "${text_r}\n")
    endif()
endwhile()
flush_entry()

if(synopsis STREQUAL "" OR commands STREQUAL "" OR global_options STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} --help has no usage line, global options or commands")
endif()
if(exit_status STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} --help does not say its exit status")
endif()

# Each command: its usage, what it does and its own options (from its --help).
set(completion_cases "")
set(kind_cases "")
set(option_argument_cases "")
foreach(command IN LISTS commands)
    run_help(command_help ${command})
    roff(usage_r "${usage_${command}}")
    if(usage_r MATCHES "^([^ ]+)(.*)$")
        set(usage_r "\\fB${CMAKE_MATCH_1}\\fR${CMAKE_MATCH_2}")
    endif()
    roff(summary_r "${summary_${command}}")
    string(APPEND commands_roff ".TP\n${usage_r}\n${summary_r}\n")
    set(options "")
    set(in_options FALSE)
    set(options_roff "")
    while(NOT command_help STREQUAL "")
        string(FIND "${command_help}" "\n" end)
        if(end EQUAL -1)
            set(line "${command_help}")
            set(command_help "")
        else()
            string(SUBSTRING "${command_help}" 0 ${end} line)
            math(EXPR end "${end} + 1")
            string(SUBSTRING "${command_help}" ${end} -1 command_help)
        endif()
        # Options stand indented under their heading; a line at the margin ends them.
        if(line MATCHES "^[^ \t]")
            set(in_options FALSE)
            if(line MATCHES "^[Oo]ptions:$")
                set(in_options TRUE)
            endif()
            continue()
        endif()
        if(NOT in_options)
            continue()
        endif()
        string(STRIP "${line}" stripped)
        if(line MATCHES "^  -")
            split_option("${stripped}" name arg what)
            string(APPEND options " ${name}")
            argument_case(case "${command}:${name}" "${arg}")
            string(APPEND option_argument_cases "${case}")
            if(name STREQUAL "--help" OR name STREQUAL "-h")
                continue()
            endif()
            roff(name_r "${name}")
            roff(arg_r "${arg}")
            roff(what_r "${what}")
            string(APPEND options_roff ".TP\n\\fB${name_r}\\fR")
            if(NOT arg STREQUAL "")
                string(APPEND options_roff " \\fI${arg_r}\\fR")
            endif()
            string(APPEND options_roff "\n${what_r}\n")
        elseif(NOT stripped STREQUAL "" AND NOT options_roff STREQUAL "")
            roff(what_r "${stripped}")
            string(APPEND options_roff "${what_r}\n")
        endif()
    endwhile()
    if(NOT options_roff STREQUAL "")
        string(APPEND commands_roff ".RS\n${options_roff}.RE\n")
    endif()
    string(STRIP "${options}" options)
    string(APPEND completion_cases "        ${command}) options=\"${options}\" ;;\n")
    first_words(words "${usage_${command}}")
    if(NOT words STREQUAL "")
        string(APPEND kind_cases "        ${command}) words=\"${words}\" ;;\n")
    endif()
endforeach()

string(REPLACE "-" "\\-" synopsis_r "${synopsis}")
roff(exit_r "${exit_status}")
file(WRITE "${MAN}"
".TH KESTREL\\-CLI 1 \"\" \"Kestrel ${VERSION}\" \"User Commands\"
.\\\" Left-aligned without hyphens: JSON and option names have long words.
.ad l
.nh
.SH NAME
kestrel\\-cli \\- reads and changes Corvid 2004 game databases and picture archives
.SH SYNOPSIS
\\fBkestrel\\-cli\\fR ${synopsis_r}
.SH DESCRIPTION
\\fBkestrel\\-cli\\fR does from the command line what the editor \\fBkestrel\\fR(1) does:
it reads the game database of a Corvid 2004 installation, prints and changes its players,
teams and leagues, checks it, exports and imports CSV files, keeps and restores backups, and
reads and writes the pictures in the game's archives.
Global options may stand before or after the command.
${description}.SH \"GLOBAL OPTIONS\"
${global_roff}.SH COMMANDS
${commands_roff}${other_roff}.SH \"EXIT STATUS\"
${exit_r}
.SH \"SEE ALSO\"
.BR kestrel (1)
")

string(STRIP "${global_options}" global_options)
string(REPLACE ";" " " command_words "${commands}")
file(WRITE "${COMPLETION}"
"# bash completion for kestrel-cli: commands, their options and first words, file and folder
# arguments. Written from the tool's own help when it was built.
_kestrel_cli() {
    local cur=\"\${COMP_WORDS[COMP_CWORD]}\" prev=\"\"
    ((COMP_CWORD > 0)) && prev=\"\${COMP_WORDS[COMP_CWORD - 1]}\"
    local global_options=\"${global_options}\"
    local command=\"\" command_index=0 i kind=\"\" count=0 words=\"\" options=\"\"
    # The command is the first word that is neither an option nor an option's argument.
    for ((i = 1; i < COMP_CWORD; i++)); do
        case \"\${COMP_WORDS[i]}\" in
        -*) _kestrel_cli_argument \"\" \"\${COMP_WORDS[i]}\" && ((i += count)) ;;
        *)
            command=\"\${COMP_WORDS[i]}\"
            command_index=\$i
            break
            ;;
        esac
    done
    # The argument of an option (the last one of an option taking several).
    local before=\"\"
    ((COMP_CWORD > 1)) && before=\"\${COMP_WORDS[COMP_CWORD - 2]}\"
    if { _kestrel_cli_argument \"\$command\" \"\$prev\" && ((count == 1)); } ||
        { _kestrel_cli_argument \"\$command\" \"\$before\" && ((count == 2)); }; then
        case \"\$kind\" in
        dir) mapfile -t COMPREPLY < <(compgen -d -- \"\$cur\") ;;
        file) mapfile -t COMPREPLY < <(compgen -f -- \"\$cur\") ;;
        *) COMPREPLY=() ;;
        esac
        return 0
    fi
    if [[ -z \$command ]]; then
        if [[ \$cur == -* ]]; then
            mapfile -t COMPREPLY < <(compgen -W \"\$global_options\" -- \"\$cur\")
        else
            mapfile -t COMPREPLY < <(compgen -W \"${command_words}\" -- \"\$cur\")
        fi
        return 0
    fi
    case \"\$command\" in
${completion_cases}    esac
    if [[ \$cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W \"\$options \$global_options\" -- \"\$cur\")
        return 0
    fi
    # The first words after the command (kinds of record, sub-commands).
    local positional=0
    for ((i = command_index + 1; i < COMP_CWORD; i++)); do
        case \"\${COMP_WORDS[i]}\" in
        -*) _kestrel_cli_argument \"\$command\" \"\${COMP_WORDS[i]}\" && ((i += count)) ;;
        *) ((positional++)) ;;
        esac
    done
    case \"\$command\" in
${kind_cases}    esac
    if ((positional == 0)) && [[ -n \$words ]]; then
        mapfile -t COMPREPLY < <(compgen -W \"\$words\" -- \"\$cur\")
        [[ \${#COMPREPLY[@]} -gt 0 ]] && return 0
    fi
    mapfile -t COMPREPLY < <(compgen -f -- \"\$cur\")
}

# True when OPTION of COMMAND (or a global one) takes arguments: sets count to how many and
# kind to what completes them (dir, file or none). A command's own option comes first.
_kestrel_cli_argument() {
    case \"\$1:\$2\" in
${option_argument_cases}${global_arguments}    *) count=0 ;;
    esac
    ((count > 0))
}

complete -o filenames -F _kestrel_cli kestrel-cli
")

# kestrel_draw_at_build(TARGET TOOL FOLDER COMMENT): the files TOOL writes into FOLDER, drawn
# again whenever TOOL changes, as the target TARGET of every build.
function(kestrel_draw_at_build target tool folder comment)
    set(stamp ${folder}/.written)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${tool} ${folder}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${tool}
        COMMENT "${comment}")
    add_custom_target(${target} ALL DEPENDS ${stamp})
endfunction()

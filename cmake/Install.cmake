# What `cmake --install` and cpack put where: the programs in bin, the asset library in a
# folder of its own under lib (only Kestrel loads it), the editor's texts and pictures under
# share/kestrel, and the desktop entry, software-centre entry, icons, manual pages and bash
# completion where the desktop, man and bash find them. The programs find the library and their data from their own folder (CProgramFolders).
if(KESTREL_GUI)
    install(TARGETS kestrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # The version in the editor's manual page and its software-centre entry is the project's.
    configure_file(packaging/kestrel.1.in ${CMAKE_BINARY_DIR}/man/kestrel.1 @ONLY)
    configure_file(packaging/kestrel.metainfo.xml.in
        ${CMAKE_BINARY_DIR}/packaging/${KESTREL_APPSTREAM_ID}.metainfo.xml @ONLY)
endif()
if(TARGET kestrel-cli)
    install(TARGETS kestrel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS Wren_Utils
    LIBRARY DESTINATION ${KESTREL_INSTALL_LIBDIR}
    # Windows loads a DLL from beside the program.
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(KESTREL_GUI)
    file(GLOB qtx_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.qtx)
    install(FILES ${qtx_files} DESTINATION ${KESTREL_INSTALL_DATADIR})
    install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/Arts DESTINATION ${KESTREL_INSTALL_DATADIR}
        PATTERN ".written" EXCLUDE)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/kestrel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

    install(FILES ${CMAKE_BINARY_DIR}/packaging/${KESTREL_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # kestrel-cli's manual page and bash completion are written from the built tool's own
    # help, so they never lag behind its commands.
    set(cli_man ${CMAKE_BINARY_DIR}/man/kestrel-cli.1)
    set(cli_completion ${CMAKE_BINARY_DIR}/packaging/kestrel-cli.bash)
    add_custom_command(OUTPUT ${cli_man} ${cli_completion}
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:kestrel-cli> -DVERSION=${PROJECT_VERSION}
            -DMAN=${cli_man} -DCOMPLETION=${cli_completion}
            -P ${CMAKE_SOURCE_DIR}/cmake/CliDocs.cmake
        DEPENDS kestrel-cli ${CMAKE_SOURCE_DIR}/cmake/CliDocs.cmake
        COMMENT "Writing the manual page and bash completion of kestrel-cli")
    set(man_pages ${cli_man} ${CMAKE_BINARY_DIR}/man/kestrel.1)
    install(FILES ${cli_completion} RENAME kestrel-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

    # Manual pages and the changelog are installed compressed (without a time stamp), as
    # man and Debian expect.
    find_program(KESTREL_GZIP gzip)
    set(docs_outputs ${cli_completion})
    if(KESTREL_GZIP)
        foreach(page IN LISTS man_pages)
            add_custom_command(OUTPUT ${page}.gz
                COMMAND ${KESTREL_GZIP} -9nkf ${page}
                DEPENDS ${page})
            list(APPEND docs_outputs ${page}.gz)
            install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
        endforeach()
        set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
        add_custom_command(OUTPUT ${changelog}
            COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/changelog
                ${CMAKE_BINARY_DIR}/packaging/changelog
            COMMAND ${KESTREL_GZIP} -9nf ${CMAKE_BINARY_DIR}/packaging/changelog
            DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
        list(APPEND docs_outputs ${changelog})
        install(FILES ${changelog} DESTINATION ${KESTREL_INSTALL_DOCDIR})
    else()
        list(APPEND docs_outputs ${man_pages})
        install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
        install(FILES packaging/changelog DESTINATION ${KESTREL_INSTALL_DOCDIR})
    endif()
    add_custom_target(kestrel_docs ALL DEPENDS ${docs_outputs})
    install(FILES packaging/copyright DESTINATION ${KESTREL_INSTALL_DOCDIR})
endif()

if(WIN32)
    # The Windows archive: the tool and the DLL side by side, with the README and the licence.
    file(GLOB licence_files ${CMAKE_SOURCE_DIR}/LICENSE* ${CMAKE_SOURCE_DIR}/COPYING*)
    install(FILES ${CMAKE_SOURCE_DIR}/README.md ${licence_files} DESTINATION .)
    set(CPACK_PACKAGE_FILE_NAME kestrel-cli-${PROJECT_VERSION}-win64)
    set(CPACK_GENERATOR ZIP)
endif()

set(CPACK_PACKAGE_NAME kestrel)
set(CPACK_PACKAGE_VENDOR Brackwater)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Editor for the database of the football game Corvid 2004")
# One string with its own line breaks: Debian's extended description keeps lines short.
set(CPACK_PACKAGE_DESCRIPTION [=[Kestrel edits the players, teams, leagues, kits and formations of Corvid 2004
and writes the game's database back in its own format. kestrel-cli does the
same from the command line and reads the game's picture archives.]=])
set(CPACK_PACKAGE_CONTACT "Kestrel developers <kestrel@brackwater.invalid>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Kestrel)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# An editor of game data, not a game.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KESTREL_HOMEPAGE})
# The libraries the programs link come from dpkg-shlibdeps; the platform plugins that draw
# the editor's windows are loaded at run time, so they are named here. Wren_Utils is private
# to the programs (loaded from lib/<multiarch>/kestrel by path), so the package has no shlibs and no
# ldconfig calls.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's own texts in the editor's language, and a font for Chinese, Japanese and Korean names.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-noto-cjk | fonts-droid-fallback")
include(CPack)

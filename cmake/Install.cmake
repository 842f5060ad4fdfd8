# What `cmake --install` and cpack put where: the programs in bin, the asset library in a
# folder of its own under lib (only Kestrel loads it), the editor's texts and pictures under
# share/kestrel, and the desktop entry, icons and manual page where the desktop and man find
# them. The programs find the library and their data from their own folder (CProgramFolders).
if(KESTREL_GUI)
    install(TARGETS kestrel kestrel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
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

    # The manual page is written from the built tool's own --help, so it never lags behind.
    set(man_page ${CMAKE_BINARY_DIR}/man/kestrel-cli.1)
    add_custom_command(OUTPUT ${man_page}
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:kestrel-cli> -DNAME=kestrel-cli
            "-DSUMMARY=reads and changes Corvid 2004 game databases and picture archives"
            -DVERSION=${PROJECT_VERSION} -DOUTPUT=${man_page}
            -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
        DEPENDS kestrel-cli ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
        COMMENT "Writing the manual page of kestrel-cli")
    add_custom_target(kestrel_cli_man ALL DEPENDS ${man_page})
    install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_PACKAGE_NAME kestrel)
set(CPACK_PACKAGE_VENDOR Brackwater)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Editor for the database of the football game Corvid 2004")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrel edits the players, teams, leagues, kits and formations of Corvid 2004 and writes "
    "the game's database back in its own format. kestrel-cli does the same from the command "
    "line and reads the game's picture archives.")
set(CPACK_PACKAGE_CONTACT "Kestrel developers <kestrel@brackwater.invalid>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Kestrel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries the programs link come from dpkg-shlibdeps; the platform plugins that draw
# the editor's windows are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)

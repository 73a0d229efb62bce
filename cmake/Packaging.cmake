# What `cmake --install` puts where, and the Debian package made from it by CPack
# (`cpack -G DEB` in the build folder).
include(GNUInstallDirs)

set(desktop_dir ${PROJECT_SOURCE_DIR}/assets/desktop)
set(app_id de.travenil.quintor3p)

install(TARGETS quintor3p RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${desktop_dir}/${app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/${app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_dir}/${app_id}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${desktop_dir}/icons/${size}x${size}/${app_id}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The program speaks German, so its one manual page is German; it goes both to the
# German section and to the default one, where `man quintor3p` looks first.
set(man_page ${CMAKE_CURRENT_BINARY_DIR}/quintor3p.1.gz)
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${man_page}
    COMMAND ${GZIP} -9 -n -c ${desktop_dir}/quintor3p.1 > ${man_page}
    DEPENDS ${desktop_dir}/quintor3p.1
    VERBATIM)
add_custom_target(man_page ALL DEPENDS ${man_page})
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1)

set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
    COMMAND ${GZIP} -9 -n -c ${desktop_dir}/changelog > ${changelog}
    DEPENDS ${desktop_dir}/changelog
    VERBATIM)
add_custom_target(changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} ${desktop_dir}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quintor3p)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quintor3p)
set(CPACK_PACKAGE_VENDOR Travenil)
set(CPACK_PACKAGE_CONTACT "Travenil <quintor3p@travenil.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keep local copies of presentations in step with a server folder")
set(CPACK_PACKAGE_DESCRIPTION
    "Quintor 3P keeps a local working copy of presentation files in step with a\n folder on a file server, so that they can be shown from the local disk, also\n away from the network. German user interface.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from what the program links (dpkg-shlibdeps); Qt's German
# texts are data files that no link names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-impress, xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)

# Install layout and the Debian package (cd build && cpack -G DEB).
# Paths below are relative to the install prefix; the package installs below /usr.

set(KALVERO_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(KALVERO_PACKAGING_BINARY_DIR ${CMAKE_BINARY_DIR}/packaging)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_PACKAGE_NAME kalvero)
set(CPACK_PACKAGE_VENDOR "Kalvero developers")
set(CPACK_PACKAGE_CONTACT "Kalvero developers <kalvero@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drop-jump and reactive-jump tests with a contact mat")
set(CPACK_PACKAGE_DESCRIPTION
    "Kalvero runs drop-jump and reactive-jump tests with a contact mat timing unit
connected through an FTDI USB serial converter. It records the contact time
and the flight time of every jump, checks them against plausibility limits,
shows the jump height and an efficiency index, keeps athletes and their
measurements in an SQLite database, shows each athlete's history and exports
semicolon-separated text.

A udev rule gives the timing unit's converters to the logged-in user and to
the plugdev group.")

# The changelog and the manual page are installed compressed, as Debian wants them.
function(kalvero_gzip source target)
    execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${target} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip ${source} failed")
    endif()
endfunction()
configure_file(${KALVERO_PACKAGING_DIR}/changelog.in ${KALVERO_PACKAGING_BINARY_DIR}/changelog
               @ONLY)
kalvero_gzip(${KALVERO_PACKAGING_BINARY_DIR}/changelog ${KALVERO_PACKAGING_BINARY_DIR}/changelog.gz)
configure_file(${KALVERO_PACKAGING_DIR}/kalvero.1 ${KALVERO_PACKAGING_BINARY_DIR}/kalvero.1 COPYONLY)
kalvero_gzip(${KALVERO_PACKAGING_BINARY_DIR}/kalvero.1 ${KALVERO_PACKAGING_BINARY_DIR}/kalvero.1.gz)

# The listing in software centres (AppStream), its release the package's version.
configure_file(${KALVERO_PACKAGING_DIR}/org.example.Kalvero.metainfo.xml.in
               ${KALVERO_PACKAGING_BINARY_DIR}/org.example.Kalvero.metainfo.xml @ONLY)

install(TARGETS kalvero RUNTIME DESTINATION bin)
install(FILES ${KALVERO_PACKAGING_BINARY_DIR}/org.example.Kalvero.metainfo.xml
        DESTINATION share/metainfo)
install(FILES ${KALVERO_PACKAGING_DIR}/kalvero.desktop DESTINATION share/applications)
install(FILES ${KALVERO_PACKAGING_DIR}/icons/kalvero.svg
        DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 256 48)
    install(FILES ${KALVERO_PACKAGING_DIR}/icons/kalvero-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME kalvero.png)
endforeach()
install(FILES ${KALVERO_PACKAGING_DIR}/70-kalvero.rules DESTINATION lib/udev/rules.d)
install(FILES ${KALVERO_PACKAGING_DIR}/copyright ${KALVERO_PACKAGING_BINARY_DIR}/changelog.gz
        DESTINATION share/doc/kalvero)
install(FILES ${KALVERO_PACKAGING_BINARY_DIR}/kalvero.1.gz DESTINATION share/man/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plugins at run time, so dpkg-shlibdeps cannot see them: the SQLite driver of Qt Sql
# and the platform plugins (xcb) of Qt Gui.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins")
# Only stations that keep their data on a PostgreSQL server need its driver. Without Qt's
# translations, its file dialogs and standard buttons stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

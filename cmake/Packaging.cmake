# What `cmake --install` puts where, and the Debian package that `cpack -G DEB` makes of it.
include(GNUInstallDirs)

install(TARGETS zlomkar)

if(NOT UNIX OR APPLE)
    return()
endif()

# The desktop file, the metainfo and the icons are all named after the application id, so the
# menu entry, the software centre and the Wayland app id find one another.
set(packaging_dir ${PROJECT_BINARY_DIR}/packaging)
configure_file(packaging/linux/zlomkar.desktop.in ${packaging_dir}/${ZLOMKAR_APP_ID}.desktop @ONLY)
configure_file(packaging/linux/zlomkar.metainfo.xml.in
    ${packaging_dir}/${ZLOMKAR_APP_ID}.metainfo.xml @ONLY)

install(FILES ${packaging_dir}/${ZLOMKAR_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging_dir}/${ZLOMKAR_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(icon_dir ${PROJECT_SOURCE_DIR}/resources/icons)
foreach(size 16x16 32x32 48x48 64x64 128x128)
    install(FILES ${icon_dir}/hicolor/${size}/apps/zlomkar.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps
        RENAME ${ZLOMKAR_APP_ID}.png)
endforeach()
install(FILES ${icon_dir}/zlomkar.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME ${ZLOMKAR_APP_ID}.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zlomkar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tým Zlomkar <info@${ZLOMKAR_WEB_DOMAIN}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for long division to any number of decimal places")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Zlomkar divides one whole number by another by long division and shows the"
    "quotient digit by digit while it works, with as many decimal places as you ask"
    "for, or without any limit until you stop it. The division and its result can be"
    "saved to a text file. The user interface is in Czech.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.${ZLOMKAR_WEB_DOMAIN}/")
# dpkg-shlibdeps reads the Qt libraries the binary links, so Depends follows the Qt it was built with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

# The Debian package of the Linux program: lumatone_<version>_<arch>.deb with
# the program, its desktop entry, its icons, the license as Debian's copyright
# file, a changelog and a manual page. Built by `cpack -G DEB` in the build
# folder; scripts/package.sh builds it and runs lintian over it.
set(LUMATONE_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set(LUMATONE_DEB_RESOURCES ${LUMATONE_SOURCE_ROOT}/qtapp/resources)
set(LUMATONE_DEB_GENERATED ${CMAKE_BINARY_DIR}/deb)
set(LUMATONE_MAINTAINER "Tressalunde <lumatone@example.org>")
# The packaging's own revision of the upstream version.
set(LUMATONE_DEB_RELEASE 1)

install(TARGETS lumatone RUNTIME DESTINATION bin)
install(FILES ${LUMATONE_DEB_RESOURCES}/lumatone.desktop DESTINATION share/applications)
foreach(size 16 32 48 64)
    install(FILES ${LUMATONE_DEB_RESOURCES}/lumatone-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME lumatone.png)
endforeach()

# copyright: the license in Debian's machine-readable format, every blank line
# of its text written as " ." and every line indented by one space.
file(READ ${LUMATONE_SOURCE_ROOT}/LICENSE LUMATONE_LICENSE_TEXT)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${LUMATONE_LICENSE_TEXT}")
set(LUMATONE_COPYRIGHT_HOLDER "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^MIT License\n\n[^\n]*\n\n" "" LUMATONE_LICENSE_BODY "${LUMATONE_LICENSE_TEXT}")
string(STRIP "${LUMATONE_LICENSE_BODY}" LUMATONE_LICENSE_BODY)
string(REPLACE "\n\n" "\n.\n" LUMATONE_LICENSE_BODY "${LUMATONE_LICENSE_BODY}")
string(REPLACE "\n" "\n " LUMATONE_LICENSE_BODY "${LUMATONE_LICENSE_BODY}")
file(WRITE ${LUMATONE_DEB_GENERATED}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: lumatone
Upstream-Contact: ${LUMATONE_MAINTAINER}

Files: *
Copyright: ${LUMATONE_COPYRIGHT_HOLDER}
License: Expat

License: Expat
 ${LUMATONE_LICENSE_BODY}
")

# changelog.Debian.gz and the manual page, compressed as Debian wants them:
# the most compression, no name or time stamp inside.
string(TIMESTAMP LUMATONE_CHANGELOG_DATE "%a, %d %b %Y 00:00:00 +0000" UTC)
file(WRITE ${LUMATONE_DEB_GENERATED}/changelog.Debian
"lumatone (${lumatone_VERSION}-${LUMATONE_DEB_RELEASE}) unstable; urgency=medium

  * Built from the project's sources.

 -- ${LUMATONE_MAINTAINER}  ${LUMATONE_CHANGELOG_DATE}
")
configure_file(${LUMATONE_DEB_RESOURCES}/lumatone.1.in ${LUMATONE_DEB_GENERATED}/lumatone.1 @ONLY)
foreach(name changelog.Debian lumatone.1)
    add_custom_command(OUTPUT ${LUMATONE_DEB_GENERATED}/${name}.gz
                       COMMAND gzip -9nfk ${LUMATONE_DEB_GENERATED}/${name}
                       DEPENDS ${LUMATONE_DEB_GENERATED}/${name} VERBATIM)
endforeach()
add_custom_target(lumatone_deb_files ALL DEPENDS ${LUMATONE_DEB_GENERATED}/changelog.Debian.gz
                                                 ${LUMATONE_DEB_GENERATED}/lumatone.1.gz)
install(FILES ${LUMATONE_DEB_GENERATED}/copyright ${LUMATONE_DEB_GENERATED}/changelog.Debian.gz
        DESTINATION share/doc/lumatone)
install(FILES ${LUMATONE_DEB_GENERATED}/lumatone.1.gz DESTINATION share/man/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumatone)
set(CPACK_PACKAGE_VENDOR Tressalunde)
set(CPACK_PACKAGE_VERSION ${lumatone_VERSION})
set(CPACK_PACKAGE_CONTACT "${LUMATONE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "gamma, refresh rate and volume from the tray, with hotkeys")
set(CPACK_PACKAGE_DESCRIPTION
"Lumatone sits in the system tray of an X11 desktop and sets the screen's
gamma ramp, its refresh rate and the sound server's volume, each from a
slider or from two-key hotkeys that work while other programs have the
keyboard focus. Its settings live in ~/.config/lumatone/settings.ini.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${LUMATONE_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LUMATONE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

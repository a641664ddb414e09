# The release ZIP for users: lumatone-<version>-win64.zip (or -win32), holding
# lumatone.exe, the user guide with its pictures and the license. Built by
# `cpack` in the build folder or the `package` target; scripts/package.sh
# builds both and checks what they hold.
set(LUMATONE_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
install(TARGETS lumatone RUNTIME DESTINATION .)
install(FILES ${LUMATONE_SOURCE_ROOT}/docs/user-guide.md DESTINATION .)
install(DIRECTORY ${LUMATONE_SOURCE_ROOT}/docs/images DESTINATION . FILES_MATCHING PATTERN "*.png")
# .txt, so that Windows opens it with a double-click.
install(FILES ${LUMATONE_SOURCE_ROOT}/LICENSE DESTINATION . RENAME LICENSE.txt)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(LUMATONE_PACKAGE_SYSTEM win64)
else()
    set(LUMATONE_PACKAGE_SYSTEM win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME lumatone)
set(CPACK_PACKAGE_VENDOR Tressalunde)
set(CPACK_PACKAGE_VERSION ${lumatone_VERSION})
set(CPACK_PACKAGE_FILE_NAME lumatone-${lumatone_VERSION}-${LUMATONE_PACKAGE_SYSTEM})
set(CPACK_RESOURCE_FILE_LICENSE ${LUMATONE_SOURCE_ROOT}/LICENSE)
# Unpacks into a folder of its own rather than into wherever the user stands.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)

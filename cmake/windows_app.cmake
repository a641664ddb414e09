# lumatone.exe: the native view and entry point over the core and the Windows
# services, one statically linked GUI executable with its icon, version
# information and manifest.
enable_language(RC)
file(GLOB LUMATONE_VIEW_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/../win32app/*.cpp)
set(LUMATONE_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/../win32app/resources)
add_executable(lumatone WIN32
               ${LUMATONE_VIEW_SOURCES}
               ${LUMATONE_RESOURCES}/lumatone.rc)
# The version resource takes its numbers from the project version.
configure_file(${LUMATONE_RESOURCES}/version.h.in ${CMAKE_BINARY_DIR}/generated/lumatone_version.h @ONLY)
set_source_files_properties(${LUMATONE_RESOURCES}/lumatone.rc PROPERTIES
    OBJECT_DEPENDS "${LUMATONE_RESOURCES}/lumatone.ico;${LUMATONE_RESOURCES}/lumatone.manifest;${CMAKE_BINARY_DIR}/generated/lumatone_version.h")
target_include_directories(lumatone PRIVATE ${LUMATONE_RESOURCES} ${CMAKE_BINARY_DIR}/generated)
target_compile_definitions(lumatone PRIVATE NOMINMAX)
target_link_libraries(lumatone PRIVATE view lumatone_win32 lumatone_core comctl32 user32 gdi32
                      wtsapi32 lumatone_warnings)
target_link_options(lumatone PRIVATE -static -mwindows -s)

# Helpers of the end-to-end tests: a probe that reads the program's windows as
# automation tools do, and the minimal Win32 program the measurements compare with.
add_executable(lumatone_probe ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/probe.cpp)
target_compile_definitions(lumatone_probe PRIVATE NOMINMAX)
target_link_libraries(lumatone_probe PRIVATE lumatone_core user32 gdi32 shell32 psapi
                      lumatone_warnings)
target_link_options(lumatone_probe PRIVATE -static)
add_executable(lumatone_minimal WIN32 ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/minimal.cpp)
target_link_libraries(lumatone_minimal PRIVATE user32 lumatone_warnings)
target_link_options(lumatone_minimal PRIVATE -static -mwindows -s)

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)

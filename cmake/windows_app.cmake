# lumatone.exe (win32app/), the helpers of its end-to-end tests and its release ZIP.
enable_language(RC)
add_subdirectory(${LUMATONE_ROOT}/win32app ${CMAKE_BINARY_DIR}/win32app)

# A probe that reads the program's windows as automation tools do, and the
# minimal Win32 program the measurements compare with.
add_executable(lumatone_probe ${LUMATONE_ROOT}/tests/e2e/probe.cpp)
target_compile_definitions(lumatone_probe PRIVATE NOMINMAX)
target_link_libraries(lumatone_probe PRIVATE lumatone_display user32 gdi32 shell32 psapi
                      lumatone_warnings)
target_link_options(lumatone_probe PRIVATE -static)
add_executable(lumatone_minimal WIN32 ${LUMATONE_ROOT}/tests/e2e/minimal.cpp)
target_link_libraries(lumatone_minimal PRIVATE user32 lumatone_warnings)
target_link_options(lumatone_minimal PRIVATE -static -mwindows -s)

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)

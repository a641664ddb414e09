# The Windows backend: every platform service on the real API.
file(GLOB LUMATONE_WIN32_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/../platform/win32/*.cpp)
add_library(lumatone_win32 STATIC ${LUMATONE_WIN32_SOURCES})
target_link_libraries(lumatone_win32 PUBLIC lumatone_core user32 gdi32 shell32 winmm advapi32
                      PRIVATE lumatone_warnings)
target_compile_definitions(lumatone_win32 PRIVATE NOMINMAX)

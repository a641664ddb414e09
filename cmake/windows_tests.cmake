# The Windows backend's tests: cross-compiled, then discovered and run under
# Wine through CMAKE_CROSSCOMPILING_EMULATOR when ctest runs.
set(LUMATONE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
# The C compiler is needed only for GoogleTest's own CMake checks.
enable_language(C)
add_subdirectory(${LUMATONE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# A stand-in for the programs the backend starts: it writes down how it was started.
add_executable(lumatone_win32_standin ${LUMATONE_ROOT}/tests/win32/standin/standin.cpp)
target_link_libraries(lumatone_win32_standin PRIVATE lumatone_win32 lumatone_warnings)

file(GLOB LUMATONE_WIN32_TEST_SOURCES CONFIGURE_DEPENDS
     ${LUMATONE_ROOT}/tests/win32/*.cpp)
add_executable(lumatone_win32_tests ${LUMATONE_WIN32_TEST_SOURCES})
target_include_directories(lumatone_win32_tests PRIVATE ${LUMATONE_ROOT}/tests)
target_link_libraries(lumatone_win32_tests PRIVATE lumatone_win32 lumatone_display lumatone_settings gtest gtest_main
                                                   lumatone_warnings)
target_compile_definitions(lumatone_win32_tests PRIVATE NOMINMAX)
add_dependencies(lumatone_win32_tests lumatone_win32_standin)

# Suites named for where they run; test-wine.sh runs each label on its own
# desktop: the Xorg dummy display (default), Xvfb, and with PulseAudio stopped.
gtest_discover_tests(lumatone_win32_tests
    TEST_FILTER "-OnXvfb*:WithoutSound*"
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS wine TIMEOUT 120)
gtest_discover_tests(lumatone_win32_tests
    TEST_FILTER "OnXvfb*"
    TEST_PREFIX "xvfb."
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS wine-xvfb TIMEOUT 120)
gtest_discover_tests(lumatone_win32_tests
    TEST_FILTER "WithoutSound*"
    TEST_PREFIX "nosound."
    DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS wine-nosound TIMEOUT 120)

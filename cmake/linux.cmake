# The Linux backend: the non-window services on X11 (RandR, XInput 2, the
# screen saver), PulseAudio, a Wayland compositor's gamma control and the
# desktop portal's global shortcuts (D-Bus), and its tests. Left out when a
# library is missing.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
    pkg_check_modules(LUMATONE_LINUX_LIBS QUIET IMPORTED_TARGET x11 xrandr xi xscrnsaver libpulse
                      wayland-client dbus-1)
endif()
find_program(LUMATONE_WAYLAND_SCANNER wayland-scanner)
if(NOT LUMATONE_LINUX_LIBS_FOUND OR NOT LUMATONE_WAYLAND_SCANNER)
    message(STATUS "Linux backend left out: X11, Xrandr, Xi, Xss, libpulse, wayland-client, "
                   "libdbus-1 or wayland-scanner not found")
    return()
endif()
# The Wayland protocol's client code is C, as wayland-scanner writes it.
enable_language(C)

add_subdirectory(${LUMATONE_ROOT}/platform/linux ${CMAKE_BINARY_DIR}/platform/linux)

if(LUMATONE_BUILD_TESTS)
    file(GLOB LUMATONE_LINUX_TEST_SOURCES CONFIGURE_DEPENDS
         ${LUMATONE_ROOT}/tests/linux/*.cpp)
    add_executable(lumatone_linux_tests ${LUMATONE_LINUX_TEST_SOURCES})
    target_include_directories(lumatone_linux_tests PRIVATE ${LUMATONE_ROOT}/tests)
    target_link_libraries(lumatone_linux_tests PRIVATE lumatone_linux lumatone_audio lumatone_display
                                                       lumatone_settings PkgConfig::LUMATONE_LINUX_LIBS
                                                       GTest::gtest GTest::gtest_main
                                                       lumatone_warnings)
    # A compositor of the tests' own grants the gamma control that headless
    # outputs cannot: the protocol's server side, from the same description.
    pkg_check_modules(LUMATONE_WAYLAND_SERVER REQUIRED IMPORTED_TARGET wayland-server)
    set(protocol wlr-gamma-control-unstable-v1)
    set(generated ${CMAKE_BINARY_DIR}/tests/linux/protocols)
    file(MAKE_DIRECTORY ${generated})
    add_custom_command(OUTPUT ${generated}/${protocol}-server.h
                       COMMAND ${LUMATONE_WAYLAND_SCANNER} server-header
                               ${LUMATONE_ROOT}/platform/linux/protocols/${protocol}.xml
                               ${generated}/${protocol}-server.h
                       DEPENDS ${LUMATONE_ROOT}/platform/linux/protocols/${protocol}.xml VERBATIM)
    target_sources(lumatone_linux_tests PRIVATE ${generated}/${protocol}-server.h)
    target_include_directories(lumatone_linux_tests PRIVATE ${generated})
    target_link_libraries(lumatone_linux_tests PRIVATE PkgConfig::LUMATONE_WAYLAND_SERVER
                                                       lumatone_wayland_protocols)
    # Suites named for where they run: anywhere, on the test desktop (Xorg
    # dummy, tray, null sink; scripts/test-linux.sh), or with the sound
    # server stopped. Only the first run in the native suite.
    gtest_discover_tests(lumatone_linux_tests
        TEST_FILTER "-Desktop*:WithoutSound*"
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS linux)
    gtest_discover_tests(lumatone_linux_tests
        TEST_FILTER "Desktop*"
        TEST_PREFIX "desktop."
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS linux-desktop TIMEOUT 120)
    gtest_discover_tests(lumatone_linux_tests
        TEST_FILTER "WithoutSound*"
        TEST_PREFIX "nosound."
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS linux-nosound TIMEOUT 120)
endif()

if(LUMATONE_BUILD_BENCH)
    # Measured on a live desktop; bench/README.md says how.
    find_package(benchmark REQUIRED)
    add_executable(lumatone_linux_bench ${LUMATONE_ROOT}/bench/linux/linux_backend_bench.cpp
                                        ${LUMATONE_ROOT}/bench/allocation_count.cpp)
    target_include_directories(lumatone_linux_bench PRIVATE ${LUMATONE_ROOT}/bench)
    target_link_libraries(lumatone_linux_bench PRIVATE lumatone_linux lumatone_audio lumatone_display
                                                       benchmark::benchmark
                                                       lumatone_warnings)
endif()

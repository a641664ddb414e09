# lumatone (qtapp/), the helpers of its end-to-end tests and its Debian package.
add_subdirectory(${LUMATONE_ROOT}/qtapp ${CMAKE_BINARY_DIR}/qtapp)

# The end-to-end tests' reader of the screen's ramps, and the bare Qt program
# the footprint is measured against.
add_executable(lumatone_linux_probe ${LUMATONE_ROOT}/tests/e2e-linux/probe.cpp)
target_link_libraries(lumatone_linux_probe PRIVATE lumatone_display X11 Xrandr lumatone_warnings)
# A session manager (XSMP) that asks the program for a checkpoint or the end.
add_executable(lumatone_session_manager ${LUMATONE_ROOT}/tests/e2e-linux/session_manager.cpp)
target_link_libraries(lumatone_session_manager PRIVATE SM ICE lumatone_warnings)
add_executable(lumatone_bare_qt ${LUMATONE_ROOT}/tests/e2e-linux/bare.cpp)
target_link_libraries(lumatone_bare_qt PRIVATE Qt6::Widgets lumatone_warnings)

include(${CMAKE_CURRENT_LIST_DIR}/package_deb.cmake)

# lumatone: the Qt view and entry point over the core and the Linux services,
# with the helpers of its end-to-end tests and the Debian package.
set(LUMATONE_QTAPP ${CMAKE_CURRENT_LIST_DIR}/../qtapp)
file(GLOB LUMATONE_QT_SOURCES CONFIGURE_DEPENDS ${LUMATONE_QTAPP}/*.cpp)
add_executable(lumatone ${LUMATONE_QT_SOURCES} ${LUMATONE_QTAPP}/resources/lumatone.qrc)
set_target_properties(lumatone PROPERTIES AUTORCC ON)
target_link_libraries(lumatone PRIVATE view lumatone_linux lumatone_core Qt6::Widgets
                      lumatone_warnings)

# The end-to-end tests' reader of the screen's ramps, and the bare Qt program
# the footprint is measured against.
add_executable(lumatone_linux_probe ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e-linux/probe.cpp)
target_link_libraries(lumatone_linux_probe PRIVATE lumatone_core X11 Xrandr lumatone_warnings)
add_executable(lumatone_bare_qt ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e-linux/bare.cpp)
target_link_libraries(lumatone_bare_qt PRIVATE Qt6::Widgets lumatone_warnings)

include(${CMAKE_CURRENT_LIST_DIR}/package_deb.cmake)

# libFuzzer targets (clang): the settings reader and writer, and start-up from
# any settings file followed by shutdown, all on the simulator. Configure with
# the fuzz preset, which instruments the core and simulator for coverage.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "LUMATONE_BUILD_FUZZ needs clang: use the fuzz preset")
endif()
# The shared warning set names a GCC-only option.
target_compile_options(lumatone_warnings INTERFACE -Wno-unknown-warning-option)

foreach(target profile_read profile_write startup)
    add_executable(fuzz_${target} ${LUMATONE_ROOT}/tests/fuzz/${target}_fuzz.cpp)
    target_include_directories(fuzz_${target} PRIVATE ${LUMATONE_ROOT}/tests)
    target_link_libraries(fuzz_${target} PRIVATE lumatone_app lumatone_sim lumatone_warnings)
    target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
endforeach()

# Helpers shared by the program folders.

# A Windows GUI program: 32-bit PE, -mwindows, static runtime.
function(veldara_gui_program target output_name)
  add_executable(${target} WIN32 ${ARGN})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME "${output_name}")
  target_link_options(${target} PRIVATE -mwindows)
endfunction()

# A native GoogleTest executable registered with CTest.
function(veldara_unit_test target)
  if(VELDARA_CROSS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} veldara_fakes GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 30 PROPERTIES LABELS unit)
endfunction()

# A libFuzzer target, run by CTest for a bounded number of inputs.
function(veldara_fuzz_target target runs)
  if(VELDARA_CROSS OR NOT VELDARA_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} veldara_fakes)
  add_test(NAME ${target} COMMAND ${target} -runs=${runs} -seed=1 -max_len=4096)
  set_tests_properties(${target} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()

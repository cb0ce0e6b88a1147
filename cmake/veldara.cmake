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

# An HTML Help file compiled with chmcmd from sources in source_dir, placed in
# this folder of the build tree beside the program, and built with it. The
# compile times chmcmd writes into the file are cleared (reproducible builds).
#   veldara_help_file(program "Name.chm" project.hhp source_dir files...)
function(veldara_help_file program chm_name project source_dir)
  find_program(VELDARA_CHMCMD chmcmd REQUIRED)
  find_program(VELDARA_PYTHON python3 REQUIRED)
  set(sources "")
  foreach(file IN LISTS ARGN)
    list(APPEND sources ${source_dir}/${file})
  endforeach()
  set(work ${CMAKE_CURRENT_BINARY_DIR}/help)
  file(MAKE_DIRECTORY ${work})
  set(output "${CMAKE_CURRENT_BINARY_DIR}/${chm_name}")
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy ${sources} ${work}
    COMMAND ${VELDARA_CHMCMD} --verbosity 0 ${project}
    COMMAND ${VELDARA_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/chm_fixed_time.py "${work}/${chm_name}"
    COMMAND ${CMAKE_COMMAND} -E copy "${work}/${chm_name}" ${output}
    WORKING_DIRECTORY ${work}
    DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/scripts/chm_fixed_time.py
    COMMENT "Compiling ${chm_name}"
    VERBATIM)
  add_custom_target(${program}_help ALL DEPENDS ${output})
  add_dependencies(${program} ${program}_help)
endfunction()

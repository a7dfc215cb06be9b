# A GoogleTest program that runs under Wine through the cross-compiling emulator.
# One CTest test per program: every start of a Wine process costs time.
function(tandrel_wine_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
  tandrel_warnings(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  # Programs under Wine share the sound server and the display with the end-to-end tests.
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS wine RESOURCE_LOCK display)
endfunction()

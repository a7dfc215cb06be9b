include(${CMAKE_CURRENT_LIST_DIR}/GTestProgram.cmake)

# A GoogleTest program that runs under Wine through the cross-compiling emulator.
# One CTest test per program: every start of a Wine process costs time.
function(tandrel_wine_test name)
  tandrel_gtest_program(${name} ${ARGN})
  # Programs under Wine share the sound server and the display with the end-to-end tests.
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS wine RESOURCE_LOCK display)
endfunction()

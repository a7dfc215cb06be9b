include(${CMAKE_CURRENT_LIST_DIR}/GTestProgram.cmake)

# Native GoogleTest programs of the pure logic, built with the sanitizers.
function(tandrel_native_test name)
  tandrel_gtest_program(${name} ${ARGN})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS native)
endfunction()

# A libFuzzer target over one entry point; CTest gives it a bounded run from its seed corpus.
# FUZZ_SECONDS sets the length of that run (default 15 s per fuzzer).
set(FUZZ_SECONDS 15 CACHE STRING "Seconds of each bounded fuzz run in the tests")
function(tandrel_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  tandrel_warnings(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  set(work ${CMAKE_BINARY_DIR}/fuzz/${name}.corpus)
  file(MAKE_DIRECTORY ${work})
  set(seeds "")
  if(F_CORPUS)
    set(seeds ${F_CORPUS})
  endif()
  # Niced: a fuzzer takes a whole core, and the timing of the end-to-end tests beside it matters more.
  add_test(NAME ${name} COMMAND nice -n 15 $<TARGET_FILE:${name}> -max_total_time=${FUZZ_SECONDS} -timeout=5 -rss_limit_mb=2048
           -print_final_stats=0 ${work} ${seeds})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS fuzz)
endfunction()

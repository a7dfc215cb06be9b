# Strict warnings for our own targets; third-party code keeps its own flags.
function(tandrel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wcast-function-type -Wno-missing-field-initializers)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wshadow=local)
  else()
    target_compile_options(${target} PRIVATE -Wshadow)
  endif()
endfunction()

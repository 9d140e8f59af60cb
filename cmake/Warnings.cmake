function(tessaline_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers
    $<$<CXX_COMPILER_ID:GNU>:-Wno-stringop-overflow -Wno-stringop-truncation>)
endfunction()

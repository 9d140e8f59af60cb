# Warnings are kept at zero; CI builds with TESSALINE_WERROR=ON (tools/test.sh
# turns it on under CI=true), so that a new one fails the build there.
option(TESSALINE_WERROR "Treat compiler warnings as errors" OFF)

function(tessaline_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers
    $<$<CXX_COMPILER_ID:GNU>:-Wno-stringop-overflow -Wno-stringop-truncation>
    $<$<BOOL:${TESSALINE_WERROR}>:-Werror>)
endfunction()

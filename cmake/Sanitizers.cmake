# Sanitizer and fuzzing flags apply to every target of the build, so that
# the core library, the tests and the fuzz targets agree.
if(TESSALINE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined -gline-tables-only)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TESSALINE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TESSALINE_FUZZ needs clang (CXX=clang++)")
  endif()
  # Coverage instrumentation everywhere; only the fuzz targets link the
  # libFuzzer driver itself.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

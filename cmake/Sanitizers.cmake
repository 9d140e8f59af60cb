# Sanitizer and fuzzing flags apply to every target of the build, so that
# the core library, the tests and the fuzz targets agree.
if(TESSALINE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined -gline-tables-only)
  add_link_options(-fsanitize=address,undefined)
endif()
# ThreadSanitizer can't share a build with AddressSanitizer: a build of its
# own, for the suites of the code that runs work on threads (ctest -L threads).
if(TESSALINE_THREAD_SANITIZE)
  if(TESSALINE_SANITIZE)
    message(FATAL_ERROR "TESSALINE_THREAD_SANITIZE and TESSALINE_SANITIZE need builds of their own")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -gline-tables-only)
  add_link_options(-fsanitize=thread)
endif()
if(TESSALINE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TESSALINE_FUZZ needs clang (CXX=clang++)")
  endif()
  # Coverage instrumentation everywhere; only the fuzz targets link the
  # libFuzzer driver itself.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Run by ctest as it starts (a TEST_INCLUDE_FILES script the build writes
# for each suite): one test for each group of the suite's tests, read from
# the suite's --gtest_list_tests, so that a failure or a hang names its
# group and the other groups still run. Listing at ctest time, not at build
# time, keeps a sanitizer build from running its suites while it builds.
#
# Set by the including script: suite, program, labels, group_timeout,
# test_timeout, thread_groups (the groups that are labelled "threads" too).
if(NOT EXISTS "${program}")
  add_test("${suite}" "${program}")
  set_tests_properties("${suite}" PROPERTIES LABELS "${labels}")
  return()
endif()
execute_process(COMMAND "${program}" --gtest_list_tests
  OUTPUT_VARIABLE listing RESULT_VARIABLE status ERROR_QUIET TIMEOUT 300)
if(NOT status EQUAL 0)
  # Listing failed: the suite runs whole, and says why.
  add_test("${suite}" "${program}")
  set_tests_properties("${suite}" PROPERTIES LABELS "${labels}" TIMEOUT ${group_timeout})
  return()
endif()
# Parameter comments may hold anything, semicolons included.
string(REGEX REPLACE "#[^\n]*" "" listing "${listing}")
string(REPLACE ";" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ ]+)\\.[ ]*$")
    set(group "${CMAKE_MATCH_1}")
    set(group_labels ${labels})
    # ctest reads this without a project's policies: no IN_LIST here.
    list(FIND thread_groups "${group}" thread_group)
    if(thread_group GREATER -1)
      list(APPEND group_labels threads)
    endif()
    add_test("${suite}/${group}" "${program}" "--gtest_filter=${group}.*")
    set_tests_properties("${suite}/${group}" PROPERTIES
      LABELS "${group_labels}"
      TIMEOUT ${group_timeout}
      # The supervisor's exit code when every test it ran was skipped.
      SKIP_RETURN_CODE 77
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TESSALINE_TEST_TIMEOUT=${test_timeout}")
  endif()
endforeach()

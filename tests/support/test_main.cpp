#include <gtest/gtest.h>

#include "support/test_runner.h"
#include "tools/stand_ins/stand_in_hosts.h"

// Suites without an application object. Card documents made without the
// program find nobody to ask; tests that watch the questions install a
// host of their own.
int main(int argc, char** argv)
{
    return RunTestSuite(argc, argv, [](int, char**) {
        ScopedStandInCardDocumentHost documentHost;
        return RUN_ALL_TESTS();
    });
}

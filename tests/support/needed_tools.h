// The programs the tests compare against or read back with (ImageMagick,
// Ghostscript, poppler-utils, zbar...). tools/install-deps.sh installs them
// with TESSALINE_TEST_DEPS=1. Where the tests run for CI (CI=true) every
// one of them must be there: a check that would be skipped for a missing
// tool fails instead, so that nothing passes there without checking.
#pragma once

#include <string>

#include <gtest/gtest.h>

// Whether a missing tool fails the test (CI=true).
bool ToolsRequired();

// Whether the program is on the PATH. A missing one fails the running test
// where tools are required, and is noted in the log elsewhere.
bool HaveTool(const std::string& program);

// In place of GTEST_SKIP() for a missing tool: skips the test, or fails it
// where tools are required.
#define SKIP_FOR_MISSING_TOOL()                                                                            \
    return ::testing::internal::AssertHelper(ToolsRequired() ? ::testing::TestPartResult::kFatalFailure \
                                                             : ::testing::TestPartResult::kSkip,        \
                                             __FILE__, __LINE__, "a tool the test uses is missing") =   \
               ::testing::Message()

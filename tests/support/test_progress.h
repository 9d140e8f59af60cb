// What a suite's child process tells its supervisor as it goes, one line
// at a time on a pipe: the phase it is in outside any test (start, a test
// suite's set-up or tear-down, the global environments, exit), each test
// as it starts, its failures and skip reasons, and how it ended. Written
// straight to the pipe, so that what was said is there even when the child
// is stopped or crashes a moment later.
#pragma once

#include <string>

#include <gtest/gtest.h>

struct ProgressEvent {
    // 'P' phase, 'S' test started, 'F' failure, 'K' skip reason, 'E' test
    // ended.
    char kind = 0;
    std::string suite;
    std::string test;
    std::string phase;  // of 'P': one of the phase words below
    std::string text;   // the failure or the skip reason
    std::string result;  // of 'E': "passed", "failed" or "skipped"
    long milliseconds = 0;
};

// The phases outside any test: "start" (the program's own set-up),
// "environments" (the global environments' set-up), "suite-set-up" and
// "suite-tear-down" (of the suite named), "after-suite" (of the suite
// named), "environments-tear-down" and "exit" (the application's tear-down,
// static destructors).
std::string DescribePhase(const std::string& phase, const std::string& suite);

// Reads one line (without its newline); false for a line it can't read.
bool ParseProgressLine(const std::string& line, ProgressEvent* event);

class ProgressReport : public ::testing::EmptyTestEventListener {
public:
    explicit ProgressReport(int fd);

    // Says the phase the child is in now, outside any test.
    void Phase(const std::string& phase, const std::string& suite = std::string()) const;

    void OnEnvironmentsSetUpStart(const ::testing::UnitTest&) override;
    void OnTestSuiteStart(const ::testing::TestSuite& suite) override;
    void OnTestStart(const ::testing::TestInfo& test) override;
    void OnTestPartResult(const ::testing::TestPartResult& part) override;
    void OnTestEnd(const ::testing::TestInfo& test) override;
    void OnTestSuiteEnd(const ::testing::TestSuite& suite) override;
    void OnEnvironmentsTearDownStart(const ::testing::UnitTest&) override;
    void OnTestProgramEnd(const ::testing::UnitTest&) override;

private:
    void Say(const std::string& line) const;
    int fd_;
};

// The XML report of a supervised suite (--gtest_output=xml:PATH), in
// googletest's own form, written by the supervisor from what its children
// said: every test of every child, a test that was stopped or crashed its
// child as a failure, and a failure outside any test (a hang in a tear-down,
// a leak report at exit) as a failing entry named after where it happened,
// so that the counts agree with the exit code.
#pragma once

#include <string>
#include <vector>

struct TestOutcome {
    std::string suite;
    std::string name;
    std::string result;  // "passed", "failed" or "skipped"
    long milliseconds = 0;
    std::vector<std::string> failures;
    std::string skipReason;
};

// Where googletest would write the report for the --gtest_output value,
// or "" when it asks for none or not for XML.
std::string XmlReportPath(const std::string& output, const std::string& program);

// False when the file can't be written.
bool WriteXmlReport(const std::string& path, const std::vector<TestOutcome>& outcomes);

// The main of every suite.
//
// A suite runs in a folder of its own, made fresh for the run and removed
// after it: HOME, TMPDIR and the XDG folders point into it, so nothing an
// earlier run (or the person running it) left can change a result.
//
// With TESSALINE_TEST_TIMEOUT set (seconds; ctest sets it), the tests run
// in a child process the suite supervises:
// - Whatever has not moved on within that time is named and the child
//   stopped: a test, a test suite's set-up or tear-down, the global
//   environments, the program's start or exit. The tests after it run on
//   in a new child, in a fresh folder; a crash, or a test that ends the
//   program (exit(), whatever its code), is named the same way, and so is
//   an end of the program outside any test before the tests were done (a
//   suite's set-up or tear-down, the global environments), even with 0.
// - Every test the filter takes and no child ran (its suite's set-up
//   ended the program, say) fails by name.
// - A process a test left running on its own (setsid, a detached start)
//   ends with the test (support/descendants.h); every other one when the
//   child ends, so that what a suite's set-up starts for all its tests
//   lives on until then. All of them end when the supervisor is stopped
//   (Ctrl+C, SIGTERM), which then removes its folder too.
// - The XML report (--gtest_output=xml) holds every test of every child,
//   a stopped one as a failure (support/junit_report.h).
// - Under CI=true a test that skips without saying why fails.
// - When every test it ran was skipped, it exits with kEveryTestSkipped,
//   which ctest shows as skipped.
// Without it (a person running the suite, or a debugger) they run here.
//
// What runs the tests is the suite main's own body: the ground layers'
// suites run them as they are; the others first set up what their layers
// need (gui_test_main.cpp, test_main.cpp). No body runs them plainly.
#pragma once

constexpr int kEveryTestSkipped = 77;

using SuiteBody = int (*)(int argc, char** argv);

int RunTestSuite(int argc, char** argv, SuiteBody body);

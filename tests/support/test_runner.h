// The main of every suite.
//
// A suite runs in a folder of its own, made fresh for the run and removed
// after it: HOME, TMPDIR and the XDG folders point into it, so nothing an
// earlier run (or the person running it) left can change a result.
//
// With TESSALINE_TEST_TIMEOUT set (seconds; ctest sets it), the tests run
// in a child process the suite watches: a test that has not ended within
// that time is named, the child is stopped, and the tests after it run on
// in a new child; a test that crashes the child is named the same way.
// Without it (a person running the suite, or a debugger) they run here.
//
// What runs the tests is the suite main's own body: the ground layers'
// suites run them as they are; the others first set up what their layers
// need (gui_test_main.cpp, test_main.cpp). No body runs them plainly.
#pragma once

using SuiteBody = int (*)(int argc, char** argv);

int RunTestSuite(int argc, char** argv, SuiteBody body);

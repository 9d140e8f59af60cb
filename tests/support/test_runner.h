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
// Suites that use fonts, widgets or events run inside a QApplication on
// the offscreen platform, so they need no display, with a watchdog that
// closes a modal window nobody answers (support/modal_watchdog.h). Card
// documents made without the program find nobody to ask; tests that watch
// the questions install a host of their own, and the journeys the
// program's.
#pragma once

int RunTestSuite(int argc, char** argv, bool withApplication);

#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

#include "support/modal_answer.h"
#include "support/modal_watchdog.h"
#include "support/test_runner.h"
#include "tools/stand_ins/stand_in_hosts.h"

// Suites that use fonts, widgets or events run inside a QApplication on
// the offscreen platform, so they need no display, with a watchdog that
// closes a modal window nobody answers. Card documents made without the
// program find nobody to ask; tests that watch the questions install a
// host of their own, and the journeys the program's.
int main(int argc, char** argv)
{
    return RunTestSuite(argc, argv, [](int count, char** arguments) {
        ScopedStandInCardDocumentHost documentHost;
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        QApplication app(count, arguments);
        ModalWatchdog watchdog;
        const int result = RUN_ALL_TESTS();
        EndModalAnswers();
        return result;
    });
}

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

#include "tools/stand_ins/stand_in_hosts.h"

// Suites that use fonts, widgets or events run inside a QApplication on
// the offscreen platform, so they need no display. Card documents made
// without the program find nobody to ask; tests that watch the questions
// install a host of their own, and the journeys the program's.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ScopedStandInCardDocumentHost documentHost;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

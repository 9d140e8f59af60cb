#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

// Suites that use fonts, widgets or events run inside a QApplication on
// the offscreen platform, so they need no display.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// text-sheet writes the picture of laid-out text a reviewer looks at.

#include <gtest/gtest.h>

#include <QImage>

#include "support/shell.h"
#include "support/tool_sheet.h"

namespace {

TEST(TextSheetTool, WritesTheSheet)
{
    TempDir dir;
    QImage sheet;
    ASSERT_NO_FATAL_FAILURE(RunSheetCommand(dir, "text-sheet", &sheet));
    EXPECT_EQ(sheet.width(), 1240);
    // Text in black, the selection inverted to black, the ellipse's fill.
    int black = 0;
    int ellipse = 0;
    for (int y = 0; y < sheet.height(); y += 2) {
        for (int x = 0; x < sheet.width(); x += 2) {
            black += sheet.pixel(x, y) == qRgb(0, 0, 0);
            ellipse += sheet.pixel(x, y) == qRgb(200, 225, 250);
        }
    }
    EXPECT_GT(black, 5000);
    EXPECT_GT(ellipse, 1000);
    EXPECT_NE(Shell(dir, "\"$T\" text-sheet 2>/dev/null"), 0);
}

}  // namespace

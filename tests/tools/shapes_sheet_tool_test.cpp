// shapes-sheet writes the picture a reviewer looks at.

#include <gtest/gtest.h>

#include <string>

#include <QImage>

#include "support/shell.h"
#include "support/tool_sheet.h"

namespace {

TEST(ShapesSheetTool, WritesTheSheet)
{
    TempDir dir;
    QImage sheet;
    ASSERT_NO_FATAL_FAILURE(RunSheetCommand(dir, "shapes-sheet", &sheet));
    EXPECT_EQ(sheet.width(), 1320);
    // The shapes are drawn in the sheet's ink.
    int inked = 0;
    for (int y = 0; y < sheet.height(); y += 3)
        for (int x = 0; x < sheet.width(); x += 3)
            inked += sheet.pixel(x, y) == qRgb(20, 50, 140);
    EXPECT_GT(inked, 5000);
    EXPECT_NE(Shell(dir, "\"$T\" shapes-sheet 2>/dev/null"), 0);
}

}  // namespace

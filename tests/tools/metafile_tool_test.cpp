// metafile FILE OUT.png [MAXSIDE], on the generated metafile fixtures.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include <QImage>

#include "support/shell.h"

namespace {

TEST(MetafileTool, RendersWindowsAndEnhancedMetafilesAtTheirFrameSize)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "python3 '" TESSALINE_TEST_DATA_DIR "/metafile/make_fixtures.py' . 2>/dev/null"), 0);

    // Two inches square, at most 200 pixels a side.
    ASSERT_EQ(Shell(dir, "\"$T\" metafile wmf_shapes.wmf shapes.png 200 2>/dev/null"), 0);
    const QImage wmf(QString::fromStdString(dir.file("shapes.png")));
    ASSERT_EQ(wmf.size(), QSize(200, 200));
    EXPECT_EQ(wmf.pixel(50, 50) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(wmf.pixel(150, 50) & 0xFFFFFF, 0x00FF00u);

    // Under the limit: the frame in 1/720 inch (200 pixels of 96 dpi);
    // by default at most 1000 pixels a side.
    ASSERT_EQ(Shell(dir, "\"$T\" metafile shapes.emf emf.png 5000 2>/dev/null"), 0);
    const QImage emf(QString::fromStdString(dir.file("emf.png")));
    EXPECT_NEAR(emf.width(), 1500, 3);
    EXPECT_NEAR(emf.height(), 1500, 3);
    ASSERT_EQ(Shell(dir, "\"$T\" metafile shapes.emf small.png 2>/dev/null"), 0);
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("small.png"))).width(), 1000);

    EXPECT_EQ(Shell(dir, "\"$T\" metafile shapes.emf 2>/dev/null"), 1);
    EXPECT_EQ(Shell(dir, "\"$T\" metafile shapes.emf x.png 0 2>/dev/null"), 1);
    EXPECT_EQ(Shell(dir, "cp shapes.emf shapes.txt && \"$T\" metafile shapes.txt x.png 2>/dev/null"), 1);
    EXPECT_EQ(Shell(dir, "\"$T\" metafile wmf_shapes.wmf /nonexistent/x.png 2>/dev/null"), 1);
}

}  // namespace

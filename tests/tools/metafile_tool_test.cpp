// metafile FILE OUT.png [MAXSIDE], on the generated metafile fixtures.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <QImage>

#include "graphics/metafile_outcome.h"
#include "support/runaway_metafile.h"
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

    // A path of more points than a picture may keep: no picture, and why.
    const std::vector<uint8_t> runaway = RunawayMetafile(true, kMetafileMaxPathPoints / 3 + 1);
    WriteFileBytes(dir.file("runaway.emf"), std::string(runaway.begin(), runaway.end()));
    EXPECT_EQ(Shell(dir, "\"$T\" metafile runaway.emf runaway.png 2> err"), 1);
    EXPECT_NE(ReadFileBytes(dir.file("err")).find("runaway.emf could not be drawn: one of its shapes has more than "
                                                  "1048576 points."),
              std::string::npos)
        << ReadFileBytes(dir.file("err"));
    EXPECT_NE(Shell(dir, "test -e runaway.png"), 0);
}

}  // namespace

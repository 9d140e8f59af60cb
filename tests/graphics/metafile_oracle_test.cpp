// Metafiles written by a generator of their own (tests/data/metafile)
// played here and by the outside converters, which must agree.
#include <gtest/gtest.h>

#include <QDir>

#include "support/needed_tools.h"
#include "graphics/metafile.h"
#include "metafile_test_support.h"
#include "support/temp_dir.h"

namespace {

constexpr int kSize = 200;

QImage Ours(const std::string& path)
{
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    EnhMetafile mf = MetafileLoadByExtension(path.c_str());
    EXPECT_TRUE(mf) << path;
    if (mf) {
        auto dc = Dc::ForImage(&image);
        PlayMetafile(dc.get(), mf, IntRect{0, 0, kSize, kSize});
        DeleteEnhMetaFile(mf);
    }
    return image;
}

class MetafileOracle : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("python3"))
            SKIP_FOR_MISSING_TOOL() << "python3 missing";
        ASSERT_EQ(RunTool("python3", {TESSALINE_TEST_DATA_DIR "/metafile/make_fixtures.py",
                                      QString::fromStdString(dir_.path())}),
                  0);
    }
    TempDir dir_;
};

TEST_F(MetafileOracle, EnhancedFixturesPlayAsEmf2svgDrawsThem)
{
    if (!HaveTool("emf2svg-conv") || !HaveTool("rsvg-convert"))
        SKIP_FOR_MISSING_TOOL() << "emf2svg-conv or rsvg-convert missing";
    for (const char* name : {"shapes", "paths", "mapping", "world", "bitmaps", "clipping", "text", "pens"}) {
        const std::string emf = dir_.file(std::string(name) + ".emf");
        const std::string svg = dir_.file(std::string(name) + ".svg");
        ASSERT_EQ(RunTool("emf2svg-conv", {"-i", QString::fromStdString(emf), "-o", QString::fromStdString(svg)}), 0)
            << name;
        // The fixtures' bounds are the frame, from the origin.
        const QImage theirs = RenderSvg(svg, kSize, kSize, dir_.file(std::string(name) + ".png"));
        ASSERT_FALSE(theirs.isNull()) << name;
        const QImage ours = Ours(emf);
        // Antialiased edges and glyph shapes differ; each 16 x 16 cell's
        // colour must come close.
        EXPECT_LT(CellDifference(ours, theirs, 16), 40.0) << name;
    }
}

TEST_F(MetafileOracle, WindowsFixturesPlayAsWmf2svgDrawsThem)
{
    if (!HaveTool("wmf2svg") || !HaveTool("rsvg-convert"))
        SKIP_FOR_MISSING_TOOL() << "wmf2svg or rsvg-convert missing";
    for (const char* name : {"wmf_shapes", "wmf_polys"}) {
        const std::string wmf = dir_.file(std::string(name) + ".wmf");
        const std::string svg = dir_.file(std::string(name) + ".svg");
        ASSERT_EQ(RunTool("wmf2svg", {"-o", QString::fromStdString(svg), QString::fromStdString(wmf)}), 0) << name;
        const QImage theirs = RenderSvg(svg, kSize, kSize, dir_.file(std::string(name) + ".png"));
        ASSERT_FALSE(theirs.isNull()) << name;
        EXPECT_LT(CellDifference(Ours(wmf), theirs, 16), 40.0) << name;
    }
}

}  // namespace

// The content frames on the sample page, straight and turned: each cell
// shows what its frames promise, and the barcode reads back.
#include <gtest/gtest.h>

#include <QProcess>
#include <cstdlib>
#include <string>

#include "support/needed_tools.h"
#include "graphics/rotation.h"
#include "page_test_support.h"

namespace {

int32_t ContentCell(const char* name)
{
    const auto& content = ContentSampleCells();
    for (size_t i = 0; i < content.size(); ++i) {
        if (std::string(content[i].name) == name)
            return int32_t(ShapeSampleCells().size() + i);
    }
    ADD_FAILURE() << name;
    return 0;
}

class SampleContent : public PageTest, public ::testing::WithParamInterface<double> {
protected:
    void SetUp() override
    {
        Make(SamplePageSize(), 100);
        BuildSamplePage(*doc_, GetParam());
        PaintPlain();
    }
    // The colour at a point given from the cell's centre, turned with it.
    ColorRef InCell(int32_t i, int32_t dx, int32_t dy)
    {
        const IntRect cell = SampleCellRect(i);
        const IntPoint centre{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
        IntPoint p{centre.x + dx, centre.y + dy};
        RotatePoint(&p, 1, centre.x, centre.y, GetParam());
        return AtDoc(p.x, p.y);
    }
    // Pixels of the colour; with a tolerance, also those whose channels
    // are each within it (turned text is smoothed into its background).
    int CountInCell(int32_t i, ColorRef colour, int tolerance = 0)
    {
        const IntRect cell = SampleCellRect(i);
        auto near = [&](ColorRef c) {
            for (int shift : {0, 8, 16})
                if (std::abs(int((c >> shift) & 0xFF) - int((colour >> shift) & 0xFF)) > tolerance)
                    return false;
            return true;
        };
        int n = 0;
        for (int32_t y = cell.top; y < cell.bottom; ++y)
            for (int32_t x = cell.left; x < cell.right; ++x)
                n += near(AtDoc(x, y));
        return n;
    }
};

TEST_P(SampleContent, EveryContentFrameShowsWhatItHolds)
{
    // Text frames, straight and turned, show their lines.
    EXPECT_GT(CountInCell(ContentCell("text"), SampleColour(kSampleNavy), 64), 300);
    // Bars, the counter's name on yellow, the field's on cyan.
    EXPECT_GT(CountInCell(ContentCell("barcode"), kBlack), 1500);
    EXPECT_GT(CountInCell(ContentCell("counter and field barcodes"), SampleColour(kSampleYellow)), 200);
    EXPECT_GT(CountInCell(ContentCell("counter and field barcodes"), SampleColour(kSampleCyan)), 200);
    EXPECT_GT(CountInCell(ContentCell("Quick Card"), kBlack, 64), 400);
    EXPECT_GT(CountInCell(ContentCell("Quick Card block"), kBlack), 300);
    EXPECT_GT(CountInCell(ContentCell("power text"), kBlack), 1500);
    EXPECT_GT(CountInCell(ContentCell("picture frame"), kBlack), 600);
    EXPECT_GT(CountInCell(ContentCell("turned picture"), SampleColour(kSampleRed)), 1500);

    // Without a background the picture's white shows the green bar
    // beneath; with one it hides it.
    const int32_t pictures = ContentCell("see-through and opaque pictures");
    EXPECT_EQ(InCell(pictures, 0, -64), SampleColour(kSampleGreen));
    EXPECT_EQ(InCell(pictures, 0, 10), kWhite);
    EXPECT_GT(CountInCell(pictures, SampleColour(kSampleRed)), 3000);
}

TEST_P(SampleContent, TheBarcodeOnThePageReadsBack)
{
    if (GetParam() != 0 && GetParam() != 90)
        GTEST_SKIP() << "the decoder reads bars along the axes";
    QProcess probe;
    probe.start("zbarimg", {"--version"});
    if (!probe.waitForFinished(5000) || probe.exitCode() != 0)
        SKIP_FOR_MISSING_TOOL() << "zbarimg is not installed";
    // At three times the size, so that one module is three pixels also
    // where the turn truncates.
    Make(SamplePageSize(), 300);
    BuildSamplePage(*doc_, GetParam());
    PaintPlain();
    const IntRect cell = SampleCellRect(ContentCell("barcode"));
    const IntPoint a = doc_->SurfacePoint(IntPoint{cell.left, cell.top});
    const IntPoint b = doc_->SurfacePoint(IntPoint{cell.right, cell.bottom});
    const QImage part = doc_->Surface().copy(a.x, a.y, b.x - a.x, b.y - a.y);
    const std::string path = dir_.file("barcode-cell.png");
    ASSERT_TRUE(part.save(QString::fromStdString(path)));
    QProcess zbar;
    zbar.start("zbarimg", {"-q", "--raw", QString::fromStdString(path)});
    ASSERT_TRUE(zbar.waitForFinished(20000));
    // A UPC-A symbol reads in its EAN-13 form.
    EXPECT_EQ(QString::fromUtf8(zbar.readAllStandardOutput()).trimmed().toStdString(), "0036000291452");
}

INSTANTIATE_TEST_SUITE_P(Angles, SampleContent, ::testing::Values(0.0, 30.0, 90.0));

}  // namespace

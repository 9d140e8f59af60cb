// Which frames the current-page manager draws again after a change, the
// overlap list, the record refresh, output, and the sample page drawn at
// three angles.

#include <gtest/gtest.h>

#include <QImage>

#include "frames/frame_obj_text.h"
#include "graphics/rotation.h"
#include "page_test_support.h"
#include "support/shell.h"

namespace {

using PageRedraw = PageTest;

// With the immediate flag, a move under an opaque frame leaves it alone;
// see-through frames above are drawn again.
TEST_F(PageRedraw, MovesMarkTheFramesAboveByTheImmediateRule)
{
    FrameObj* moved = Add(kFrameRect, IntRect{50, 50, 150, 150}, kSampleRed, kSampleRed);
    FrameObj* opaque = Add(kFrameRect, IntRect{100, 100, 200, 200}, kSampleBlue, kSampleBlue);
    FrameObj* clear = Add(kFrameRect, IntRect{60, 60, 160, 160}, kSampleBlue, kNoBackground);
    FrameObj* far = Add(kFrameRect, IntRect{300, 200, 350, 250}, kSampleBlue, kSampleBlue);
    for (bool immediate : {true, false}) {
        doc_->immediateRedraw = immediate;
        PaintPlain();
        Manager().ResetFrameStates(kDrawNothing);
        moved->MoveBy(IntPoint{10, 0}, 0, 0);
        opaque->SetDrawState(kDrawNothing);
        Manager().RedrawCurrentPage(0, 1, 0);
        EXPECT_EQ(opaque->DrawState(), immediate ? kDrawNothing : kDrawNeeded);
        EXPECT_EQ(clear->DrawState(), kDrawNeeded);
        EXPECT_EQ(far->DrawState(), kDrawNothing);
        EXPECT_FALSE(moved->IsChanged());
        EXPECT_FALSE(doc_->invalidated.empty());
        EXPECT_TRUE(Manager().RedrawRequested());
    }
}

// A change in place, merged, is one area: the frames below an opaque frame
// are not drawn again. Unmerged, its old area is repainted beneath it.
TEST_F(PageRedraw, AChangeInPlaceMergesIntoOneArea)
{
    FrameObj* below = Add(kFrameRect, IntRect{50, 50, 150, 150}, kSampleRed, kSampleRed);
    FrameObj* top = Add(kFrameRect, IntRect{100, 100, 200, 200}, kSampleBlue, kSampleBlue);
    for (uint8_t merge : {1, 0}) {
        PaintPlain();
        Manager().ResetFrameStates(kDrawNothing);
        top->SetColour(kSampleGreen, 1);
        Manager().RedrawCurrentPage(0, 1, merge);
        EXPECT_EQ(below->DrawState(), merge ? kDrawNothing : kDrawNeeded);
    }
}

TEST_F(PageRedraw, AnImmediateRedrawPaintsAtOnceAndShowsHandlesOnce)
{
    FrameObj* f = Add(kFrameRect, IntRect{50, 50, 150, 150}, kSampleRed, kSampleRed);
    PaintPlain();
    f->SetSelected(1);
    f->MoveBy(IntPoint{100, 0}, 0, 0);
    Manager().RedrawCurrentPage(0, 0, 0);
    EXPECT_TRUE(Manager().OverlayEnabled());
    EXPECT_EQ(AtDoc(200, 100), SampleColour(kSampleRed));
    // The handles are there once (an even number of passes would take
    // them away).
    const IntPoint corner = doc_->SurfacePoint(IntPoint{150, 50});
    EXPECT_EQ(At(corner.x - 2, corner.y - 2), kBlack);
    EXPECT_EQ(f->DrawState(), kDrawDone);
}

TEST_F(PageRedraw, TheOverlapListStopsAt300)
{
    CurrPageMng& m = Manager();
    FrameObj* text = doc_->AddFrame(kFrameText, IntRect{0, 0, 100, 100});
    for (int i = 0; i < 301; ++i)
        doc_->AddFrame(kFrameRect, IntRect{i % 50, 10, i % 50 + 20, 30});
    doc_->AddFrame(kFrameRect, IntRect{200, 200, 220, 220});
    m.CollectOverlaps(text);
    EXPECT_EQ(CurrPageMng::GetOverlapCount(), 300);
    EXPECT_EQ(CurrPageMng::OverlapAt(0), m.FrameAt(1));
    EXPECT_EQ(CurrPageMng::OverlapAt(299), m.FrameAt(300));
    m.CollectOverlaps(nullptr);
    EXPECT_EQ(CurrPageMng::GetOverlapCount(), 0);
}

TEST_F(PageRedraw, ShowingAnotherRecordIsNoEdit)
{
    FrameObj* fed = doc_->AddFrame(kFrameText, IntRect{0, 0, 100, 100});
    FrameObj* plain = doc_->AddFrame(kFrameRect, IntRect{200, 0, 300, 100});
    fed->SetRecordFed(1);
    for (bool modified : {false, true}) {
        PaintPlain();
        Manager().ResetFrameStates(kDrawNothing);
        doc_->modified = modified;
        Manager().RefreshRecordFrames();
        EXPECT_EQ(doc_->modified, modified);
        EXPECT_EQ(fed->DrawState(), kDrawNeeded);
        EXPECT_EQ(plain->DrawState(), kDrawNothing);
    }
}

TEST_F(PageRedraw, TheBackdropPassDrawsOnlyTheBackdrop)
{
    FrameObj* backdrop = Add(kFrameRect, IntRect{0, 0, 400, 300}, kSampleLightGray, kSampleLightGray);
    backdrop->SetBackdrop(1);
    FrameObj* f = Add(kFrameRect, IntRect{50, 50, 150, 150}, kSampleRed, kSampleRed);
    f->SetSelected(1);
    doc_->Surface().fill(Qt::white);
    Manager().ResetFrameStates(kDrawNeeded);
    Manager().DrawAllFiltered(doc_->GetViewDC(), 1, 1);
    EXPECT_EQ(AtDoc(100, 100), kWhite);
    EXPECT_EQ(AtDoc(300, 200), SampleColour(kSampleLightGray));
    EXPECT_EQ(f->DrawState(), kDrawNeeded);
}

TEST_F(PageRedraw, ALineIsClippedOnlyByOpaqueFramesAboveIt)
{
    FrameObj* line = doc_->AddFrame(kFrameLine, IntRect{0, 150, 400, 150});
    FrameObj* opaque = Add(kFrameRect, IntRect{100, 100, 200, 200}, kSampleRed, kSampleRed);
    Add(kFrameRect, IntRect{250, 100, 300, 200}, kSampleRed, kNoBackground);
    Region visible;
    ASSERT_TRUE(Manager().VisibleRegionOf(line, &visible));
    EXPECT_TRUE(visible.contains(10, 10));
    EXPECT_FALSE(visible.contains(150, 150));
    EXPECT_TRUE(visible.contains(275, 150));
    EXPECT_TRUE(Manager().VisibleRegionOf(opaque, &visible));
    EXPECT_TRUE(visible.contains(150, 150));
    EXPECT_FALSE(Manager().VisibleRegionOf(nullptr, &visible));
}

TEST_F(PageRedraw, OutputShiftsThePageToTheOriginAtFullSize)
{
    Make(IntSize{400, 300}, 50);
    FrameObj* f = Add(kFrameRect, IntRect{100, 60, 200, 160}, kSampleRed, kSampleRed);
    f->SetSelected(1);
    Manager().BeginPageOutput(0, 1);
    EXPECT_EQ(f->ViewRect().right, 200);  // numerator and denominator 1
    QImage paper(400, 300, QImage::Format_RGB32);
    paper.fill(Qt::white);
    auto dc = Dc::ForImage(&paper);
    doc_->PushDrawTarget(dc.get(), 0);
    Manager().DrawAllFrames();
    doc_->PopDrawTarget();
    Manager().EndPageOutput(1);
    EXPECT_EQ(FromQColor(paper.pixelColor(150, 110)), SampleColour(kSampleRed));
    // No handles and no frame edge on paper.
    EXPECT_EQ(FromQColor(paper.pixelColor(98, 58)), kWhite);
    EXPECT_EQ(f->ViewRect().right, 100);
    EXPECT_FALSE(f->IsOutputShift());
}

// ---- the sample page ----

class SamplePage : public PageTest, public ::testing::WithParamInterface<double> {
protected:
    void SetUp() override
    {
        Make(SamplePageSize(), 100);
        BuildSamplePage(*doc_, GetParam());
        doc_->Paint();
    }
    // The colour at a point of cell i, given relative to the cell's centre
    // and turned with the page's frames.
    ColorRef InCell(int32_t i, int32_t dx, int32_t dy)
    {
        const IntRect cell = SampleCellRect(i);
        IntPoint p{(cell.left + cell.right) / 2 + dx, (cell.top + cell.bottom) / 2 + dy};
        IntPoint centre{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
        RotatePoint(&p, 1, centre.x, centre.y, GetParam());
        return AtDoc(p.x, p.y);
    }
    int CountInCell(int32_t i, ColorRef colour)
    {
        const IntRect cell = SampleCellRect(i);
        int n = 0;
        for (int32_t y = cell.top; y < cell.bottom; ++y)
            for (int32_t x = cell.left; x < cell.right; ++x)
                n += AtDoc(x, y) == colour;
        return n;
    }
};

TEST_P(SamplePage, EveryShapeShowsAsDescribed)
{
    // Plain frame and rounded rectangle: their colours at the centre.
    EXPECT_EQ(InCell(0, 0, 0), SampleColour(kSampleLightGray));
    EXPECT_EQ(InCell(2, 0, 0), SampleColour(kSampleBlue));
    // The rectangle: red cross-hatch on its yellow background.
    EXPECT_GT(CountInCell(1, SampleColour(kSampleRed)), 1000);
    EXPECT_GT(CountInCell(1, SampleColour(kSampleYellow)), 5000);
    // The see-through ellipse over the cyan rectangle: yellow AND cyan.
    EXPECT_EQ(InCell(3, 0, 0), SampleColour(kSampleYellow) & SampleColour(kSampleCyan));
    EXPECT_EQ(InCell(3, 55, 0), SampleColour(kSampleYellow));
    // The star's centre, and the hatched polygon over the green bar.
    EXPECT_EQ(InCell(4, 0, 0), SampleColour(kSampleOrange));
    EXPECT_GT(CountInCell(5, SampleColour(kSamplePurple) & SampleColour(kSampleGreen)), 50);
    EXPECT_GT(CountInCell(5, SampleColour(kSamplePurple)), 100);
    // Lines and arcs.
    EXPECT_GT(CountInCell(6, SampleColour(kSamplePurple)), 600);
    EXPECT_GT(CountInCell(6, SampleColour(kSampleNavy)), 150);
    EXPECT_GT(CountInCell(7, SampleColour(kSampleMagenta)), 600);
    // Opaque overlaps: the green ellipse lies over the red rectangle; the
    // white fill without background lets the blue show.
    EXPECT_EQ(InCell(9, 15, -5), SampleColour(kSampleGreen));
    EXPECT_EQ(InCell(9, -25, -25), SampleColour(kSampleRed));
    EXPECT_EQ(InCell(9, -5, 50), SampleColour(kSampleBlue));
    // The selected frames show black handles.
    EXPECT_GT(CountInCell(10, kBlack), 60);
}

TEST_P(SamplePage, QuarterTurnsKeepSizesExactly)
{
    const IntRect cell = SampleCellRect(0);
    FrameObj* plain = nullptr;
    for (int16_t i = 0; i < Manager().FrameCount(); ++i) {
        if (Manager().FrameAt(i)->GetType() == kFramePlain)
            plain = Manager().FrameAt(i);
    }
    ASSERT_NE(plain, nullptr);
    IntRect b;
    plain->GetBounds(&b, 0, kGeometryCurrent);
    const int32_t w = cell.right - cell.left - 60, h = cell.bottom - cell.top - 60;
    if (GetParam() == 90) {
        EXPECT_EQ(b.right - b.left, h);
        EXPECT_EQ(b.bottom - b.top, w);
    } else if (GetParam() == 0) {
        EXPECT_EQ(b.right - b.left, w);
    }
}

INSTANTIATE_TEST_SUITE_P(Angles, SamplePage, ::testing::Values(0.0, 30.0, 90.0));

TEST(PageSheetTool, WritesThePageAtTwoZooms)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "\"$T\" page-sheet page-100.png 2>/dev/null"), 0);
    ASSERT_EQ(Shell(dir, "\"$T\" page-sheet page-200.png --zoom 200 2>/dev/null"), 0);
    const QImage small(QString::fromStdString(dir.file("page-100.png")));
    const QImage large(QString::fromStdString(dir.file("page-200.png")));
    ASSERT_FALSE(small.isNull());
    ASSERT_FALSE(large.isNull());
    const IntSize page = SamplePageSize();
    EXPECT_EQ(small.width(), page.width + 48);
    EXPECT_EQ(large.width(), 2 * page.width + 48);
    EXPECT_NE(Shell(dir, "\"$T\" page-sheet 2>/dev/null"), 0);
    EXPECT_NE(Shell(dir, "\"$T\" page-sheet x.png --zoom 0 2>/dev/null"), 0);
}

}  // namespace

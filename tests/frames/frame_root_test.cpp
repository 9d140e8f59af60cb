// The root frame's geometry, interaction and drawing passes.

#include <gtest/gtest.h>

#include "frames/frame_obj_rect.h"
#include "frames/frame_view_services.h"
#include "graphics/fill_patterns.h"
#include "graphics/placement.h"
#include "graphics/rect_ops.h"
#include "page_test_support.h"

namespace {

using FramePasses = PageTest;

FrameGeometry Geometry(int32_t x, int32_t y, int16_t width, int16_t height, int16_t border, uint8_t sides)
{
    FrameGeometry g;
    g.x = x;
    g.y = y;
    g.width = width;
    g.height = height;
    g.lineWidth = border;
    g.lineStyle = 1;
    g.sides = sides;
    return g;
}

TEST_F(FramePasses, InnerRectangleLimitsTheBorderAndFollowsTheSides)
{
    FrameObj* f = doc_->AddFrame(kFrameRect, IntRect{});
    f->SetGeometry(Geometry(0, 0, 9, 40, 10, kAllSides));
    IntRect inner;
    f->GetInnerRect(&inner);
    // Twice 10 exceeds the width + 1, so the border counts as 4.
    EXPECT_EQ(inner.left, 4);
    EXPECT_EQ(inner.right, 5);
    EXPECT_EQ(inner.top, 4);
    EXPECT_EQ(inner.bottom, 36);

    f->SetGeometry(Geometry(0, 0, 50, 40, 3, kSideTop | kSideBottom));
    f->GetInnerRect(&inner);
    EXPECT_EQ(inner.left, 0);
    EXPECT_EQ(inner.right, 50);
    EXPECT_EQ(inner.top, 3);
    EXPECT_EQ(inner.bottom, 37);
}

TEST_F(FramePasses, HandleHitsReachFourPixelsUpAndLeftButThreeDownAndRight)
{
    FrameObj* f = doc_->AddFrame(kFrameRect, IntRect{100, 100, 200, 160});
    EXPECT_EQ(f->HitHandle(IntPoint{96, 96}), 1);
    EXPECT_EQ(f->HitHandle(IntPoint{103, 103}), 1);
    EXPECT_EQ(f->HitHandle(IntPoint{104, 100}), 0);
    EXPECT_EQ(f->HitHandle(IntPoint{200, 160}), 3);
    EXPECT_EQ(f->HitHandle(IntPoint{150, 96}), 5);

    // Grouped, locked or pinned frames take no handle hits of their own.
    f->AppendId(77);
    EXPECT_EQ(f->HitHandle(IntPoint{100, 100}), 0);
    f->RemoveLastId();
    f->SetLocked(1);
    EXPECT_EQ(f->HitHandle(IntPoint{100, 100}), 0);
    f->SetLocked(0);
    f->SetPinned(1);
    EXPECT_EQ(f->HitHandle(IntPoint{100, 100}), 0);
}

TEST_F(FramePasses, LockedAndPinnedFramesStayPut)
{
    FrameObj* f = doc_->AddFrame(kFrameRect, IntRect{100, 100, 200, 160});
    f->SetLocked(1);
    f->MoveBy(IntPoint{10, 5}, 0, 0);
    EXPECT_EQ(f->Geometry().x, 100);
    f->MoveBy(IntPoint{10, 5}, 0, 1);
    EXPECT_EQ(f->Geometry().x, 110);
    EXPECT_EQ(f->Attributes().locked, 1);

    IntPoint offset{500, 0};
    f->ClampMove(&offset, IntRect{0, 0, 400, 300}, 0, 0);
    EXPECT_EQ(offset.x, 0);
    offset = IntPoint{500, 0};
    f->ClampMove(&offset, IntRect{0, 0, 400, 300}, 0, 1);
    EXPECT_EQ(offset.x, 190);

    f->SetLocked(0);
    f->SetPinned(1);
    f->MoveBy(IntPoint{10, 5}, 0, 1);
    EXPECT_EQ(f->Geometry().x, 110);
    offset = IntPoint{500, 0};
    f->ClampMove(&offset, IntRect{0, 0, 400, 300}, 0, 0);
    EXPECT_EQ(offset.x, 190);
    EXPECT_EQ(f->CreateTracker(doc_.get(), 2), nullptr);
    f->RotateAbout(30, IntPoint{150, 130}, 0);
    EXPECT_EQ(f->Geometry().angle, 0.0f);
    f->ShiftForOutput(1, 0, 0, 0);
    f->RotateAbout(30, IntPoint{150, 130}, 0);
    EXPECT_EQ(f->Geometry().angle, 30.0f);
}

TEST_F(FramePasses, FitRotationFindsTheLargestTurnThatFitsAndAlwaysEnds)
{
    FrameObj* f = doc_->AddFrame(kFrameRect, IntRect{0, 0, 100, 10});
    const IntPoint centre{50, 5};
    FrameGeometry turned = f->Geometry();
    PlacementRotateAbout(&turned, 12, centre);
    IntRect limit;
    PlacementRotatedBounds(turned, &limit);

    double angle = 30;
    f->FitRotation(&angle, centre, limit, 0);
    EXPECT_EQ(angle, 12);
    angle = 30.9;
    f->FitRotation(&angle, centre, IntRect{-1000, -1000, 1000, 1000}, 0);
    EXPECT_EQ(angle, 30);
    angle = -12.7;
    f->FitRotation(&angle, centre, IntRect{-1000, -1000, 1000, 1000}, 0);
    EXPECT_EQ(angle, -12);

    // Already turned further than asked, in a limit nothing fits: the
    // search still runs toward 0 and stops there.
    f->RotateAbout(45, centre, 0);
    angle = 30;
    f->FitRotation(&angle, centre, IntRect{0, 0, 1, 1}, 0);
    EXPECT_EQ(angle, 0);
    angle = -30;
    f->FitRotation(&angle, centre, IntRect{0, 0, 1, 1}, 0);
    EXPECT_EQ(angle, 0);

    f->SetLocked(1);
    angle = 5;
    f->FitRotation(&angle, centre, IntRect{-1000, -1000, 1000, 1000}, 0);
    EXPECT_EQ(angle, 0);
}

TEST_F(FramePasses, TheSavedBlockIsTakenAtTheFirstChangeOnly)
{
    FrameObj* f = doc_->AddFrame(kFrameRect, IntRect{10, 10, 60, 60});
    Manager().ClearChanged();
    f->MoveBy(IntPoint{5, 0}, 0, 0);
    f->MoveBy(IntPoint{5, 0}, 0, 0);
    EXPECT_EQ(f->SavedBlock().geometry.x, 10);
    EXPECT_EQ(f->Geometry().x, 20);
    EXPECT_EQ(f->DrawState(), kDrawNeeded);
    // Undo swaps the blocks.
    f->ToggleSaved();
    EXPECT_EQ(f->Geometry().x, 10);
    EXPECT_EQ(f->SavedBlock().geometry.x, 20);
}

TEST_F(FramePasses, AutoSizeKeepsTheAnchoredEdgeAndTakesBackTheLastFit)
{
    FrameObj* f = doc_->AddFrame(kFrameRect, IntRect{100, 50, 200, 80});
    f->SetAutoSize(1);
    f->ApplyAutoSize(IntRect{0, 0, 59, 19});
    EXPECT_EQ(f->Geometry().x, 100);
    EXPECT_EQ(f->Geometry().width, 60);
    EXPECT_EQ(f->Geometry().height, 20);

    // A new anchor starts from the frame as it stands.
    f->SetAutoSizeAnchor(3);
    f->ApplyAutoSize(IntRect{0, 0, 59, 19});
    EXPECT_EQ(f->Geometry().x, 100);
    f->ApplyAutoSize(IntRect{0, 0, 79, 19});
    EXPECT_EQ(f->Geometry().x, 80);  // the right edge stays at 160
    EXPECT_EQ(f->Geometry().width, 80);
    f->ApplyAutoSize(IntRect{0, 0, 69, 19});
    EXPECT_EQ(f->Geometry().x, 90);

    f->SetAutoSizeAnchor(2);
    f->ApplyAutoSize(IntRect{0, 0, 29, 19});
    EXPECT_EQ(f->Geometry().x, 110);  // centred on 125
    EXPECT_EQ(f->Geometry().width, 30);
}

TEST_F(FramePasses, OutputShiftMovesTheFrameAndBack)
{
    FrameObj* f = doc_->AddFrame(kFrameRect, IntRect{100, 50, 200, 80});
    f->ShiftForOutput(1, 3, 40, 20);
    EXPECT_TRUE(f->IsOutputShift());
    EXPECT_EQ(f->Geometry().x, 60);
    EXPECT_EQ(f->ViewRect().top, 30);
    f->ShiftForOutput(0, 0, 40, 20);
    EXPECT_EQ(f->Geometry().x, 100);
    EXPECT_EQ(f->Geometry().y, 50);
}

// ---- drawing ----

TEST_F(FramePasses, AHollowBorderWithoutBackgroundDrawsNothing)
{
    FrameObj* f = Add(kFrameRect, IntRect{100, 100, 200, 160}, kSampleRed, kNoBackground, kSampleBlue, 4);
    f->SetPattern(kFillHollow, 1);
    f->SetPattern(kFillHollow, 0);
    PaintPlain();
    for (int32_t x = 96; x < 204; x += 2)
        for (int32_t y = 96; y < 164; y += 2)
            ASSERT_EQ(AtDoc(x, y), kWhite) << x << "," << y;
}

TEST_F(FramePasses, HandlesAreFourPixelSquaresThatADoubleDrawTakesAway)
{
    FrameObj* f = Add(kFrameRect, IntRect{100, 100, 200, 160}, kSampleWhite, kSampleWhite, kSampleWhite, 0);
    PaintPlain();
    const QImage before = doc_->Surface();
    f->SetSelected(1);
    f->DrawHandlesPass(doc_->GetViewDC(), 1);
    const IntPoint corner = doc_->SurfacePoint(IntPoint{100, 100});
    const IntPoint middle = doc_->SurfacePoint(IntPoint{150, 160});
    for (int dy = -2; dy < 2; ++dy) {
        for (int dx = -2; dx < 2; ++dx) {
            EXPECT_EQ(At(corner.x + dx, corner.y + dy), kBlack);
            EXPECT_EQ(At(middle.x + dx, middle.y + dy), kBlack);
        }
    }
    EXPECT_EQ(At(corner.x + 2, corner.y), kWhite);
    EXPECT_EQ(At(corner.x, corner.y - 3), kWhite);
    f->DrawHandlesPass(doc_->GetViewDC(), 1);
    EXPECT_EQ(doc_->Surface(), before);
}

TEST_F(FramePasses, WithoutBackgroundTheFillCombinesWithWhatLiesBeneath)
{
    Add(kFrameRect, IntRect{50, 50, 150, 150}, kSampleCyan, kSampleCyan, kSampleCyan, 0);
    Add(kFrameRect, IntRect{100, 50, 200, 150}, kSampleYellow, kNoBackground, kSampleYellow, 0);
    // White fill, no background: the blue rectangle shows through.
    Add(kFrameRect, IntRect{250, 50, 330, 150}, kSampleBlue, kSampleBlue, kSampleBlue, 0);
    Add(kFrameRect, IntRect{290, 50, 370, 150}, kSampleWhite, kNoBackground, kSampleWhite, 0);
    // The same with a white background covers it.
    Add(kFrameRect, IntRect{250, 200, 330, 280}, kSampleBlue, kSampleBlue, kSampleBlue, 0);
    Add(kFrameRect, IntRect{290, 200, 370, 280}, kSampleWhite, kSampleWhite, kSampleWhite, 0);
    PaintPlain();
    const ColorRef cyan = SampleColour(kSampleCyan), yellow = SampleColour(kSampleYellow);
    EXPECT_EQ(AtDoc(75, 100), cyan);
    EXPECT_EQ(AtDoc(125, 100), cyan & yellow);
    EXPECT_EQ(AtDoc(175, 100), yellow);
    EXPECT_EQ(AtDoc(310, 100), SampleColour(kSampleBlue));
    EXPECT_EQ(AtDoc(350, 100), kWhite);
    EXPECT_EQ(AtDoc(310, 240), kWhite);
}

TEST_F(FramePasses, ThinBordersAreThickenedAboveHalfSizeWhileGuidesShow)
{
    auto innerBorderPixel = [&](int32_t zoom, bool guides) {
        Make(IntSize{400, 300}, zoom);
        Add(kFrameRect, IntRect{100, 100, 300, 200}, kSampleWhite, kSampleWhite, kSampleNavy, 1);
        doc_->showGuides = guides;
        Manager().ClearChanged();
        doc_->Paint();
        const IntPoint edge = doc_->SurfacePoint(IntPoint{100, 150});
        return At(edge.x + 1, edge.y);
    };
    const ColorRef navy = SampleColour(kSampleNavy);
    EXPECT_EQ(innerBorderPixel(51, true), navy);
    EXPECT_EQ(innerBorderPixel(50, true), kWhite);
    EXPECT_EQ(innerBorderPixel(100, false), kWhite);
    EXPECT_EQ(innerBorderPixel(100, true), navy);
}

TEST_F(FramePasses, ALowerFrameRedrawnAloneDoesNotPaintOverAnOpaqueFrameAbove)
{
    FrameObj* lower = Add(kFrameRect, IntRect{50, 50, 200, 200}, kSampleRed, kSampleRed);
    Add(kFrameEllipse, IntRect{120, 120, 260, 260}, kSampleGreen, kSampleGreen);
    PaintPlain();
    EXPECT_EQ(AtDoc(170, 170), SampleColour(kSampleGreen));
    Manager().ResetFrameStates(kDrawNothing);
    lower->SetDrawState(kDrawNeeded);
    Manager().DrawAll(doc_->GetViewDC(), 1);
    EXPECT_EQ(AtDoc(170, 170), SampleColour(kSampleGreen));
    EXPECT_EQ(AtDoc(80, 80), SampleColour(kSampleRed));
    // Without the clip it would.
    lower->DrawClipped(doc_->GetViewDC(), 0);
    EXPECT_EQ(AtDoc(170, 170), SampleColour(kSampleRed));
}

TEST_F(FramePasses, GhostDrawingInvertsAndADoubleDrawRestores)
{
    FrameObj* f = Add(kFrameRect, IntRect{100, 100, 200, 160}, kSampleBlack, kSampleWhite, kSampleBlack, 2);
    PaintPlain();
    const QImage before = doc_->Surface();
    f->SetGhost(1);
    Dc* dc = doc_->GetViewDC();
    f->DrawFill(dc);
    dc->setRop2(R2_COPYPEN);
    EXPECT_NE(doc_->Surface(), before);
    EXPECT_EQ(AtDoc(150, 130), kWhite);  // black over black, inverted
    f->DrawFill(dc);
    dc->setRop2(R2_COPYPEN);
    EXPECT_EQ(doc_->Surface(), before);
}

TEST_F(FramePasses, TurnedFramesHitInsideTheirOutlineOnly)
{
    FrameObj* f = Add(kFrameRect, IntRect{100, 100, 300, 140}, kSampleRed, kSampleRed);
    f->RotateAbout(30, IntPoint{200, 120}, 0);
    f->Recompute(1);
    EXPECT_TRUE(f->HitTest(IntPoint{200, 120}));
    // A corner of the bounding box lies outside the turned outline.
    EXPECT_FALSE(f->HitTest(IntPoint{f->ViewRect().left + 2, f->ViewRect().top + 2}));
    f->SetSelectable(0);
    EXPECT_FALSE(f->HitTest(IntPoint{200, 120}));
}

TEST_F(FramePasses, ErasingTheEdgeOfABorderlessFrameRepaintsTheRingAroundIt)
{
    FrameObj* f = Add(kFrameRect, IntRect{100, 100, 200, 160}, kSampleRed, kSampleRed, kSampleBlack, 0);
    doc_->showGuides = false;
    doc_->Paint();
    f->DrawFrameEdge(doc_->GetViewDC(), 0, 1, 0);
    ASSERT_EQ(doc_->invalidated.size(), 1u);
    // Four beyond the corners, in device units.
    const IntPoint corner = doc_->SurfacePoint(IntPoint{100, 100});
    EXPECT_EQ(doc_->invalidated[0].left, corner.x - 4);
    EXPECT_EQ(doc_->invalidated[0].top, corner.y - 4);
    // Selected, the edge is drawn solid whatever the guides.
    f->DrawFrameEdge(doc_->GetViewDC(), 1, 0, 0);
    EXPECT_EQ(AtDoc(150, 100), kBlack);
    EXPECT_EQ(f->LastEdgeState(), 1);
}

TEST_F(FramePasses, TheDragOutlineIsARubberBand)
{
    FrameObj* f = Add(kFrameRect, IntRect{100, 100, 200, 160}, kSampleWhite, kSampleWhite, kSampleWhite, 0);
    PaintPlain();
    const QImage before = doc_->Surface();
    f->BeginDrag(0);
    f->MoveBy(IntPoint{30, 20}, 2, 0);
    EXPECT_EQ(f->Geometry().x, 100);
    Dc* dc = doc_->GetViewDC();
    dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    dc->selectBrush(Brush::Solid(kBlack));
    f->DrawDragOutline(dc);
    EXPECT_EQ(AtDoc(130, 140), kBlack);
    f->DrawDragOutline(dc);
    EXPECT_EQ(doc_->Surface(), before);
    f->EndDrag(1);
    EXPECT_EQ(f->Geometry().x, 130);
    EXPECT_EQ(f->Geometry().sides, kAllSides);
}

}  // namespace

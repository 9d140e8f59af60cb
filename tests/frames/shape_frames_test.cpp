// The shape frames: rounded rectangle, ellipse, star, line, arc and group,
// and the thinned outlines text wraps around.

#include <gtest/gtest.h>

#include <vector>

#include "frames/frame_obj_arc.h"
#include "frames/frame_obj_group.h"
#include "frames/frame_obj_line.h"
#include "frames/frame_obj_star.h"
#include "frames/frame_shape_outline.h"
#include "frames/wrap_point_list.h"
#include "platform/dc_recorder.h"
#include "page_test_support.h"

namespace {

using ShapeFrames = PageTest;

struct RoundRectRecorder : DcRecorder {
    void roundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t w, int32_t h) override
    {
        calls.push_back({l, t, r, b, w, h});
    }
    std::vector<std::vector<int32_t>> calls;
};

TEST_F(ShapeFrames, RoundedFillUsesHalfTheShorterInnerSideLessTheBorder)
{
    FrameObj* f = doc_->AddFrame(kFrameRoundRect, IntRect{0, 0, 44, 24});
    f->SetBorderWidth(2);
    RoundRectRecorder recorder;
    auto dc = Dc::ForRecording(&recorder);
    f->FillShape(dc.get(), 0);
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0], (std::vector<int32_t>{2, 2, 42, 22, 8, 8}));
}

TEST_F(ShapeFrames, ALineKeepsTheDirectionItWasDrawnIn)
{
    auto* line = static_cast<FrameObjLine*>(doc_->AddFrame(kFrameLine, IntRect{300, 120, 100, 40}));
    IntRect ends;
    line->GetEndPoints(&ends);
    EXPECT_EQ(ends.left, 300);
    EXPECT_EQ(ends.top, 120);
    EXPECT_EQ(ends.right, 100);
    EXPECT_EQ(ends.bottom, 40);
    IntPoint handle;
    line->GetHandlePoint(&handle, 1);
    EXPECT_EQ(handle.x, 300);
    EXPECT_EQ(handle.y, 120);
    line->GetHandlePoint(&handle, 2);
    EXPECT_EQ(handle.x, 100);
    EXPECT_EQ(line->Geometry().width, -200);

    // Length and direction through the geometry fields.
    line->SetGeometryField(2, 100);
    line->GetEndPoints(&ends);
    EXPECT_NEAR(ends.right, 300 - 93, 1);
    line->SetGeometryField(4, 90);
    line->GetEndPoints(&ends);
    EXPECT_EQ(ends.right, 300);
    EXPECT_EQ(ends.bottom, 20);
}

TEST_F(ShapeFrames, AThinLineIsHitTwoPixelsBesideIt)
{
    FrameObj* line = doc_->AddFrame(kFrameLine, IntRect{100, 100, 300, 100});
    line->SetBorderWidth(1);
    // A one-unit line is drawn along the row below its geometry (the top
    // edge of its band); the hit band lies two rows either side of that.
    for (int32_t y = 99; y <= 103; ++y)
        EXPECT_TRUE(line->HitTest(IntPoint{200, y})) << y;
    EXPECT_FALSE(line->HitTest(IntPoint{200, 98}));
    EXPECT_FALSE(line->HitTest(IntPoint{200, 104}));
    PaintPlain();
    EXPECT_EQ(AtDoc(200, 101), kBlack);
    EXPECT_EQ(AtDoc(200, 100), kWhite);
    EXPECT_EQ(AtDoc(200, 102), kWhite);
}

TEST_F(ShapeFrames, AnArcTakesItsQuarterFromTheDragDirection)
{
    // From (100, 10) down and to the left to (20, 90).
    FrameObj* arc = doc_->AddFrame(kFrameArc, IntRect{100, 10, 20, 90});
    const FrameGeometry& g = arc->Geometry();
    EXPECT_EQ(g.angle, 270.0f);
    EXPECT_EQ(g.length, 3.0f);
    EXPECT_EQ(g.x, 100);
    EXPECT_EQ(g.y, 10);
    EXPECT_EQ(g.width, 80);
    EXPECT_EQ(g.height, 80);

    FrameObj* wide = doc_->AddFrame(kFrameArc, IntRect{20, 200, 120, 250});
    EXPECT_EQ(wide->Geometry().angle, 0.0f);
    EXPECT_EQ(wide->Geometry().width, 100);
    wide->SetBorderWidth(1);
    // The band along the arc takes hits; its inside does not.
    EXPECT_TRUE(wide->HitTest(IntPoint{21, 249}));
    EXPECT_TRUE(wide->HitTest(IntPoint{119, 201}));
    EXPECT_FALSE(wide->HitTest(IntPoint{40, 210}));
}

TEST_F(ShapeFrames, LinesAndArcsKeepBorderAndFillAlike)
{
    for (int16_t type : {kFrameLine, kFrameArc}) {
        FrameObj* f = doc_->AddFrame(type, IntRect{10, 10, 90, 60});
        f->SetColour(kSampleRed, 1);
        EXPECT_EQ(f->Attributes().borderColour, kSampleRed);
        EXPECT_EQ(f->Attributes().fillColour, kSampleRed);
        f->SetTint(40, 0);
        EXPECT_EQ(f->Attributes().fillTint, 40);
        f->SetPattern(3, 1);
        EXPECT_EQ(f->Attributes().borderPattern, 3);
        f->SetColour(kSampleBlue, 2);
        EXPECT_EQ(f->Attributes().borderColour, kSampleRed);
    }
}

TEST_F(ShapeFrames, AGroupSpansItsMembersAndDrawsNoBody)
{
    FrameObj* a = Add(kFrameRect, IntRect{10, 20, 60, 50}, kSampleRed, kSampleRed);
    FrameObj* b = Add(kFrameRect, IntRect{40, 40, 120, 90}, kSampleRed, kSampleRed);
    Add(kFrameRect, IntRect{200, 200, 220, 220}, kSampleRed, kSampleRed);
    auto* group = static_cast<FrameObjGroup*>(doc_->AddFrame(kFrameGroup, IntRect{0, 0, 1, 1}));
    a->AppendId(group->FrameId());
    b->AppendId(group->FrameId());
    group->UpdateGroup();
    IntRect bounds;
    group->GetBounds(&bounds, 0, kGeometryCurrent);
    EXPECT_EQ(bounds.left, 10);
    EXPECT_EQ(bounds.top, 20);
    EXPECT_EQ(bounds.right, 120);
    EXPECT_EQ(bounds.bottom, 90);
    EXPECT_EQ(group->HitHandle(IntPoint{10, 20}), 0);

    PaintPlain();
    const QImage before = doc_->Surface();
    group->DrawClipped(doc_->GetViewDC(), 1);
    EXPECT_EQ(doc_->Surface(), before);
    // Selected, it shows its outline in NOT-XOR; a second pass takes it off.
    group->SetSelected(1);
    group->DrawHandlesPass(doc_->GetViewDC(), 1);
    EXPECT_NE(doc_->Surface(), before);
    group->DrawHandlesPass(doc_->GetViewDC(), 1);
    EXPECT_EQ(doc_->Surface(), before);
}

TEST_F(ShapeFrames, TurnedStarsStayInsideTheirFrame)
{
    for (double angle : {30.0, 90.0}) {
        Make(IntSize{400, 300}, 100);
        auto* star = static_cast<FrameObjStar*>(Add(kFrameStar, IntRect{100, 50, 300, 150}, kSampleOrange, kSampleOrange));
        star->SetStarParams(StarParams{5, 0, 0.5});
        star->RotateAbout(angle, IntPoint{200, 100}, 0);
        PaintPlain();
        EXPECT_EQ(AtDoc(200, 100), SampleColour(kSampleOrange)) << angle;
        EXPECT_TRUE(star->HitTest(IntPoint{200, 100}));
        // Every painted pixel lies within the turned frame's bounds.
        const IntRect b = star->ViewRect();
        const QImage& s = doc_->Surface();
        for (int y = 0; y < s.height(); ++y) {
            for (int x = 0; x < s.width(); ++x) {
                if (FromQColor(s.pixelColor(x, y)) != SampleColour(kSampleOrange))
                    continue;
                const int32_t vx = x - doc_->Margin(), vy = y - doc_->Margin();
                ASSERT_TRUE(vx >= b.left && vx <= b.right && vy >= b.top && vy <= b.bottom) << angle;
            }
        }
    }
}

TEST(ThinnedOutline, AHundredPointsBecomeTwentyPairs)
{
    std::vector<IntPoint> points;
    for (int i = 0; i < 100; ++i)
        points.push_back(IntPoint{i, 0});
    WrapPointList list;
    ASSERT_TRUE(AddThinnedOutline(points, &list, 600));
    ASSERT_EQ(list.Count(), 40);
    EXPECT_EQ(list.At(0).x, 99);
    EXPECT_EQ(list.At(1).x, 94);
    EXPECT_EQ(list.At(36).x, 9);
    EXPECT_EQ(list.At(37).x, 4);
    EXPECT_EQ(list.At(38).x, 4);
    EXPECT_EQ(list.At(39).x, 99);
}

TEST(ThinnedOutline, TheRoomAskedForIsWhatIsAdded)
{
    // 101 points take 42 entries, two more than twenty pairs.
    std::vector<IntPoint> points(101);
    WrapPointList list;
    for (int i = 0; i < 600 - 42; ++i)
        list.Add(IntPoint{});
    EXPECT_FALSE(AddThinnedOutline(points, &list, 600));
    EXPECT_EQ(list.Count(), 558);
    WrapPointList roomy;
    for (int i = 0; i < 600 - 43; ++i)
        roomy.Add(IntPoint{});
    EXPECT_TRUE(AddThinnedOutline(points, &roomy, 600));
    EXPECT_EQ(roomy.Count(), 599);
}

TEST_F(ShapeFrames, WrapOutlinesByKind)
{
    FrameObj* rect = doc_->AddFrame(kFrameRect, IntRect{100, 100, 200, 150});
    WrapPointList list;
    ASSERT_TRUE(rect->AddOutlinePoints(nullptr, &list, 600));
    ASSERT_EQ(list.Count(), 8);
    EXPECT_EQ(list.At(0).x, 97);  // the outline inset of 3
    EXPECT_EQ(list.At(0).y, 97);
    EXPECT_EQ(list.At(3).x, 203);
    EXPECT_EQ(list.At(3).y, 153);
    // No room below the limit: nothing is added.
    EXPECT_FALSE(rect->AddOutlinePoints(nullptr, &list, 16));
    EXPECT_EQ(list.Count(), 8);

    FrameObj* ellipse = doc_->AddFrame(kFrameEllipse, IntRect{100, 100, 300, 200});
    ellipse->SetOutline(2, 0);
    WrapPointList curve;
    ASSERT_TRUE(ellipse->AddOutlinePoints(nullptr, &curve, 600));
    EXPECT_GT(curve.Count(), 8);
    EXPECT_LE(curve.Count(), 48);
    for (int32_t i = 0; i < curve.Count(); ++i) {
        EXPECT_GE(curve.At(i).x, 99);
        EXPECT_LE(curve.At(i).x, 301);
    }
    FrameObj* line = doc_->AddFrame(kFrameLine, IntRect{100, 100, 300, 100});
    line->SetOutline(2, 3);
    WrapPointList band;
    ASSERT_TRUE(line->AddOutlinePoints(nullptr, &band, 600));
    EXPECT_EQ(band.Count(), 8);
}

}  // namespace

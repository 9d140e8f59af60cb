#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include <QImage>

#include "platform/dc.h"
#include "support/alert_capture.h"
#include "typography/glyph_layout.h"
#include "typography/glyph_render.h"
#include "typography/glyph_shape.h"
#include "typography/glyph_warp.h"

namespace {

FontSpec Arial(uint32_t em = 2048, uint32_t type = kFontTypeTrueType)
{
    FontSpec s;
    s.type = type;
    s.pitchAndFamily = 0x22;
    s.emSize = em;
    std::strcpy(s.faceName, "Arial");
    return s;
}

GlyphEffect Effect(const char* line1, const char* line2 = "", uint16_t shape = 1, uint16_t alignment = 1,
                   bool horizontal = true)
{
    GlyphEffect e;
    SetGlyphLine(e.line1, line1);
    SetGlyphLine(e.line2, line2);
    e.shape = shape;
    e.alignment = alignment;
    e.orientation = horizontal ? kGlyphHorizontal : 0;
    return e;
}

class GlyphLayout : public ::testing::Test {
protected:
    GlyphLayout() : image_(400, 200, QImage::Format_RGB32), dc_(Dc::ForImage(&image_))
    {
        EXPECT_FALSE(GetEffectLogFont(Arial(), &font_));
    }

    Region Layout(const GlyphEffect& e, const IntRect& r, double angle = 0, int32_t* error = nullptr)
    {
        return GlyphTextRegion(dc_.get(), e, font_, r, angle, error);
    }

    QImage image_;
    std::unique_ptr<Dc> dc_;
    LogFont font_;
};

TEST_F(GlyphLayout, EffectFontIsTakenAtItsDesignSize)
{
    LogFont f;
    EXPECT_FALSE(GetEffectLogFont(Arial(1000), &f));
    EXPECT_EQ(f.height, -1000);
    EXPECT_EQ(f.outPrecision, OUT_TT_ONLY_PRECIS);
    EXPECT_STREQ(f.faceName, "Arial");
    // A font without an em square (the document's default font has none)
    // or with one no font has is laid out at the usual 2048.
    for (uint32_t em : {0u, 5u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(GetEffectLogFont(Arial(em), &f));
        EXPECT_EQ(f.height, -2048);
    }
    EXPECT_TRUE(GetEffectLogFont(Arial(0, kFontTypeDevice), &f));
    EXPECT_TRUE(GetEffectLogFont(3, nullptr, &f));
}

TEST_F(GlyphLayout, OutlinesComeAsContoursOfLinesAndSplines)
{
    dc_->selectFont(font_);
    GlyphShape o;
    ASSERT_EQ(GlyphOutlineExtract(dc_.get(), 'O', &o), 0);
    ASSERT_EQ(o.contours.size(), 2u);  // outer and inner ring
    bool spline = false;
    for (const GlyphContour& c : o.contours)
        for (const GlyphSegment& s : c.segments)
            spline |= s.kind == kGlyphSegmentSpline && s.points.size() >= 2;
    EXPECT_TRUE(spline);
    EXPECT_GT(o.advance.x, 1000);
    EXPECT_LT(o.box[0].y, -1000);  // above the baseline, y down
    EXPECT_NEAR(o.box[2].y, 0, 40);

    GlyphShape space;
    ASSERT_EQ(GlyphOutlineExtract(dc_.get(), ' ', &space), 0);
    EXPECT_TRUE(space.contours.empty());
    EXPECT_GT(space.advance.x, 0);

    IntRect box;
    AlertCapture alerts;
    EXPECT_EQ(MeasureGlyphText(dc_.get(), "", true, &box), kGlyphErrorGeneral);
    EXPECT_EQ(alerts.beeps().size(), 1u);
    ASSERT_EQ(MeasureGlyphText(dc_.get(), "AB", true, &box), 0);
    IntRect vertical;
    ASSERT_EQ(MeasureGlyphText(dc_.get(), "AB", false, &vertical), 0);
    EXPECT_GT(box.right - box.left, vertical.right - vertical.left);
    EXPECT_LT(box.bottom - box.top, vertical.bottom - vertical.top);
}

// Each line is stretched to fill the frame less 6 units on every side.
TEST_F(GlyphLayout, TextFillsTheInsetFrame)
{
    for (const IntRect r : {IntRect{0, 0, 300, 120}, IntRect{30, 40, 130, 190}}) {
        const IntRect b = Layout(Effect("Hello"), r).bounds();
        EXPECT_NEAR(b.left, r.left + 6, 2);
        EXPECT_NEAR(b.right, r.right - 6, 2);
        EXPECT_NEAR(b.top, r.top + 6, 2);
        EXPECT_NEAR(b.bottom, r.bottom - 6, 2);
    }
}

TEST_F(GlyphLayout, AFrameOfTwelveUnitsOrLessFails)
{
    int32_t error = 0;
    EXPECT_TRUE(Layout(Effect("A"), IntRect{0, 0, 12, 100}, 0, &error).isEmpty());
    EXPECT_EQ(error, kGlyphErrorFrameTooSmall);
    EXPECT_TRUE(dc_->getPath().empty());
    EXPECT_FALSE(Layout(Effect("A"), IntRect{0, 0, 24, 24}, 0, &error).isEmpty());
    Layout(Effect("A"), IntRect{0, 0, 13, 13}, 0, &error);
    EXPECT_EQ(error, 0);
}

TEST_F(GlyphLayout, SpacesTakeRoomButDrawNothing)
{
    int32_t error = 1;
    EXPECT_TRUE(Layout(Effect("   "), IntRect{0, 0, 300, 100}, 0, &error).isEmpty());
    EXPECT_EQ(error, 0);
    // A leading space keeps the first letter off the left edge.
    const IntRect b = Layout(Effect(" I"), IntRect{0, 0, 300, 100}).bounds();
    EXPECT_GT(b.left, 100);
}

TEST_F(GlyphLayout, TwoLinesShareTheFrame)
{
    const IntRect r{0, 0, 300, 160};
    const Region both = Layout(Effect("WIDE LINE", "ab"), r);
    const Region top = Layout(Effect("WIDE LINE"), IntRect{0, 0, 300, 80});
    EXPECT_TRUE(both.intersects(IntRect{0, 90, 300, 150}));
    EXPECT_EQ(both.bounds().top, top.bounds().top);

    // Centred: the short line is padded at both ends before the stretch,
    // so it keeps to the middle instead of filling the width.
    Region second = Layout(Effect("WIDE LINE", "ab", 1, kGlyphAlignCenter), r);
    Region lower;
    lower.combine(second, Region::FromRect(IntRect{0, 80, 300, 160}), RGN_AND);
    const IntRect b = lower.bounds();
    EXPECT_GT(b.left, 80);
    EXPECT_LT(b.right, 220);
    // Justified pads nothing: the short line fills the width.
    second = Layout(Effect("WIDE LINE", "ab", 1, kGlyphAlignJustified), r);
    lower.combine(second, Region::FromRect(IntRect{0, 80, 300, 160}), RGN_AND);
    EXPECT_LT(lower.bounds().left, 20);
    EXPECT_GT(lower.bounds().right, 280);

    // Vertical text puts the lines side by side, characters stacked.
    const Region v = Layout(Effect("AB", "CD", 1, 1, false), IntRect{0, 0, 200, 300});
    EXPECT_TRUE(v.intersects(IntRect{10, 10, 90, 140}));
    EXPECT_TRUE(v.intersects(IntRect{110, 160, 190, 290}));
}

TEST_F(GlyphLayout, EveryShapeKeepsTheLineInsideTheInsetFrame)
{
    // "Envelope" has a descender, so the stretched line's baseline lies
    // above the box's bottom: heights must be bent from the bottom, or the
    // raised and rounded shapes push letters out over the frame's top.
    const IntRect r{0, 0, 300, 120};
    for (uint16_t shape = 1; shape <= 21; ++shape) {
        int32_t error = 1;
        const IntRect b = Layout(Effect("Envelope", "", shape), r, 0, &error).bounds();
        EXPECT_EQ(error, 0) << shape;
        EXPECT_GE(b.left, r.left + 5) << shape;
        EXPECT_LE(b.right, r.right - 5) << shape;
        EXPECT_GE(b.top, r.top + 5) << shape;
        EXPECT_LE(b.bottom, r.bottom - 5) << shape;
        EXPECT_GT(b.right - b.left, 200) << shape;
    }
    // Arc Up keeps the text to half its height, raised in the middle.
    const IntRect plain = Layout(Effect("Envelope"), r).bounds();
    const Region arc = Layout(Effect("Envelope", "", 4), r);
    EXPECT_LT(arc.bounds().bottom - arc.bounds().top, plain.bottom - plain.top);
    EXPECT_FALSE(arc.intersects(IntRect{140, 100, 160, 120}));
    // A shape number from a damaged record draws the line unbent.
    const IntRect unknown = Layout(Effect("Envelope", "", 22), r).bounds();
    EXPECT_EQ(unknown.top, plain.top);
    EXPECT_EQ(unknown.bottom, plain.bottom);
}

// Points beyond the ends of the line (a glyph hanging out of the box) must
// not turn into coordinates that are not numbers.
TEST(GlyphWarp, PointsOutsideTheBoxStayFinite)
{
    for (int32_t shape = 1; shape <= 21; ++shape) {
        for (bool horizontal : {true, false}) {
            GlyphShape g;
            g.contours.push_back(GlyphContour{{-500, -80}, {GlyphSegment{kGlyphSegmentLine, {{900, 40}, {-10, 5}}}}});
            g.advance = {50, 0};
            WarpGlyph(&g, GlyphBox{0, -100, 200, 20}, shape, horizontal, GlyphPoint{10, 0}, shape % 2, shape % 3);
            for (const GlyphPoint& p : g.contours[0].segments[0].points) {
                EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << shape;
            }
            EXPECT_TRUE(std::isfinite(g.advance.x) && std::isfinite(g.box[2].y));
        }
    }
    GlyphShape g;
    g.contours.push_back(GlyphContour{{1, 1}, {}});
    WarpGlyph(&g, GlyphBox{5, 5, 5, 5}, 11, true, GlyphPoint{}, false, false);
    EXPECT_TRUE(std::isfinite(g.contours[0].start.y));
}

// Mirrored lines stay in their rectangle: "L" has its stem on the right.
TEST_F(GlyphLayout, MirroredTextStaysInItsFrame)
{
    const IntRect r{20, 20, 220, 120};
    auto mirrored = [&](bool flipX, bool flipY) {
        EXPECT_TRUE(dc_->beginPath());
        EXPECT_EQ(DrawGlyphText(dc_.get(), Effect("L"), font_, r, IntPoint{r.left, r.top}, 0, flipX, flipY), 0);
        EXPECT_TRUE(dc_->endPath());
        return dc_->pathToRegion();
    };
    const Region plain = mirrored(false, false);
    const Region x = mirrored(true, false);
    const Region y = mirrored(false, true);
    for (const Region* m : {&x, &y}) {
        EXPECT_NEAR(m->bounds().left, plain.bounds().left, 2);
        EXPECT_NEAR(m->bounds().right, plain.bounds().right, 2);
        EXPECT_NEAR(m->bounds().top, plain.bounds().top, 2);
        EXPECT_NEAR(m->bounds().bottom, plain.bounds().bottom, 2);
    }
    EXPECT_TRUE(plain.contains(r.left + 10, r.top + 12));
    EXPECT_FALSE(plain.contains(r.right - 10, r.top + 12));
    EXPECT_TRUE(x.contains(r.right - 10, r.top + 12));
    EXPECT_FALSE(x.contains(r.left + 10, r.top + 12));
    EXPECT_TRUE(y.contains(r.right - 10, r.top + 10));  // the foot on top
}

TEST_F(GlyphLayout, TurningTurnsTheTextAboutTheFramesCorner)
{
    const IntRect r{100, 20, 300, 80};
    const IntRect flat = Layout(Effect("Turn"), r).bounds();
    // A quarter turn counter-clockwise on the screen puts the text above
    // the corner, reading upward.
    const IntRect up = Layout(Effect("Turn"), r, 90).bounds();
    EXPECT_NEAR(up.right - up.left, flat.bottom - flat.top, 3);
    EXPECT_NEAR(up.bottom - up.top, flat.right - flat.left, 3);
    EXPECT_LE(up.bottom, r.top);
    EXPECT_GE(up.left, r.left);
    // An angle from a damaged record draws the text unturned.
    EXPECT_EQ(Layout(Effect("Turn"), r, std::nan("")).bounds().left, flat.left);
}

}  // namespace

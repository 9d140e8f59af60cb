#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QImage>

#include "foundation/byte_order.h"
#include "graphics/hls.h"
#include "graphics/postscript.h"
#include "platform/dc.h"
#include "support/shell.h"
#include "support/temp_dir.h"
#include "typography/glyph_layout.h"
#include "typography/glyph_paint.h"
#include "typography/glyph_postscript.h"
#include "typography/glyph_render.h"
#include "typography/glyph_sources.h"

namespace {

constexpr ColorRef kRed = 0x0000FF;
constexpr ColorRef kBlue = 0xFF0000;
constexpr ColorRef kGreen = 0x00FF00;
constexpr ColorRef kGray = 0x808080;

// Colour indexes of the default table.
enum : int16_t { kWhiteIndex = 0, kRedIndex = 3, kBlueIndex = 6, kGreenIndex = 8, kGrayIndex = 13, kBlackIndex = 15 };

GlyphStyle Style(int16_t outline, int16_t fill, int16_t fillColor, int16_t blendColor, int16_t shadow,
                 int16_t shadowFill = kFillSolid)
{
    return GlyphStyle{outline, kBlackIndex, 100,  fill,        fillColor, 100, blendColor, 100,
                      shadow,  kShadowLowerRight, shadowFill, kGrayIndex, 100, kGreenIndex, 100};
}

class GlyphPaint : public ::testing::Test {
protected:
    GlyphPaint() : image_(320, 140, QImage::Format_RGB32)
    {
        image_.fill(Qt::white);
        dc_ = Dc::ForImage(&image_);
        FontSpec s;
        s.type = kFontTypeTrueType;
        s.emSize = 2048;
        std::strcpy(s.faceName, "Arial");
        GetEffectLogFont(s, &font_);
    }

    // Lays "IH" into the frame and paints it; returns the text region.
    Region Paint(const GlyphStyle& style, const IntRect& frame = IntRect{10, 10, 310, 130}, int32_t width = 1)
    {
        GlyphEffect e;
        SetGlyphLine(e.line1, "IH");
        e.shape = 1;
        e.orientation = kGlyphHorizontal;
        e.style = style;
        const Region text = GlyphTextRegion(dc_.get(), e, font_, frame, 0);
        EXPECT_EQ(DrawGlyphEffect(dc_.get(), text, style, frame, 0, width, tints_), 0);
        return text;
    }
    ColorRef At(int x, int y) const { return FromQColor(image_.pixelColor(x, y)); }
    // The colours of the region's pixels that lie at least `inset` inside it.
    std::vector<ColorRef> Inside(const Region& r, int inset = 0) const
    {
        std::vector<ColorRef> out;
        for (int y = 0; y < image_.height(); ++y)
            for (int x = 0; x < image_.width(); ++x)
                if (r.contains(x, y) && r.contains(x - inset, y) && r.contains(x + inset, y) &&
                    r.contains(x, y - inset) && r.contains(x, y + inset))
                    out.push_back(At(x, y));
        return out;
    }

    QImage image_;
    std::unique_ptr<Dc> dc_;
    LogFont font_;
    DefaultGlyphTints tints_;
};

TEST(GlyphColors, BlendAndTint)
{
    EXPECT_EQ(BlendColor(kRed, kBlue, 0, 7), kRed);
    EXPECT_EQ(BlendColor(kRed, kBlue, 19, 19), kBlue);
    EXPECT_EQ(BlendColor(kRed, kBlue, 19, 0), kRed);
    EXPECT_EQ(BlendColor(0, kRed, 19, 10), MakeRgb(134, 0, 0));
    EXPECT_EQ(BlendColor(kRed, 0, 20, 1), MakeRgb(243, 0, 0));

    DefaultGlyphTints t;
    EXPECT_EQ(t.Tint(kRedIndex, 100), kRed);
    EXPECT_EQ(t.Tint(kRedIndex, 0), kWhite);
    EXPECT_EQ(t.Tint(16, 100), kWhite);
    int16_t h = 0, l = 0, s = 0;
    RgbToHls(t.Tint(kWhiteIndex, 50), &h, &l, &s);
    EXPECT_EQ(l, 108);
    EXPECT_EQ(t.Tint(kWhiteIndex, 0), kBlack);
    EXPECT_EQ(t.Name(7), "Cyan");
    EXPECT_EQ(t.Name(-1), "");
}

TEST_F(GlyphPaint, SolidInteriorFillsExactlyTheText)
{
    const Region text = Paint(Style(kOutlineNone, kFillSolid, kRedIndex, 0, kShadowNone));
    for (ColorRef c : Inside(text))
        ASSERT_EQ(c, kRed);
    int outside = 0;
    for (int y = 0; y < image_.height(); ++y)
        for (int x = 0; x < image_.width(); ++x)
            if (!text.contains(x, y) && At(x, y) != kWhite)
                ++outside;
    EXPECT_EQ(outside, 0);
}

TEST_F(GlyphPaint, BlendsRunFromOneColourToTheOther)
{
    // The same colour at both ends is a solid fill.
    Region text = Paint(Style(kOutlineNone, kFillBlendAcross, kBlueIndex, kBlueIndex, kShadowNone));
    for (ColorRef c : Inside(text))
        ASSERT_EQ(c, kBlue);

    text = Paint(Style(kOutlineNone, kFillBlendAcross, kRedIndex, kBlueIndex, kShadowNone));
    const IntRect b = text.bounds();
    auto firstInRow = [&](int y, bool fromLeft) {
        for (int i = 0; i < image_.width(); ++i) {
            const int x = fromLeft ? i : image_.width() - 1 - i;
            if (text.contains(x, y))
                return At(x, y);
        }
        return kWhite;
    };
    const int mid = (b.top + b.bottom) / 2;
    EXPECT_EQ(firstInRow(mid, true), BlendColor(kRed, kBlue, 19, 0));
    EXPECT_EQ(firstInRow(mid, false), kBlue);

    // Double blends meet in the middle in the second colour.
    text = Paint(Style(kOutlineNone, kFillDoubleBlendDown, kRedIndex, kBlueIndex, kShadowNone));
    EXPECT_EQ(At(b.left + 20, 70), kBlue);  // the middle of the frame (10-130)
    EXPECT_EQ(At(b.left + 20, 20), BlendColor(kRed, kBlue, 19, 3));
}

TEST_F(GlyphPaint, OutlinesFrameTheTextInside)
{
    const Region text = Paint(Style(kOutlineThin, kFillSolid, kRedIndex, 0, kShadowNone));
    const IntRect b = text.bounds();
    const int mid = (b.top + b.bottom) / 2;
    int x = b.left;
    while (!text.contains(x, mid))
        ++x;
    EXPECT_EQ(At(x, mid), kBlack);
    EXPECT_EQ(At(x + 1, mid), kRed);
    EXPECT_EQ(At(x - 1, mid), kWhite);

    Paint(Style(kOutlineHilited, kFillSolid, kRedIndex, 0, kShadowNone), IntRect{10, 10, 310, 130}, 2);
    EXPECT_EQ(At(x, mid), kBlack);
    EXPECT_EQ(At(x + 1, mid), kBlack);
    EXPECT_EQ(At(x + 2, mid), kWhite);
    EXPECT_EQ(At(x + 4, mid), kRed);
}

TEST_F(GlyphPaint, ShadowsSitBehindTheText)
{
    // Drop shadow: a fiftieth of the shorter side (120 / 50 = 2) to the
    // lower right.
    const Region text = Paint(Style(kOutlineNone, kFillSolid, kRedIndex, 0, kShadowDrop));
    EXPECT_EQ(GlyphShadowStep(Style(1, 1, 0, 0, 2), IntRect{10, 10, 310, 130}).x, 2);
    Region shadow = text;
    shadow.offset(2, 2);
    Region visible;
    visible.combine(shadow, text, RGN_DIFF);
    ASSERT_FALSE(visible.isEmpty());
    for (ColorRef c : Inside(visible))
        ASSERT_EQ(c, kGray);

    // In a frame under 50 units the step is 0: the drop shadow lies under
    // the text and the block shadow is not drawn.
    for (int16_t kind : {kShadowDrop, kShadowBlock}) {
        image_.fill(Qt::white);
        const Region small = Paint(Style(kOutlineNone, kFillSolid, kRedIndex, 0, kind), IntRect{10, 10, 100, 49});
        for (int y = 0; y < image_.height(); ++y)
            for (int x = 0; x < image_.width(); ++x)
                ASSERT_EQ(At(x, y), small.contains(x, y) ? kRed : kWhite);
    }
}

TEST_F(GlyphPaint, BlockShadowFillsEveryStep)
{
    const Region text = Paint(Style(kOutlineNone, kFillSolid, kRedIndex, 0, kShadowBlock), IntRect{10, 10, 310, 210});
    // Step 4 (200 / 50): copies moved 1 to 4 units down and right.
    Region block;
    for (int k = 1; k <= 4; ++k) {
        Region copy = text;
        copy.offset(k, k);
        block.combine(block, copy, RGN_OR);
    }
    Region visible;
    visible.combine(block, text, RGN_DIFF);
    for (ColorRef c : Inside(visible))
        ASSERT_EQ(c, kGray);
    Region beyond = text;
    beyond.offset(5, 5);
    Region outside;
    outside.combine(beyond, block, RGN_DIFF);
    outside.combine(outside, text, RGN_DIFF);
    for (ColorRef c : Inside(outside))
        ASSERT_EQ(c, kWhite);
}

TEST_F(GlyphPaint, SilhouetteFillsTheWholeFrameAndNoMore)
{
    for (int16_t fill : {kFillSolid, kFillRadiant}) {
        image_.fill(Qt::white);
        Paint(Style(kOutlineNone, kFillSolid, kRedIndex, 0, kShadowSilhouette, fill), IntRect{10, 10, 200, 130});
        EXPECT_NE(At(12, 12), kWhite);      // a corner without text
        EXPECT_NE(At(198, 128), kWhite);
        EXPECT_EQ(At(5, 60), kWhite);       // beyond the frame
        EXPECT_EQ(At(220, 60), kWhite);
        EXPECT_EQ(At(100, 135), kWhite);
    }
}

TEST_F(GlyphPaint, PaintingKeepsToTheClipAndLeavesIt)
{
    dc_->intersectClipRect(0, 0, 150, 140);
    const Region before = dc_->clipRegion();
    Paint(Style(kOutlineThick, kFillRadiant, kRedIndex, kBlueIndex, kShadowSilhouette));
    EXPECT_TRUE(dc_->hasClip());
    EXPECT_TRUE(dc_->clipRegion() == before);
    for (int y = 0; y < image_.height(); ++y)
        for (int x = 150; x < image_.width(); ++x)
            ASSERT_EQ(At(x, y), kWhite);

    auto fresh = Dc::ForImage(&image_);
    EXPECT_FALSE(fresh->hasClip());
    FillGradient(fresh.get(), IntRect{0, 0, 50, 50}, kFillSolid, kGreen, kGreen, 30);
    EXPECT_FALSE(fresh->hasClip());
}

// ---- PostScript ----

class CapturingSink : public PassThroughSink {
public:
    int32_t Escape(const uint8_t* buffer, uint32_t size) override
    {
        if (int(escapes) == refuseAt)
            return 0;
        ++escapes;
        data.append(reinterpret_cast<const char*>(buffer) + 2, size - 2);
        return 1;
    }
    std::string data;
    int escapes = 0;
    int refuseAt = -1;
};

size_t Count(const std::string& s, const std::string& word)
{
    size_t n = 0;
    for (size_t at = s.find(word); at != std::string::npos; at = s.find(word, at + 1))
        ++n;
    return n;
}

class GlyphPostScript : public GlyphPaint {
protected:
    int32_t Write(CapturingSink* sink, const GlyphStyle& style, double angle = 0)
    {
        GlyphEffect e;
        SetGlyphLine(e.line1, "Ps");
        e.orientation = kGlyphHorizontal;
        e.style = style;
        const IntRect frame{0, 0, 300, 120};
        EXPECT_TRUE(dc_->beginPath());
        EXPECT_EQ(DrawGlyphText(dc_.get(), e, font_, frame, IntPoint{0, 0}, 0), 0);
        EXPECT_TRUE(dc_->endPath());
        return WriteGlyphEffectPostScript(dc_.get(), sink, e, IntPoint{100, 200}, frame, angle, 2, tints_);
    }
};

TEST_F(GlyphPostScript, EachLayerIsThePathClippedAndFilledOrStroked)
{
    CapturingSink sink;
    ASSERT_EQ(Write(&sink, Style(kOutlineHilited, kFillBlendAcross, kRedIndex, kBlueIndex, kShadowBlock), 12.5), 0);
    // One blank between words, whatever the writer put.
    std::string ps;
    for (char c : sink.data)
        if (c != ' ' || ps.empty() || ps.back() != ' ')
            ps += c;
    // Around everything, then 2 block layers (120 / 50), interior, outline.
    EXPECT_EQ(Count(ps, " gsave \n"), 5u);
    EXPECT_EQ(Count(ps, " grestore \n"), 5u);
    EXPECT_EQ(Count(ps, " clip "), 3u);
    EXPECT_EQ(Count(ps, " -12.5000 rotate "), 4u);
    EXPECT_EQ(Count(ps, " 100 200 translate "), 4u);
    EXPECT_NE(ps.find(" moveto "), std::string::npos);
    EXPECT_NE(ps.find(" rcurveto "), std::string::npos);
    EXPECT_NE(ps.find(" rlineto "), std::string::npos);
    EXPECT_NE(ps.find(" 1.000000 0.000000 0.000000 setrgbcolor "), std::string::npos);
    EXPECT_NE(ps.find(" 1.000000 1.000000 1.000000 setrgbcolor gsave 4 setlinewidth stroke grestore "),
              std::string::npos);
    EXPECT_NE(ps.find(" 2 setlinewidth stroke "), std::string::npos);
    EXPECT_EQ(ps.find(','), std::string::npos);
    EXPECT_TRUE(dc_->getPath().empty());
}

// Each point of a layer's path, its steps added up from its first, lands
// on the point of the outline it was written from (from the frame's
// corner), its curves' control points too.
TEST_F(GlyphPostScript, ThePathsStepsAddUpToTheOutlinesPoints)
{
    GlyphEffect e;
    SetGlyphLine(e.line1, "Sag");
    e.orientation = kGlyphHorizontal;
    e.style = Style(kOutlineNone, kFillSolid, kRedIndex, kRedIndex, kShadowNone);
    const IntRect frame{0, 0, 300, 120};
    ASSERT_TRUE(dc_->beginPath());
    ASSERT_EQ(DrawGlyphText(dc_.get(), e, font_, frame, IntPoint{0, 0}, 0), 0);
    ASSERT_TRUE(dc_->endPath());
    const std::vector<PathPoint> outline = dc_->getPath();
    CapturingSink sink;
    ASSERT_EQ(WriteGlyphEffectPostScript(dc_.get(), &sink, e, IntPoint{100, 200}, frame, 0, 2, tints_), 0);
    std::vector<IntPoint> written;
    std::vector<int64_t> numbers;
    int64_t cx = 0, cy = 0;
    std::istringstream words(sink.data.substr(sink.data.find(" newpath ") + 9));
    for (std::string w; words >> w && w != "closepath";) {
        if (w.find_first_not_of("-0123456789") == std::string::npos) {
            numbers.push_back(std::stoll(w));
            continue;
        }
        const bool relative = w[0] == 'r';
        ASSERT_EQ(numbers.size(), w.find("curveto") != std::string::npos ? 6u : 2u) << w;
        for (size_t k = 0; k < numbers.size(); k += 2)
            written.push_back(
                {int32_t(numbers[k] + (relative ? cx : 0)), int32_t(numbers[k + 1] + (relative ? cy : 0))});
        cx = written.back().x;
        cy = written.back().y;
        numbers.clear();
    }
    ASSERT_EQ(written.size(), outline.size());
    IntPoint corner{0, 0};
    dc_->lpToDp(&corner, 1);
    for (size_t i = 0; i < written.size(); ++i) {
        IntPoint p = outline[i].point;
        dc_->lpToDp(&p, 1);
        ASSERT_EQ(written[i].x, p.x - corner.x) << i;
        ASSERT_EQ(written[i].y, p.y - corner.y) << i;
    }
}

TEST_F(GlyphPostScript, FailuresAreReported)
{
    CapturingSink sink;
    EXPECT_EQ(WriteGlyphEffectPostScript(dc_.get(), &sink, GlyphEffect{}, IntPoint{}, IntRect{0, 0, 9, 9}, 0, 1,
                                         tints_),
              kGlyphErrorGeneral);
    EXPECT_EQ(sink.escapes, 0);
    sink.refuseAt = 0;
    EXPECT_EQ(Write(&sink, Style(kOutlineThin, kFillSolid, 1, 1, kShadowNone)), kGlyphErrorGsave);
    CapturingSink later;
    later.refuseAt = 2;  // the interior layer's path
    EXPECT_EQ(Write(&later, Style(kOutlineThin, kFillSolid, 1, 1, kShadowNone)), kGlyphErrorGeneral);
}

TEST_F(GlyphPostScript, GhostscriptRunsTheEffects)
{
    CapturingSink sink;
    ASSERT_EQ(PsSendCStr(&sink, "%!PS-Adobe-3.0\n0 792 translate 1 -1 scale\n"), 0);
    ASSERT_EQ(Write(&sink, Style(kOutlineThick, kFillRadiant, kRedIndex, kBlueIndex, kShadowSilhouette,
                                 kFillDoubleBlendAcross),
                    -30),
              0);
    ASSERT_EQ(Write(&sink, Style(kOutlineHilited, kFillDoubleBlendDown, kRedIndex, kBlueIndex, kShadowDrop)), 0);
    ASSERT_EQ(PsSendCStr(&sink, "showpage\n"), 0);
    TempDir dir;
    std::ofstream(dir.file("job.ps"), std::ios::binary) << sink.data;
    const std::string command =
        "gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=nullpage '" + dir.file("job.ps") + "' 2>&1";
    bool ran = false;
    const std::string output = CommandOutput(command, &ran);
    EXPECT_TRUE(ran) << output;
    EXPECT_EQ(output, "");
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>

#include "graphics/beep.h"
#include "graphics/brush_state.h"
#include "graphics/clip_and_regions.h"
#include "graphics/colour_codes.h"
#include "graphics/fill_patterns.h"
#include "graphics/font_spec.h"
#include "graphics/font_state.h"
#include "graphics/pen_state.h"
#include "graphics/rop_state.h"
#include "graphics/text_wrappers.h"
#include "shapes_test_support.h"
#include "support/alert_capture.h"

namespace {

TEST(PenState, EndsWithThePenItFoundAndNarrowsTheCopy)
{
    ShapeCanvas c;
    const Pen initial{PS_DASH, 3, MakeRgb(200, 0, 0)};
    c.dc->selectPen(initial);
    {
        PenState pen(c.dc.get());
    }
    EXPECT_EQ(c.dc->pen(), initial);
    {
        PenState pen(c.dc.get());
        EXPECT_EQ(c.dc->pen(), (Pen{PS_DASH, 1, MakeRgb(200, 0, 0)}));
        pen.SetPen(kWhite, 5, PenState::kSetColour | PenState::kSetWidth);
        EXPECT_EQ(c.dc->pen(), (Pen{PS_SOLID, 5, kWhite}));
        pen.SetWidth(7, 7);
        EXPECT_EQ(c.dc->pen().width, 7);
        pen.SetPen(kBlack, 0, PenState::kNullPen);
        EXPECT_EQ(c.dc->pen().style, PS_NULL);
        EXPECT_EQ(c.dc->pen().color, kWhite);
    }
    EXPECT_EQ(c.dc->pen(), initial);
}

TEST(FontState, SetsHeightAngleFaceAndStyleAndPutsThemBack)
{
    ShapeCanvas c;
    LogFont initial;
    initial.height = -20;
    std::strcpy(initial.faceName, "Arial");
    c.dc->selectFont(initial);
    c.dc->setTextColor(MakeRgb(1, 2, 3));
    {
        FontState font(c.dc.get());
        EXPECT_EQ(font.GetSavedHeight(), 20);
        font.SetHeightAndAngle(12, 45.9);
        EXPECT_EQ(c.dc->font().escapement, 450);
        EXPECT_EQ(c.dc->font().orientation, 450);
        EXPECT_EQ(c.dc->font().height, -12);

        FontSpec record;
        record.type = kFontTypeTrueType;
        record.charSet = 2;
        record.pitchAndFamily = 0x12;
        std::strcpy(record.faceName, "Liberation Serif");
        font.SetFaceHeightStyle(&record, 30, kFontStyleBold | kFontStyleUnderline);
        const LogFont& f = c.dc->font();
        EXPECT_STREQ(f.faceName, "Liberation Serif");
        EXPECT_EQ(f.outPrecision, OUT_TT_ONLY_PRECIS);
        EXPECT_TRUE(f.charSet == 2 && f.pitchAndFamily == 0x12 && f.height == -30 && f.width == 0);
        EXPECT_TRUE(f.weight == FW_BOLD && f.underline == 1 && f.italic == 0);
        EXPECT_EQ(f.escapement, 450);  // untouched by this mask

        record.type = kFontTypeDevice;
        font.SetFont(&record, 0, 0, MakeRgb(9, 9, 9), 0, kFontSetFace | kFontSetStyle | kFontSetColour);
        EXPECT_EQ(c.dc->font().outPrecision, OUT_DEVICE_PRECIS);
        EXPECT_EQ(c.dc->font().weight, FW_NORMAL);
        EXPECT_EQ(c.dc->textColor(), MakeRgb(9, 9, 9));
        // The colour is set even when no face is given.
        font.SetFont(nullptr, 0, 0, MakeRgb(7, 7, 7), 0, kFontSetColour | kFontSetFace);
        EXPECT_EQ(c.dc->textColor(), MakeRgb(7, 7, 7));
        EXPECT_STREQ(c.dc->font().faceName, "Liberation Serif");
    }
    EXPECT_EQ(c.dc->font(), initial);
    EXPECT_EQ(c.dc->textColor(), MakeRgb(1, 2, 3));
}

TEST(FontSpec, StoredFieldByFieldIn44Bytes)
{
    FontSpec record;
    record.type = kFontTypeTrueType;
    record.charSet = 0xEE;
    record.pitchAndFamily = 0x22;
    record.emSize = 2048;
    std::strcpy(record.faceName, "Arial");
    uint8_t bytes[kFontSpecSize];
    std::memset(bytes, 0xAB, sizeof(bytes));
    PutFontSpec(bytes, record);
    EXPECT_EQ(GetU32LE(bytes), 4u);
    EXPECT_TRUE(bytes[4] == 0xEE && bytes[5] == 0x22 && bytes[6] == 0 && bytes[7] == 0);
    EXPECT_EQ(GetU32LE(bytes + 8), 2048u);
    EXPECT_EQ(std::memcmp(bytes + 12, "Arial\0\0\0", 8), 0);
    EXPECT_EQ(bytes[43], 0);
    EXPECT_EQ(GetFontSpec(bytes), record);
    // A name filling the whole field still ends inside the record.
    std::memset(bytes + 12, 'x', 32);
    EXPECT_EQ(std::strlen(GetFontSpec(bytes).faceName), 31u);
}

// Ten 8 x 8 one-bit bitmaps; bitmap i has pixel (i % 8, 0) set.
class FakePatternTable : public PatternTable {
public:
    FakePatternTable()
    {
        for (int i = 0; i < 10; ++i) {
            QImage b(8, 8, QImage::Format_Mono);
            b.fill(0);
            b.setPixel(i % 8, 0, 1);
            bitmaps_.push_back(b);
        }
    }
    int16_t GetPatternBitmapCount() const override { return int16_t(bitmaps_.size()); }
    const QImage* GetPatternBitmap(int32_t i) const override
    {
        return i >= 0 && i < int32_t(bitmaps_.size()) ? &bitmaps_[size_t(i)] : nullptr;
    }
    int32_t GetPatternScale() const override { return 1; }

private:
    std::vector<QImage> bitmaps_;
};

class FillPatterns : public ::testing::Test {
protected:
    void SetUp() override { SetPatternTable(&table_); }
    void TearDown() override
    {
        SetPatternTable(nullptr);
        SetUseHatchBrushes(false);
    }
    FakePatternTable table_;
};

TEST_F(FillPatterns, NumberingDependsOnTheHatchSwitch)
{
    SetUseHatchBrushes(true);
    EXPECT_EQ(GetFillPatternCount(), 18);
    std::optional<Brush> b = MakeFillPatternBrush(2, MakeRgb(5, 6, 7), kWhite);
    ASSERT_TRUE(b);
    EXPECT_TRUE(b->style == BS_HATCHED && b->hatch == HS_HORIZONTAL && b->color == MakeRgb(5, 6, 7));
    b = MakeFillPatternBrush(8, kBlack, kWhite);
    ASSERT_TRUE(b && b->mono);
    EXPECT_EQ(b->mono->rows[0], 0x80);

    SetUseHatchBrushes(false);
    EXPECT_EQ(GetFillPatternCount(), 12);
    b = MakeFillPatternBrush(2, kBlack, kWhite);
    ASSERT_TRUE(b && b->mono);
    EXPECT_EQ(b->mono->rows[0], 0x80);
    EXPECT_EQ(MakeFillPatternBrush(11, kBlack, kWhite)->mono->rows[0], 0x40);
    EXPECT_FALSE(MakeFillPatternBrush(12, kBlack, kWhite));
    EXPECT_FALSE(MakeFillPatternBrush(-1, kBlack, kWhite));
    EXPECT_EQ(MakeFillPatternBrush(0, MakeRgb(1, 1, 1), kWhite)->color, MakeRgb(1, 1, 1));
    EXPECT_EQ(MakeFillPatternBrush(1, kBlack, kWhite)->style, BS_NULL);

    SetPatternTable(nullptr);
    EXPECT_EQ(GetFillPatternCount(), 2);
    EXPECT_FALSE(MakeFillPatternBrush(2, kBlack, kWhite));
}

TEST_F(FillPatterns, ZoomedBitmapsTakeTheColoursTheyAreMadeWith)
{
    QImage big(16, 16, QImage::Format_Mono);
    big.fill(1);
    big.setPixel(3, 2, 0);
    const std::optional<Brush> b = BrushOfPatternBitmap(big, MakeRgb(10, 20, 30), MakeRgb(40, 50, 60));
    ASSERT_TRUE(b && b->image);
    EXPECT_EQ(FromQColor(b->image->pixelColor(3, 2)), MakeRgb(10, 20, 30));
    EXPECT_EQ(FromQColor(b->image->pixelColor(4, 2)), MakeRgb(40, 50, 60));

    // The same bitmap in the same colours is coloured once; other colours,
    // or the bitmap changed, make their own.
    EXPECT_EQ(BrushOfPatternBitmap(big, MakeRgb(10, 20, 30), MakeRgb(40, 50, 60))->image, b->image);
    const std::optional<Brush> other = BrushOfPatternBitmap(big, MakeRgb(10, 20, 30), MakeRgb(70, 80, 90));
    ASSERT_TRUE(other && other->image && other->image != b->image);
    EXPECT_EQ(FromQColor(other->image->pixelColor(4, 2)), MakeRgb(70, 80, 90));
    big.setPixel(4, 2, 0);
    const std::optional<Brush> changed = BrushOfPatternBitmap(big, MakeRgb(10, 20, 30), MakeRgb(40, 50, 60));
    ASSERT_TRUE(changed && changed->image);
    EXPECT_EQ(FromQColor(changed->image->pixelColor(4, 2)), MakeRgb(10, 20, 30));
    EXPECT_EQ(FromQColor(b->image->pixelColor(4, 2)), MakeRgb(40, 50, 60));
}

TEST_F(FillPatterns, BrushStateSelectsPatternsAndRestoresBrushAndColours)
{
    ShapeCanvas c(16, 16);
    const Brush initial = Brush::Solid(MakeRgb(1, 2, 3));
    c.dc->selectBrush(initial);
    c.dc->setTextColor(MakeRgb(4, 5, 6));
    c.dc->setBkColor(MakeRgb(7, 8, 9));
    {
        BrushState brush(c.dc.get());
        EXPECT_EQ(brush.Set(kShapeInk, kWhite, 0, BrushState::kSetText | BrushState::kSetBackground |
                                                   BrushState::kSparsePattern),
                  1);
        c.dc->fillRect(IntRect{0, 0, 16, 16}, c.dc->brush());
        EXPECT_EQ(c.row(0, 0, 8), "#...#...");
        EXPECT_EQ(c.row(1, 0, 8), "..#...#.");
        EXPECT_EQ(FromQColor(c.image.pixelColor(1, 0)), kWhite);

        brush.Set(MakeRgb(9, 9, 9), 0, kFillSolid, BrushState::kSetText);
        EXPECT_EQ(c.dc->brush().color, MakeRgb(9, 9, 9));
        EXPECT_EQ(c.dc->bkColor(), kWhite);
        // A pattern that does not exist leaves the brush as it was.
        EXPECT_EQ(brush.SetPattern(40), 0);
        EXPECT_EQ(brush.Set(0, 0, 40, 0), 1);
        EXPECT_EQ(c.dc->brush().color, MakeRgb(9, 9, 9));
        brush.Set(0, 0, 0, BrushState::kCheckerboardPattern);
        EXPECT_EQ(c.dc->brush().style, BS_PATTERN);
    }
    EXPECT_TRUE(c.dc->brush().style == BS_SOLID && c.dc->brush().color == initial.color);
    EXPECT_EQ(c.dc->textColor(), MakeRgb(4, 5, 6));
    EXPECT_EQ(c.dc->bkColor(), MakeRgb(7, 8, 9));
}

TEST(RopState, RestoresTheRasterOperation)
{
    ShapeCanvas c;
    {
        RopState rop(c.dc.get());
        rop.Set(R2_NOTXORPEN);
        EXPECT_EQ(c.dc->rop2(), R2_NOTXORPEN);
    }
    EXPECT_EQ(c.dc->rop2(), R2_COPYPEN);
}

TEST(Regions, ClipRectAndRegionVariables)
{
    ShapeCanvas c(40, 30);
    const IntRect clip{5, 5, 10, 10};
    SetClipRect(c.dc.get(), &clip);
    c.dc->fillRect(IntRect{0, 0, 40, 30}, Brush::Solid(kShapeInk));
    EXPECT_EQ(c.inkCount(), 25);
    SetClipRect(c.dc.get(), nullptr);
    EXPECT_FALSE(c.dc->hasClip());

    Region a = NewEmptyRegion();
    EXPECT_TRUE(a.isEmpty());
    RegionSetRect(&a, IntRect{0, 0, 10, 10});
    Region b;
    RegionSetRect(&b, IntRect{5, 0, 15, 10});
    Region u, x, copy;
    RegionUnion(a, b, &u);
    RegionXor(a, b, &x);
    RegionCopy(x, &copy);
    EXPECT_TRUE(u.contains(12, 5) && u.contains(2, 5));
    EXPECT_TRUE(copy.contains(2, 5) && !copy.contains(7, 5) && copy.contains(12, 5));
    RegionXor(x, b, &x);
    EXPECT_TRUE(x.contains(7, 5) && !x.contains(12, 5));
}

TEST(TextWrappers, MeasureAndDrawLeaveOutTheFinalReturn)
{
    ShapeCanvas c(200, 40);
    LogFont f;
    f.height = -16;
    std::strcpy(f.faceName, "Liberation Sans");
    c.dc->selectFont(f);
    const char text[] = "Wide\r";
    EXPECT_GT(MeasureText(text, 0, 4, c.dc.get()), 0);
    EXPECT_EQ(MeasureText(text, 0, 5, c.dc.get()), MeasureText(text, 0, 4, c.dc.get()));
    EXPECT_EQ(MeasureText(text, 4, 1, c.dc.get()), 0);
    EXPECT_EQ(MeasureChar(13, c.dc.get()), 0);
    EXPECT_GT(MeasureChar('W', c.dc.get()), MeasureChar('i', c.dc.get()));

    c.dc->setTextAlign(TA_BASELINE | TA_UPDATECP);
    c.dc->moveTo(10, 30);
    OutputText(text, 0, 5, c.dc.get());
    EXPECT_EQ(c.dc->currentPosition().x, 10 + MeasureText(text, 0, 4, c.dc.get()));
    OutputChar(13, c.dc.get());
    EXPECT_EQ(c.dc->currentPosition().x, 10 + MeasureText(text, 0, 4, c.dc.get()));

    SelectFontSize(24, c.dc.get());
    SelectFontStyle(kFontStyleItalic, c.dc.get());
    SelectFontFace("Liberation Serif", c.dc.get());
    EXPECT_TRUE(c.dc->font().height == -24 && c.dc->font().italic == 1 && c.dc->font().weight == FW_NORMAL);
    EXPECT_STREQ(c.dc->font().faceName, "Liberation Serif");
    int16_t m[4] = {};
    ReadFontMetrics(m, c.dc.get());
    EXPECT_TRUE(m[0] > m[1] && m[1] > 0 && m[2] > 0);
}

TEST(TextWrappers, LowerCasesTheCodePage)
{
    char text[] = "AB\xC4\xD6 z\x8A";
    LowerCaseBuffer(text, 6);
    EXPECT_STREQ(text, "ab\xE4\xF6 z\x8A");
    LowerCaseBuffer(text, 7);
    EXPECT_STREQ(text, "ab\xE4\xF6 z\x9A");
}

TEST(PlayBeep, MapsKindsToTheSystemSounds)
{
    AlertCapture capture;
    for (int kind : {1, 2, 3, 4, 16, 0})
        PlayBeep(kind);
    EXPECT_EQ(capture.beeps(), (std::vector<uint32_t>{0, 0x20, 0x30, 0x40, 0xFFFFFFFF, 0xFFFFFFFF}));
}

TEST(ColourCodes, KnownCodesAndBlackForTheRest)
{
    EXPECT_EQ(ColourOfCode(1), 0xFFFFFFu);
    EXPECT_EQ(ColourOfCode(2), 0x0000FFu);
    EXPECT_EQ(ColourOfCode(3), 0x00FF00u);
    EXPECT_EQ(ColourOfCode(4), 0xFF0000u);
    EXPECT_EQ(ColourOfCode(256), 0u);
    EXPECT_EQ(ColourOfCode(5), 0u);
}

}  // namespace

// What a card document puts in place for the engines that draw its frames:
// the glyph effects, the field texts of Quick Card pieces and the
// fill-pattern bitmaps, and its own colours and fonts.
#include <gtest/gtest.h>

#include <cstring>

#include "card_test_support.h"
#include "carddoc/engine_services.h"
#include "carddoc/fill_pattern_store.h"
#include "database/field_table.h"
#include "database/merge_text.h"
#include "frames/glyph_effect_renderer.h"
#include "frames/glyph_effect_services.h"
#include "graphics/field_text_provider.h"
#include "graphics/fill_patterns.h"
#include "typography/color_table.h"
#include "typography/font_table.h"

namespace {

using EngineServices = CardDocTest;

TEST_F(EngineServices, ACardDocumentPutsTheEngineServicesInPlace)
{
    auto doc = NewCardDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_NE(dynamic_cast<GlyphEffectServices*>(InstalledGlyphEffectRenderer()), nullptr);
    EXPECT_EQ(CurrentPatternTable(), PatternBitmapStore());
    EXPECT_EQ(GetPatternBitmapCount(), kPatternBitmapIdCount);

    FieldTextProvider* fields = InstalledFieldTextProvider();
    ASSERT_NE(fields, nullptr);
    // Without a database the preview texts answer; an empty one reads as
    // the field's name, in preview mode too (only a record's empty field
    // stays empty).
    char kept[256] = {};
    GetPreviewFieldText(2, false, kept);
    char text[256] = "Ada Lovelace";
    GetPreviewFieldText(2, true, text);
    EXPECT_EQ(fields->MergeFieldText(2, false), "Ada Lovelace");
    text[0] = 0;
    GetPreviewFieldText(2, true, text);
    char name[kFieldTypeNameSize] = {};
    FieldTypeName(2, name, true, false);
    EXPECT_EQ(fields->MergeFieldText(2, false), name);
    EXPECT_EQ(fields->MergeFieldText(2, true), name);
    GetPreviewFieldText(2, true, kept);
    FieldTypeName(2, name, true, true);
    EXPECT_EQ(fields->BracketedFieldName(2), name);
    EXPECT_EQ(name[0], '[');
}

TEST_F(EngineServices, TheTextEngineShowsFieldNamesExactlyWhileTheProgramSaysSo)
{
    auto doc = NewCardDocument();
    ASSERT_NE(doc, nullptr);
    TextHost& host = *doc;
    EXPECT_FALSE(host.ShowsFieldNames());
    // A template's preview is drawn with the names.
    const bool previous = SetShowFieldNames(true);
    EXPECT_TRUE(host.ShowsFieldNames());
    SetShowFieldNames(previous);
    EXPECT_FALSE(host.ShowsFieldNames());
}

TEST_F(EngineServices, FramesGetTheDocumentsOwnColoursAndFonts)
{
    auto doc = NewCardDocument();
    ASSERT_NE(doc, nullptr);
    doc->InitialUpdate();
    for (int index : {0, 5, 15}) {
        for (int shade : {0, 40, 100}) {
            ColorRef expected = 0;
            doc->Colours().GetTint(&expected, index, shade);
            EXPECT_EQ(doc->TintColour(int16_t(index), int16_t(shade)), expected);
            EXPECT_EQ(doc->GetTint(uint8_t(index), uint8_t(shade)), expected);
        }
    }
    // A changed colour reaches the frames at once.
    ColorRef before = doc->TintColour(5, 100);
    doc->Colours().SetColor(5, before ^ 0x00FFFFFF);
    EXPECT_EQ(doc->TintColour(5, 100), before ^ 0x00FFFFFF);

    FontSpec fromTable{}, fromDoc{};
    ASSERT_TRUE(doc->Fonts().Lookup(0, &fromTable));
    ASSERT_TRUE(doc->GetFontSpec(0, &fromDoc));
    EXPECT_STREQ(fromDoc.faceName, fromTable.faceName);
    EXPECT_FALSE(doc->GetFontSpec(999, &fromDoc));
}

// The store is the program's; each case leaves it loaded at screen scale.
// The drawing finds it through the table the card engine's services
// install, as the program does at its start (not left by an earlier test).
class PatternStore : public ::testing::Test {
protected:
    void SetUp() override { InstallCardEngineServices(); }
    void TearDown() override
    {
        SetUseHatchBrushes(false);
        ScalePatternBitmaps(1);
        LoadPatternBitmaps(kFirstPatternBitmapId, kPatternBitmapIdCount);
    }
};

TEST_F(PatternStore, PatternsAreEightByEightAndDistinct)
{
    ASSERT_TRUE(LoadPatternBitmaps(kFirstPatternBitmapId, kPatternBitmapIdCount));
    for (int32_t i = 0; i < kPatternBitmapIdCount; ++i) {
        const QImage* b = GetPatternBitmap(i);
        ASSERT_NE(b, nullptr) << i;
        EXPECT_EQ(b->size(), QSize(8, 8));
        EXPECT_EQ(b->depth(), 1);
        for (int32_t j = 0; j < i; ++j)
            EXPECT_NE(*b, *GetPatternBitmap(j)) << i << " " << j;
    }
    EXPECT_EQ(GetPatternBitmap(kPatternBitmapIdCount), nullptr);
    EXPECT_EQ(GetPatternBitmap(-1), nullptr);
    // Ids without a resource leave empty entries.
    ASSERT_TRUE(LoadPatternBitmaps(kFirstPatternBitmapId + 18, 4));
    EXPECT_EQ(GetPatternBitmapCount(), 4);
    EXPECT_NE(GetPatternBitmap(1), nullptr);
    EXPECT_EQ(GetPatternBitmap(2), nullptr);
    EXPECT_FALSE(LoadPatternBitmaps(kFirstPatternBitmapId, 0));
    FreePatternBitmaps();
    EXPECT_EQ(GetPatternBitmapCount(), 0);
    EXPECT_EQ(GetPatternBitmap(0), nullptr);
}

TEST_F(PatternStore, PrintingScalesToTheEvenFactorAndScreenScaleReturns)
{
    ASSERT_TRUE(LoadPatternBitmaps(kFirstPatternBitmapId, kPatternBitmapIdCount));
    const QImage original = *GetPatternBitmap(7);
    ScalePatternBitmaps(3);
    const QImage* scaled = GetPatternBitmap(7);
    ASSERT_NE(scaled, nullptr);
    ASSERT_EQ(scaled->size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(scaled->pixelIndex(x, y), original.pixelIndex(x / 2, y / 2)) << x << "," << y;
    // A one-bit copy still draws in the colours it is given.
    EXPECT_TRUE(MakeFillPatternBrush(GetFillPatternCount() - kPatternBitmapIdCount + 7, 0, 0xFFFFFF).has_value());
    // The hatches are blown up as far as the copies are, and no further.
    SetUseHatchBrushes(true);
    EXPECT_EQ(MakeFillPatternBrush(kFillFirstHatch, 0, 0xFFFFFF)->scale, 2);

    ScalePatternBitmaps(4);
    EXPECT_EQ(GetPatternBitmap(7)->size(), QSize(32, 32));
    ScalePatternBitmaps(1);
    EXPECT_EQ(*GetPatternBitmap(7), original);
    EXPECT_EQ(MakeFillPatternBrush(kFillFirstHatch, 0, 0xFFFFFF)->scale, 1);
    ScalePatternBitmaps(5);
    EXPECT_EQ(GetPatternBitmap(7)->size(), QSize(32, 32)) << "the copies of 4 serve 5";
    EXPECT_EQ(MakeFillPatternBrush(kFillFirstHatch, 0, 0xFFFFFF)->scale, 4);
}

}  // namespace

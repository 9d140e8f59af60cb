#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "graphics/field_text_provider.h"
#include "graphics/quick_card_draw.h"
#include "graphics/quick_card_test_support.h"
#include "graphics/quick_card_text.h"
#include "platform/dc_test_support.h"

namespace {

constexpr ColorRef kRed = MakeRgb(255, 0, 0);

// Field values by id, names "[F<id>]"; installed while it lives.
struct FakeFieldTexts : FieldTextProvider {
    FakeFieldTexts() { SetFieldTextProvider(this); }
    ~FakeFieldTexts() override { SetFieldTextProvider(nullptr); }
    std::string MergeFieldText(int32_t id, bool preview) override
    {
        lastPreview = preview;
        return values[id];
    }
    std::string BracketedFieldName(int32_t id) override { return "[F" + std::to_string(id) + "]"; }
    std::map<int32_t, std::string> values;
    bool lastPreview = false;
};

LogFont Face(int32_t height, uint16_t style = 0)
{
    LogFont f;
    std::strcpy(f.faceName, "Liberation Sans");
    f.height = -height;
    f.weight = style & 1 ? FW_BOLD : FW_NORMAL;
    return f;
}

// What the pieces measure in the pinned face: a text's width, or with a
// null text the line height (font height + ascent - descent).
int32_t Ruler(const char* text, int32_t height, uint16_t style = 0)
{
    std::unique_ptr<Dc> dc = Dc::ForMeasuring();
    dc->selectFont(Face(height, style));
    const TextMetrics tm = dc->getTextMetrics();
    return text ? dc->getTextExtent(text).width : tm.height + tm.ascent - tm.descent;
}

std::string PieceText(Handle item, int32_t useRecord, int32_t preview, int32_t max = kQuickCardPieceMaxText)
{
    char out[kQuickCardPieceMaxText + 1];
    QuickCardItemText(HandleData(item), useRecord, out, max, preview);
    return out;
}

TEST(QuickCardText, FieldValuesSitBetweenPrefixAndSuffixAndVanishWhenEmpty)
{
    HandleOwner tel(MakeItem({.field = 13, .text = "Tel. |"})), paren(MakeItem({.field = 13, .text = "(|) ext."}));
    HandleOwner noBar(MakeItem({.field = 13, .text = "Fax "})), fixed(MakeItem({.text = "a|b"}));
    FakeFieldTexts fields;
    EXPECT_EQ(PieceText(tel.get(), 1, 0), "");
    fields.values[13] = "555";
    EXPECT_EQ(PieceText(tel.get(), 1, 0), "Tel. 555");
    EXPECT_FALSE(fields.lastPreview);
    EXPECT_EQ(PieceText(paren.get(), 0, 1), "(555) ext.");
    EXPECT_TRUE(fields.lastPreview);
    EXPECT_EQ(PieceText(noBar.get(), 1, 0), "Fax 555");
    EXPECT_EQ(PieceText(fixed.get(), 1, 0), "a|b");
    EXPECT_EQ(PieceText(tel.get(), 0, 0), "Tel. [F13]");
    EXPECT_EQ(PieceText(tel.get(), 1, 0, 6), "Tel. 5");
    // A text without its terminator ends with the item.
    std::memset(HandleData(fixed.get()) + 48, 'z', HandleGetSize(fixed.get()) - 48);
    EXPECT_EQ(PieceText(fixed.get(), 1, 0), "zzzzzzz");
}

TEST(QuickCardMeasure, PiecesTakeTheirFontsGapsAndSpacesAtTheScale)
{
    HandleOwner block(MakeBlock({
        {.text = "Hello"},
        {.text = "World", .separator = 1},
        {.text = "Big", .newLine = true, .spaceAbove = 4, .fontSize = 30, .style = 1},
        {.text = "gap", .gap = 7, .fontSize = 10},
    }));
    auto dc = Dc::ForMeasuring();
    dc->selectFont(Face(20));
    int32_t w = 0, h = 0;
    ASSERT_EQ(QuickCardBlockMeasure(dc.get(), 1, 1.0, 1.0, block.get(), &w, &h, 0), 0);
    const int32_t hello = Ruler("Hello", 20) + Ruler(" ", 20) + Ruler("World", 20) + 2;
    EXPECT_EQ(w, std::max(hello, Ruler("Big", 30, 1) + 7 + Ruler("gap", 10) + 2));
    EXPECT_EQ(h, Ruler(nullptr, 20) + 4 + Ruler(nullptr, 30, 1));
    EXPECT_EQ(dc->font(), Face(20));
    // Gaps scale across, sizes and the space above down.
    ASSERT_EQ(QuickCardBlockMeasure(dc.get(), 1, 2.0, 3.0, block.get(), &w, &h, 0), 0);
    EXPECT_EQ(w, std::max(hello, Ruler("Big", 90, 1) + 14 + Ruler("gap", 30) + 2));
    EXPECT_EQ(h, Ruler(nullptr, 20) + 12 + Ruler(nullptr, 90, 1));
}

TEST(QuickCardMeasure, EmptyPiecesAndLinesTakeNoSpaceUnlessKept)
{
    FakeFieldTexts fields;
    auto dc = Dc::ForMeasuring();
    dc->selectFont(Face(20));
    const std::vector<PieceSpec> pieces = {
        {.text = "Name"},
        {.field = 5, .text = "Tel. |", .newLine = true, .gap = 30, .spaceAbove = 6},
        {.field = 6, .text = "|", .separator = 1},
        {.field = 7, .text = "x|y", .newLine = true, .gap = 5},
        {.text = "Town", .separator = 1},
    };
    auto measure = [&](uint8_t keepPieces, uint8_t keepLines) {
        HandleOwner block(MakeBlock(pieces, keepPieces, keepLines));
        int32_t w = 0, h = 0;
        QuickCardBlockMeasure(dc.get(), 1, 1.0, 1.0, block.get(), &w, &h, 0);
        return std::pair(w, h);
    };
    const int32_t space = Ruler(" ", 20), name = Ruler("Name", 20), town = Ruler("Town", 20), lh = Ruler(nullptr, 20);
    // No space before the first piece that shows on its line.
    EXPECT_EQ(measure(0, 0), std::pair(std::max(name, town) + 2, 2 * lh));
    EXPECT_EQ(measure(1, 1), std::pair(std::max({name, 30 + space, 5 + space + town}) + 2, 3 * lh + 6));
    EXPECT_EQ(measure(0, 1).second, 3 * lh + 6);
}

// The ink of the text colour between two rows, as a box.
QRect Ink(const DcCanvas& c, int y0, int y1)
{
    QRect box;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < c.image.width(); ++x)
            if (c.at(x, y) == kRed)
                box |= QRect(x, y, 1, 1);
    return box;
}

struct Drawing : DcCanvas {
    Drawing() : DcCanvas(300, 140)
    {
        dc->selectFont(Face(20));
        dc->setTextColor(kRed);
    }
    int32_t draw(Handle block, const IntRect& rect) { return QuickCardBlockDraw(dc.get(), rect, 1, 1.0, 1.0, block, 0); }
};

TEST(QuickCardDraw, LinesAreAlignedInTheRectangleAndStackedByTheirHeights)
{
    const int32_t lh = Ruler(nullptr, 20);
    HandleOwner block(MakeBlock({
        {.text = "Left"},
        {.text = "Right", .newLine = true, .align = 3},
        {.text = "Mid", .newLine = true, .align = 2},
    }));
    Drawing d;
    d.dc->setTextAlign(TA_UPDATECP);
    ASSERT_EQ(d.draw(block.get(), {10, 10, 290, 130}), 0);
    EXPECT_EQ(d.dc->font(), Face(20));
    EXPECT_EQ(d.dc->textAlign(), TA_UPDATECP);
    EXPECT_EQ(d.dc->bkMode(), OPAQUE);

    // Each line's glyphs lie within its own band below the rectangle's top.
    const QRect left = Ink(d, 0, 10 + lh), right = Ink(d, 10 + lh, 10 + 2 * lh);
    const QRect mid = Ink(d, 10 + 2 * lh, 140);
    EXPECT_GE(left.top(), 10);
    EXPECT_GE(left.left(), 12);
    EXPECT_LE(left.left(), 15);
    EXPECT_LE(right.right(), 289);
    EXPECT_GE(right.right(), 285);
    EXPECT_NEAR((mid.left() + mid.right()) / 2.0, 151, 3);
    EXPECT_LT(mid.bottom(), 10 + 3 * lh);
    // The third line starts 2 line heights down: not drawn with the bottom
    // there, drawn one unit lower.
    Drawing cut, more;
    cut.draw(block.get(), {10, 10, 290, 10 + 2 * lh});
    more.draw(block.get(), {10, 10, 290, 11 + 2 * lh});
    EXPECT_EQ(Ink(cut, 0, 10 + 2 * lh), Ink(d, 0, 10 + 2 * lh));
    EXPECT_TRUE(Ink(cut, 10 + 2 * lh, 140).isEmpty());
    EXPECT_EQ(more.image, d.image);
}

TEST(QuickCardDraw, ABlankLineLeavesNoGapAndDamageStopsTheBlock)
{
    FakeFieldTexts fields;
    HandleOwner withBlank(MakeBlock({
        {.text = "First"},
        {.field = 5, .text = "Tel. |", .newLine = true, .spaceAbove = 8},
        {.field = 6, .text = "|"},
        {.text = "Third", .newLine = true},
    }));
    HandleOwner without(MakeBlock({{.text = "First"}, {.text = "Third", .newLine = true}}));
    Drawing a, b;
    a.draw(withBlank.get(), {0, 0, 300, 140});
    b.draw(without.get(), {0, 0, 300, 140});
    EXPECT_EQ(a.image, b.image);

    // The line holding the damaged item is left out with all behind it.
    const int32_t lh = Ruler(nullptr, 20);
    PutU32LE(QuickCardBlockGetItem(withBlank.get(), 2), 9);
    Drawing c;
    EXPECT_EQ(c.draw(withBlank.get(), {0, 0, 300, 140}), 1);
    EXPECT_EQ(Ink(c, 0, 140), Ink(b, 0, lh));
    int32_t w = 0, h = 0;
    EXPECT_EQ(QuickCardBlockMeasure(c.dc.get(), 1, 1.0, 1.0, withBlank.get(), &w, &h, 0), 1);
    EXPECT_EQ(h, lh);
}

}  // namespace

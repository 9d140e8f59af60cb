#include <gtest/gtest.h>

#include <cstring>

#include "graphics/quick_card_draw.h"
#include "graphics/quick_card_test_support.h"
#include "graphics/quick_card_text.h"
#include "platform/dc_test_support.h"

namespace {

constexpr ColorRef kRed = MakeRgb(255, 0, 0);

LogFont Face(int32_t height, uint16_t style = 0)
{
    LogFont f;
    std::strncpy(f.faceName, "Liberation Sans", sizeof(f.faceName) - 1);
    f.height = -height;
    f.weight = style & 1 ? FW_BOLD : FW_NORMAL;
    f.italic = style & 2 ? 1 : 0;
    f.underline = style & 4 ? 1 : 0;
    return f;
}

// What the pieces measure in the pinned face, worked out on a context of
// its own.
struct Ruler {
    std::unique_ptr<Dc> dc = Dc::ForMeasuring();
    int32_t width(const char* text, int32_t height, uint16_t style = 0)
    {
        dc->selectFont(Face(height, style));
        return dc->getTextExtent(text).width;
    }
    int32_t lineHeight(int32_t height, uint16_t style = 0)
    {
        dc->selectFont(Face(height, style));
        const TextMetrics tm = dc->getTextMetrics();
        return tm.height + tm.ascent - tm.descent;
    }
};

std::string PieceText(Handle item, int32_t useRecord, int32_t preview, int32_t max = kQuickCardPieceMaxText)
{
    char out[kQuickCardPieceMaxText + 1];
    const int32_t n = QuickCardItemText(HandleData(item), useRecord, out, max, preview);
    EXPECT_EQ(size_t(n), std::strlen(out));
    return out;
}

TEST(QuickCardText, FieldValuesSitBetweenPrefixAndSuffixAndVanishWhenEmpty)
{
    HandleOwner tel(MakeItem({.field = 13, .text = "Tel. |"}));
    HandleOwner bracketed(MakeItem({.field = 13, .text = "(|) ext."}));
    HandleOwner noBar(MakeItem({.field = 13, .text = "Fax "}));
    HandleOwner fixed(MakeItem({.field = -1, .text = "a|b"}));
    EXPECT_EQ(PieceText(tel.get(), 1, 0), "");  // no provider installed
    {
        FakeFieldTexts fields;
        EXPECT_EQ(PieceText(tel.get(), 1, 0), "");
        fields.values[13] = "555";
        EXPECT_EQ(PieceText(tel.get(), 1, 0), "Tel. 555");
        EXPECT_FALSE(fields.lastPreviewMode);
        EXPECT_EQ(PieceText(bracketed.get(), 0, 1), "(555) ext.");
        EXPECT_TRUE(fields.lastPreviewMode);
        EXPECT_EQ(PieceText(noBar.get(), 1, 0), "Fax 555");
        EXPECT_EQ(PieceText(fixed.get(), 1, 0), "a|b");
        EXPECT_EQ(PieceText(tel.get(), 0, 0), "Tel. [F13]");
        EXPECT_EQ(PieceText(tel.get(), 1, 0, 6), "Tel. 5");

        // A text that fills its item without a terminator ends with the item.
        HandleOwner damaged(MakeItem({.field = -1, .text = ""}));
        std::memset(HandleData(damaged.get()) + 48, 'z', 4);
        EXPECT_EQ(PieceText(damaged.get(), 1, 0), "zzzz");
        PutU32LE(HandleData(damaged.get()), 500);
        EXPECT_EQ(PieceText(damaged.get(), 1, 0), "");
    }
}

TEST(QuickCardMeasure, LinesTakeTheirPiecesFontsGapsAndSpaces)
{
    Ruler r;
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
    const int32_t line1 = r.width("Hello", 20) + r.width(" ", 20) + r.width("World", 20) + 2;
    const int32_t line2 = r.width("Big", 30, 1) + 7 + r.width("gap", 10) + 2;
    EXPECT_EQ(w, std::max(line1, line2));
    EXPECT_EQ(h, r.lineHeight(20) + 4 + r.lineHeight(30, 1));
    EXPECT_EQ(dc->font(), Face(20));

    // The scales map block units: gaps across, sizes and space above down.
    ASSERT_EQ(QuickCardBlockMeasure(dc.get(), 1, 2.0, 3.0, block.get(), &w, &h, 0), 0);
    EXPECT_EQ(w, std::max(line1, r.width("Big", 90, 1) + 14 + r.width("gap", 30) + 2));
    EXPECT_EQ(h, r.lineHeight(20) + 12 + r.lineHeight(90, 1));

    HandleOwner empty(QuickCardBlockNew());
    ASSERT_EQ(QuickCardBlockMeasure(dc.get(), 1, 1.0, 1.0, empty.get(), &w, &h, 0), 0);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST(QuickCardMeasure, EmptyPiecesAndLinesTakeNoSpaceUnlessKept)
{
    FakeFieldTexts fields;
    Ruler r;
    auto dc = Dc::ForMeasuring();
    dc->selectFont(Face(20));
    const std::vector<PieceSpec> pieces = {
        {.text = "Name"},
        {.field = 5, .text = "Tel. |", .newLine = true, .gap = 30, .spaceAbove = 6},
        {.field = 6, .text = "|", .separator = 1},
        {.field = 7, .text = "x|y", .newLine = true, .gap = 5},
        {.text = "Town", .separator = 1},
    };
    int32_t w = 0, h = 0;
    HandleOwner skipping(MakeBlock(pieces, 0, 0));
    ASSERT_EQ(QuickCardBlockMeasure(dc.get(), 1, 1.0, 1.0, skipping.get(), &w, &h, 0), 0);
    EXPECT_EQ(h, 2 * r.lineHeight(20));
    // No space before the first piece that shows on its line.
    EXPECT_EQ(w, std::max(r.width("Name", 20), r.width("Town", 20)) + 2);

    HandleOwner keeping(MakeBlock(pieces, 1, 1));
    ASSERT_EQ(QuickCardBlockMeasure(dc.get(), 1, 1.0, 1.0, keeping.get(), &w, &h, 0), 0);
    EXPECT_EQ(h, 3 * r.lineHeight(20) + 6);
    EXPECT_EQ(w, std::max({r.width("Name", 20), 30 + r.width(" ", 20), 5 + r.width(" ", 20) + r.width("Town", 20)}) + 2);

    HandleOwner keptLines(MakeBlock(pieces, 0, 1));
    ASSERT_EQ(QuickCardBlockMeasure(dc.get(), 1, 1.0, 1.0, keptLines.get(), &w, &h, 0), 0);
    EXPECT_EQ(h, 3 * r.lineHeight(20) + 6);
}

// The ink of one colour, as a box.
QRect Ink(const DcCanvas& c, ColorRef color, int y0 = 0, int y1 = -1)
{
    QRect box;
    for (int y = y0; y < (y1 < 0 ? c.image.height() : y1); ++y)
        for (int x = 0; x < c.image.width(); ++x)
            if (c.at(x, y) == color)
                box |= QRect(x, y, 1, 1);
    return box;
}

struct Drawing {
    explicit Drawing(int width = 300, int height = 140) : canvas(width, height)
    {
        canvas.dc->selectFont(Face(20));
        canvas.dc->setTextColor(kRed);
    }
    int32_t draw(Handle block, const IntRect& rect) { return QuickCardBlockDraw(canvas.dc.get(), rect, 1, 1.0, 1.0, block, 0); }
    DcCanvas canvas;
};

TEST(QuickCardDraw, LinesAreAlignedInTheRectangleAndStackedByTheirHeights)
{
    Ruler r;
    const int32_t lh = r.lineHeight(20);
    HandleOwner block(MakeBlock({
        {.text = "Left"},
        {.text = "Right", .newLine = true, .align = 3},
        {.text = "Mid", .newLine = true, .align = 2},
    }));
    Drawing d;
    const IntRect rect{10, 10, 290, 130};
    d.canvas.dc->setTextAlign(TA_UPDATECP);
    d.canvas.dc->setBkMode(OPAQUE);
    ASSERT_EQ(d.draw(block.get(), rect), 0);
    EXPECT_EQ(d.canvas.dc->font(), Face(20));
    EXPECT_EQ(d.canvas.dc->textAlign(), TA_UPDATECP);
    EXPECT_EQ(d.canvas.dc->bkMode(), OPAQUE);
    EXPECT_EQ(d.canvas.dc->textColor(), kRed);

    // Each line's glyphs lie within its own band below the rectangle's top.
    const QRect left = Ink(d.canvas, kRed, 0, 10 + lh);
    const QRect right = Ink(d.canvas, kRed, 10 + lh, 10 + 2 * lh);
    const QRect mid = Ink(d.canvas, kRed, 10 + 2 * lh, 140);
    ASSERT_FALSE(left.isEmpty() || right.isEmpty() || mid.isEmpty());
    EXPECT_GE(left.top(), 10);
    EXPECT_GE(left.left(), 12);
    EXPECT_LE(left.left(), 15);
    EXPECT_LE(right.right(), 289);
    EXPECT_GE(right.right(), 285);
    EXPECT_NEAR((mid.left() + mid.right()) / 2.0, 150 + 1, 3);
    EXPECT_LT(mid.bottom(), 10 + 3 * lh);
    // The same glyphs one line lower start the line height lower.
    HandleOwner twice(MakeBlock({{.text = "Hh"}, {.text = "Hh", .newLine = true}}));
    Drawing t;
    t.draw(twice.get(), rect);
    EXPECT_EQ(Ink(t.canvas, kRed, 10 + lh, 140).top() - Ink(t.canvas, kRed, 0, 10 + lh).top(), lh);

    // The header's alignment serves lines that have none of their own.
    HandleOwner rightByDefault(MakeBlock({{.text = "Left"}}));
    QuickCardBlockSetAlign(rightByDefault.get(), 3);
    Drawing e;
    e.draw(rightByDefault.get(), rect);
    EXPECT_EQ(Ink(e.canvas, kRed).right() + 1, Ink(d.canvas, kRed, 0, 10 + lh).right() + 1 +
                                                   (280 - r.width("Left", 20) - 2));
}

TEST(QuickCardDraw, ABlankLineTakesNoSpaceAndNothingStartsBelowTheRectangle)
{
    FakeFieldTexts fields;
    Ruler r;
    const int32_t lh = r.lineHeight(20);
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
    EXPECT_EQ(a.canvas.image, b.canvas.image);
    EXPECT_GT(a.canvas.count(kRed), 0);

    // A line that would start at the bottom is not drawn.
    Drawing c;
    c.draw(without.get(), {0, 0, 300, lh});
    EXPECT_FALSE(Ink(c.canvas, kRed, 0, lh).isEmpty());
    EXPECT_TRUE(Ink(c.canvas, kRed, lh, 140).isEmpty());
}

TEST(QuickCardDraw, ADamagedItemStopsTheBlockAfterTheLinesBeforeIt)
{
    Ruler r;
    const int32_t lh = r.lineHeight(20);
    HandleOwner block(MakeBlock({
        {.text = "One"},
        {.text = "Two", .newLine = true},
        {.text = "also two"},
        {.text = "Three", .newLine = true},
    }));
    PutU32LE(QuickCardBlockGetItem(block.get(), 2), 9);
    Drawing d;
    EXPECT_EQ(d.draw(block.get(), {0, 0, 300, 140}), 1);
    EXPECT_FALSE(Ink(d.canvas, kRed, 0, lh).isEmpty());
    EXPECT_TRUE(Ink(d.canvas, kRed, lh, 140).isEmpty());
    int32_t w = 0, h = 0;
    EXPECT_EQ(QuickCardBlockMeasure(d.canvas.dc.get(), 1, 1.0, 1.0, block.get(), &w, &h, 0), 1);
    EXPECT_EQ(h, lh);
    EXPECT_EQ(w, r.width("One", 20) + 2);
}

}  // namespace

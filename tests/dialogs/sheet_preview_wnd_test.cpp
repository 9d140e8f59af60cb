#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "dialogs/sheet_preview_wnd.h"
#include "foundation/byte_order.h"
#include "foundation/handle.h"

namespace {

constexpr QRgb kGreen = 0x00FF00;
constexpr QRgb kGrey = 0xC0C0C0;

// Two columns of five 252 x 144 point cards, no gaps, centred on a letter
// sheet.
SheetLabelLayout TwoByFive()
{
    SheetLabelLayout l;
    l.cardWidth = 252;
    l.cardHeight = 144;
    l.columns = 2;
    l.rows = 5;
    l.centred = 1;
    return l;
}

std::vector<uint32_t> Words(Handle grid)
{
    std::vector<uint32_t> w(HandleGetSize(grid) / 4);
    for (size_t i = 0; i < w.size(); ++i)
        w[i] = GetU32LE(HandleData<uint8_t>(grid) + 4 * i);
    return w;
}

class SheetPreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(200, 250);
        const IntRect printable{18, 18, 594, 774};
        window.SetSheetSize(IntSize{612, 792}, &printable);
        window.SetLabelType(TwoByFive());
    }
    QRgb At(int x, int y) { return window.grab().toImage().pixel(x, y) & 0xFFFFFF; }
    QRgb Paper() { return window.palette().color(QPalette::Base).rgb() & 0xFFFFFF; }
    void Click(int x, int y) { QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(x, y)); }
    IntRect Cell(int c, int r)
    {
        IntRect cell;
        window.Layout();
        window.GetCellRect(c, r, &cell);
        return cell;
    }

    CSheetPreviewWnd window;
};

TEST_F(SheetPreviewTest, SheetAndCardsAreScaledIntoTheWindow)
{
    ASSERT_TRUE(window.Layout());
    EXPECT_DOUBLE_EQ(window.Scale(), 3.6);
    const IntRect& s = window.SheetImage();
    EXPECT_EQ(s.left, 14);
    EXPECT_EQ(s.top, 14);
    EXPECT_EQ(s.right, 184);
    EXPECT_EQ(s.bottom, 234);
    const IntRect& p = window.PrintableImage();
    EXPECT_EQ(p.left, 19);
    EXPECT_EQ(p.bottom, 229);

    // Centred: 54 points in from the left, 36 down, from the sheet's corner.
    IntRect c = Cell(0, 0);
    EXPECT_EQ(c.left, 14 + 15);
    EXPECT_EQ(c.top, 14 + 10);
    EXPECT_EQ(c.right, 14 + 85);
    EXPECT_EQ(c.bottom, 14 + 50);
    EXPECT_EQ(Cell(1, 4).left, c.left + 70);
    EXPECT_EQ(Cell(1, 4).top, c.top + 4 * 40);
    // Margins come on top of the centring.
    SheetLabelLayout l = TwoByFive();
    l.leftMargin = 18;
    l.topMargin = 9;
    window.SetLabelType(l);
    EXPECT_EQ(Cell(0, 0).left, 14 + 20);
    EXPECT_EQ(Cell(0, 0).top, 14 + 12);
    l.centred = 0;
    window.SetLabelType(l);
    EXPECT_EQ(Cell(0, 0).left, 14 + 5);
    EXPECT_FALSE(window.GetCellRect(5, 0, &c));  // off the sheet

    // A window too small for a sheet draws none and hits nothing.
    CSheetPreviewWnd tiny;
    tiny.resize(20, 20);
    EXPECT_FALSE(tiny.Layout());
    EXPECT_FALSE(tiny.grab().toImage().isNull());
}

TEST_F(SheetPreviewTest, PaintingShowsTheBandTheSheetAndTheCards)
{
    const IntRect c = Cell(0, 0);
    EXPECT_EQ(At(14, 100), 0u);      // the sheet's edge
    EXPECT_EQ(At(16, 100), kGrey);   // outside the printable area
    EXPECT_EQ(At(c.left, 40), kGreen);
    EXPECT_EQ(At(c.right - 1, 40), kGreen);
    EXPECT_EQ(At(60, 40), Paper());
    EXPECT_EQ(At(100, 238), Paper());  // below the shadow, the window

    // A label type without columns draws the sheet alone.
    SheetLabelLayout none = TwoByFive();
    none.columns = 0;
    window.SetLabelType(none);
    EXPECT_EQ(At(c.left, 40), Paper());
    EXPECT_EQ(At(16, 100), kGrey);
}

TEST_F(SheetPreviewTest, FirstCardPickerTakesTheCardClicked)
{
    const int32_t start[2] = {2, 3};
    window.SetLabelTypeAndFirstCard(TwoByFive(), start);
    window.SetMode(kSheetFirstCard, nullptr);
    EXPECT_EQ(window.GetSkipGrid(), nullptr);
    int32_t first[2];
    Click(5, 5);
    window.GetFirstCard(first);
    EXPECT_EQ(first[0], 2);
    EXPECT_EQ(first[1], 3);
    const IntRect c = Cell(1, 4);
    Click(c.left + 3, c.top + 3);
    window.GetFirstCard(first);
    EXPECT_EQ(first[0], 2);
    EXPECT_EQ(first[1], 5);
}

TEST_F(SheetPreviewTest, SkipEditorTogglesCardsAndKeepsFlagsAcrossLabelTypes)
{
    window.SetMode(kSheetSkipCards, nullptr);
    ASSERT_NE(window.SkipGrid(), nullptr);
    EXPECT_EQ(Words(window.SkipGrid()), std::vector<uint32_t>({10, 2, 5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));

    // A click crosses the card out, a second one brings it back.
    const IntRect c = Cell(0, 0);
    const int midX = (c.left + c.right) / 2;
    const int midY = c.top + (c.bottom - c.top) * (midX - c.left) / (c.right - c.left);
    Click(midX, midY);
    EXPECT_EQ(SkipGridFlag(window.SkipGrid(), 0, 0), 0u);
    EXPECT_EQ(At(midX, midY), 0u);
    Click(midX, midY);
    EXPECT_EQ(SkipGridFlag(window.SkipGrid(), 0, 0), 1u);
    EXPECT_EQ(At(midX, midY), Paper());

    // Clicks outside every card change nothing; one on a card skips it.
    Click(5, 5);
    Click(16, 100);
    const IntRect last = Cell(1, 2);
    Click(last.left + 2, last.top + 2);
    EXPECT_EQ(Words(window.SkipGrid()), std::vector<uint32_t>({10, 2, 5, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1}));

    // 2 x 5 to 3 x 5: the ten flags stay where they were, five new
    // printed positions join them.
    SheetLabelLayout three = TwoByFive();
    three.columns = 3;
    three.cardWidth = 180;
    window.SetLabelType(three);
    EXPECT_EQ(Words(window.SkipGrid()),
              std::vector<uint32_t>({15, 3, 5, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1}));

    // The caller's copy is its own.
    Handle copy = window.GetSkipGrid();
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, window.SkipGrid());
    EXPECT_EQ(Words(copy), Words(window.SkipGrid()));
    HandleFree(copy);

    // A label type without rows frees the grid; leaving the mode too.
    SheetLabelLayout flat = TwoByFive();
    flat.rows = 0;
    window.SetLabelType(flat);
    EXPECT_EQ(window.SkipGrid(), nullptr);
    window.SetLabelType(TwoByFive());
    EXPECT_NE(window.SkipGrid(), nullptr);
    window.SetMode(kSheetLayoutOnly, nullptr);
    EXPECT_EQ(window.SkipGrid(), nullptr);
    EXPECT_EQ(window.GetSkipGrid(), nullptr);
}

TEST_F(SheetPreviewTest, GridsGivenByTheCallerAreCopiedAndChecked)
{
    Handle mine = HandleNew(12 + 4 * 10);
    const uint32_t words[13] = {10, 2, 5, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0};
    for (int i = 0; i < 13; ++i)
        PutU32LE(HandleData<uint8_t>(mine) + 4 * i, words[i]);
    window.SetMode(kSheetSkipCards, mine);
    EXPECT_NE(window.SkipGrid(), mine);
    HandleFree(mine);
    EXPECT_EQ(SkipGridFlag(window.SkipGrid(), 0, 0), 0u);
    EXPECT_EQ(SkipGridFlag(window.SkipGrid(), 1, 4), 0u);

    // A grid whose words do not describe itself is taken as no grid.
    Handle broken = HandleNew(12 + 4 * 3);
    const uint32_t lies[6] = {10, 2, 5, 0, 0, 0};
    for (int i = 0; i < 6; ++i)
        PutU32LE(HandleData<uint8_t>(broken) + 4 * i, lies[i]);
    window.SetMode(kSheetSkipCards, broken);
    HandleFree(broken);
    EXPECT_EQ(Words(window.SkipGrid()), std::vector<uint32_t>({10, 2, 5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));

    // A click where a third column would stand is no card of this type.
    SheetLabelLayout one = TwoByFive();
    one.columns = 1;
    one.centred = 0;
    window.SetLabelType(one);
    const IntRect c = Cell(1, 0);
    Click(c.left + 5, c.top + 5);
    EXPECT_EQ(Words(window.SkipGrid()), std::vector<uint32_t>({5, 1, 5, 1, 1, 1, 1, 1}));
}

}  // namespace

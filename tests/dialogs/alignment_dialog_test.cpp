#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QImage>
#include <QRadioButton>
#include <QTest>

#include "dialogs/alignment_dialog.h"

namespace {

AlignFrame Frame(int16_t type, IntRect bounds, bool grouped = false)
{
    AlignFrame f;
    f.type = type;
    f.bounds = bounds;
    f.grouped = grouped;
    return f;
}

// A page of 200 x 400 points at (100, 50); frames given in page units
// scale by the card's size over the page's.
AlignSelection PortraitSelection()
{
    AlignSelection s;
    s.pageRect = IntRect{100, 50, 300, 450};
    s.pageOrigin = IntPoint{100, 50};
    s.frames = {Frame(1, IntRect{120, 70, 160, 110}), Frame(3, IntRect{200, 150, 251, 201}),
                Frame(5, IntRect{110, 300, 170, 330})};
    s.currentIndex = 1;
    s.leftIndex = 2;
    s.topIndex = 0;
    return s;
}

QRgb Pixel(QWidget* w, int x, int y) { return w->grab().toImage().pixel(x, y) & 0xFFFFFF; }

TEST(AlignmentPreview, CardLeavesWiderMarginsAcrossTheShortSideOfThePage)
{
    const IntRect client{0, 0, 173, 191};
    const IntRect portrait = AlignCardRect(client, IntRect{0, 0, 612, 792});
    EXPECT_EQ(portrait.left, 17);
    EXPECT_EQ(portrait.top, 10);
    EXPECT_EQ(portrait.right, 156);
    EXPECT_EQ(portrait.bottom, 181);
    const IntRect square = AlignCardRect(client, IntRect{0, 0, 500, 500});
    EXPECT_EQ(square.left, 17);
    const IntRect landscape = AlignCardRect(client, IntRect{0, 0, 792, 612});
    EXPECT_EQ(landscape.top, 27);
    EXPECT_EQ(client.bottom - landscape.bottom, 27);
    EXPECT_EQ(landscape.left, 10);
}

TEST(AlignmentPreview, FramesAreMappedFromThePageAndGroupsListedOnce)
{
    AlignSelection s = PortraitSelection();
    const IntRect card{0, 0, 100, 200};  // half the page's size
    std::vector<AlignEntry> e = BuildAlignEntries(s, card);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].type, 1);
    EXPECT_EQ(e[0].bounds.left, 10);
    EXPECT_EQ(e[0].bounds.top, 10);
    EXPECT_EQ(e[0].bounds.right, 30);
    EXPECT_EQ(e[1].bounds.right, 75);  // 151 / 2 truncated

    // Three frames of one group, then a second group, then the first
    // group again: each group keeps one entry of type 9.
    const IntRect g1{120, 70, 200, 150};
    const IntRect g2{150, 200, 250, 300};
    s.frames = {Frame(1, g1, true), Frame(3, g1, true), Frame(2, g2, true), Frame(5, g1, true), Frame(4, g2, true),
                Frame(0, IntRect{0, 0, 10, 10})};
    e = BuildAlignEntries(s, card);
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[0].type, kAlignTypeGrouped);
    EXPECT_EQ(e[1].type, kAlignTypeRepeatedGroup);
    EXPECT_EQ(e[2].type, kAlignTypeGrouped);
    EXPECT_EQ(e[3].type, kAlignTypeRepeatedGroup);
    EXPECT_EQ(e[4].type, kAlignTypeRepeatedGroup);
    EXPECT_EQ(e[5].type, 0);

    // A page without size maps everything to 0 instead of dividing by it.
    s.pageRect = IntRect{100, 50, 100, 50};
    e = BuildAlignEntries(s, card);
    EXPECT_EQ(e[0].bounds.right, 0);
}

TEST(AlignmentPreview, OffsetsFollowTheReferenceFrames)
{
    std::vector<AlignEntry> e(3);
    e[0].bounds = IntRect{10, 5, 20, 15};
    e[1].bounds = IntRect{30, 40, 45, 47};  // width 15, height 7
    e[2].bounds = IntRect{2, 60, 9, 80};

    ComputeAlignOffsets(&e, 0, 0, false, 1, 2, 0);
    for (const AlignEntry& x : e) {
        EXPECT_EQ(x.dx, 0);
        EXPECT_EQ(x.dy, 0);
    }
    ComputeAlignOffsets(&e, -1, -1, true, 1, 2, 0);
    EXPECT_EQ(e[0].dx, 0);

    // Left sides against the left-most frame, tops against the top-most.
    ComputeAlignOffsets(&e, 1, 1, false, 1, 2, 0);
    EXPECT_EQ(e[0].dx, -8);
    EXPECT_EQ(e[1].dx, -28);
    EXPECT_EQ(e[2].dx, 0);
    EXPECT_EQ(e[1].dy, -35);
    EXPECT_EQ(e[2].dy, -55);

    // Centres: the halves of odd sizes are truncated on both sides.
    ComputeAlignOffsets(&e, 2, 2, false, 1, 2, 0);
    // Reference x: 2 + 7 / 2 = 5; entry 1: 30 + 15 / 2 = 37.
    EXPECT_EQ(e[1].dx, 5 - 37);
    // Reference y: 5 + 10 / 2 = 10; entry 1: 40 + 7 / 2 = 43.
    EXPECT_EQ(e[1].dy, 10 - 43);

    // Right and bottom sides against the current frame, which stays put.
    ComputeAlignOffsets(&e, 3, 3, true, 1, 2, 0);
    EXPECT_EQ(e[1].dx, 0);
    EXPECT_EQ(e[1].dy, 0);
    EXPECT_EQ(e[0].dx, 25);
    EXPECT_EQ(e[0].dy, 32);
    EXPECT_EQ(e[2].dx, 36);
    EXPECT_EQ(e[2].dy, -33);
}

class AlignmentDialogTest : public ::testing::Test {
protected:
    CDlgAlignment dialog{PortraitSelection()};

    QAbstractButton* Horizontal(int id) { return dialog.HorizontalGroup()->button(id); }
    QAbstractButton* Vertical(int id) { return dialog.VerticalGroup()->button(id); }
    // Where entry i's top-left corner is drawn now.
    IntPoint Corner(size_t i)
    {
        const AlignEntry& e = dialog.Entries()[i];
        return IntPoint{dialog.DrawingArea().left + e.bounds.left + e.dx, dialog.DrawingArea().top + e.bounds.top + e.dy};
    }
};

TEST_F(AlignmentDialogTest, OpensWithoutChoicesAndReturnsWhatWasClicked)
{
    EXPECT_EQ(dialog.HorizontalGroup()->checkedId(), -1);
    EXPECT_EQ(dialog.VerticalGroup()->checkedId(), -1);
    EXPECT_EQ(dialog.HorizontalMode(), -1);
    QTest::mouseClick(Horizontal(3), Qt::LeftButton);
    QTest::mouseClick(Vertical(2), Qt::LeftButton);
    QTest::mouseClick(dialog.ToFirstBox(), Qt::LeftButton);
    EXPECT_EQ(dialog.HorizontalMode(), 3);
    EXPECT_EQ(dialog.VerticalMode(), 2);
    EXPECT_TRUE(dialog.ToFirstSelected());
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const std::vector<AlignEntry>& e = dialog.Entries();
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[1].dx, 0);
    EXPECT_EQ(e[0].bounds.right + e[0].dx, e[1].bounds.right);
    EXPECT_EQ(e[2].bounds.right + e[2].dx, e[1].bounds.right);
}

TEST_F(AlignmentDialogTest, PreviewDrawsTheCardAndMovesTheOutlines)
{
    CAlignPreviewWnd* preview = dialog.Preview();
    const IntRect card = dialog.CardRect();
    // Outside the card the pane is white, the card's edge black, and the
    // shadow runs below it.
    EXPECT_EQ(Pixel(preview, card.left - 5, card.top + 20), 0xFFFFFFu);
    EXPECT_EQ(Pixel(preview, card.left, card.top + 20), 0u);
    EXPECT_EQ(Pixel(preview, card.left + 20, card.bottom), 0u);

    // The rectangle frame's outline is drawn black where it stands.
    IntPoint c = Corner(0);
    EXPECT_EQ(Pixel(preview, c.x, c.y + 3), 0u);
    QTest::mouseClick(Horizontal(1), Qt::LeftButton);
    const IntPoint moved = Corner(0);
    EXPECT_NE(moved.x, c.x);
    EXPECT_EQ(Pixel(preview, moved.x, moved.y + 3), 0u);
    EXPECT_EQ(Pixel(preview, c.x, c.y + 3), 0xFFFFFFu);

    // Against the first selected frame that frame is drawn green and the
    // others line up with it.
    QTest::mouseClick(dialog.ToFirstBox(), Qt::LeftButton);
    EXPECT_EQ(dialog.HighlightedEntry(), 1);
    const AlignEntry& current = dialog.Entries()[1];
    EXPECT_EQ(current.dx, 0);
    const IntRect& b = current.bounds;
    const int midY = dialog.DrawingArea().top + (b.top + b.bottom) / 2;
    EXPECT_EQ(Pixel(preview, dialog.DrawingArea().left + b.left, midY), 0x00FF00u);
    EXPECT_EQ(Corner(0).x, dialog.DrawingArea().left + b.left);
}

TEST_F(AlignmentDialogTest, ModesGivenBeforeTheRunAreShown)
{
    dialog.SetModes(2, 0, true);
    EXPECT_TRUE(Horizontal(2)->isChecked());
    EXPECT_TRUE(Vertical(0)->isChecked());
    EXPECT_TRUE(dialog.ToFirstBox()->isChecked());
    dialog.reject();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace

// The Object tool driven by the pointer through the card view, as the
// window system delivers it: the rubber band, moving frames by dragging
// them, and the double click that starts editing a text frame.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/clipboard_wnd.h"
#include "carddoc/labels_doc.h"
#include "carddoc/selection_tool.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_store.h"
#include "card_in_view_fixture.h"
#include "support/pointer_drive.h"

namespace {

class ViewPointerTest : public TwoBoxesTest {
protected:
    PointerDrive pointer{window.view};
};

TEST_F(ViewPointerTest, TheBandSelectsTheFramesItTouches)
{
    FrameObj* far = Frame(kFrameRect, 250, 120, 280, 150);
    pointer.Click(Pixel(40, 40));
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{a}));

    // From empty page past the first frame to the corner of the second.
    pointer.DragTo(Pixel(5, 5), {Pixel(60, 25), Pixel(122, 32)});
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{a, b}));
    EXPECT_FALSE(tool->IsSelected(far));

    // A band elsewhere starts afresh where it was pressed.
    pointer.DragTo(Pixel(240, 110), {Pixel(255, 125), Pixel(260, 130)});
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{far}));
    // One that touches nothing leaves nothing selected.
    pointer.DragTo(Pixel(200, 100), {Pixel(210, 105)});
    EXPECT_TRUE(Selection().empty());
}

TEST_F(ViewPointerTest, DraggingAFrameMovesItByTheDragsDistance)
{
    pointer.Click(Pixel(40, 40));
    ASSERT_EQ(Selection(), (std::vector<FrameObj*>{a}));
    pointer.DragTo(Pixel(40, 40), {Pixel(50, 45), Pixel(60, 52), Pixel(70, 60)});
    EXPECT_EQ(X(a), 50);
    EXPECT_EQ(Y(a), 40);
    EXPECT_EQ(X(b), 120);
    std::string undo;
    ASSERT_NE(doc->UndoOwner(), nullptr);
    doc->UndoOwner()->GetUndoMenuText(&undo);
    EXPECT_EQ(undo, "Undo Move Frame");

    // A frame not yet selected is taken and moved by the one drag.
    pointer.DragTo(Pixel(150, 50), {Pixel(140, 60), Pixel(130, 80)});
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{b}));
    EXPECT_EQ(X(b), 100);
    EXPECT_EQ(Y(b), 60);
    EXPECT_EQ(X(a), 50);
}

TEST_F(ViewPointerTest, TheMovedOutlineFollowsThePointerFromItsFirstMove)
{
    pointer.Click(Pixel(40, 40));
    ASSERT_EQ(Selection(), (std::vector<FrameObj*>{a}));
    // The first move ends the wait for a held press; the outline is where
    // the pointer went before any further input comes.
    int32_t seenX = 0;
    int32_t seenY = 0;
    pointer.Drag(Pixel(40, 40), {[&] { pointer.Move(Pixel(55, 48)); },
                                 [&] {
                                     seenX = a->DragGeometry().x - page.left;
                                     seenY = a->DragGeometry().y - page.top;
                                 },
                                 [&] { pointer.Release(Pixel(55, 48)); }});
    EXPECT_EQ(seenX, 35);
    EXPECT_EQ(seenY, 28);
    EXPECT_EQ(X(a), 35);
    EXPECT_EQ(Y(a), 28);
}

TEST_F(ViewPointerTest, AFrameHeldStillFollowsThePointerItself)
{
    pointer.Click(Pixel(40, 40));
    ASSERT_EQ(Selection(), (std::vector<FrameObj*>{a}));
    // Held a second before moving: the frame itself moves along, not an
    // outline of it.
    int32_t during = 0;
    pointer.Drag(Pixel(40, 40), {[&] { pointer.Move(Pixel(60, 40)); },
                                 [&] { during = X(a); },
                                 [&] { pointer.Release(Pixel(60, 40)); }},
                 15, 1100);
    EXPECT_EQ(during, 40);
    EXPECT_EQ(X(a), 40);
    EXPECT_EQ(Y(a), 20);
}

TEST_F(ViewPointerTest, DoubleClickOnATextFrameStartsEditingIt)
{
    FrameObj* text = Frame(kFrameText, 40, 100, 200, 140);
    doc->Frames()->NewStory(text, true);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);
    pointer.DoubleClick(Pixel(100, 120));
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolText);
    EXPECT_EQ(X(text), 40);
}

}  // namespace

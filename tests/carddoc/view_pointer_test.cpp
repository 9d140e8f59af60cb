// The Object tool driven by the pointer through the card view, as the
// window system delivers it: the rubber band, moving frames by dragging
// them, and the double click that starts editing a text frame.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/clipboard_wnd.h"
#include "card_test_support.h"
#include "card_window_stand_in.h"
#include "carddoc/labels_doc.h"
#include "carddoc/selection_tool.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_store.h"
#include "support/pointer_drive.h"

namespace {

class ViewPointerTest : public CardDocTest {
protected:
    void SetUp() override
    {
        CardDocTest::SetUp();
        doc = NewCardDocument();
        ASSERT_NE(doc, nullptr);
        window.show();
        window.view->InitView(doc.get());
        QApplication::processEvents();
        tool = SelectionToolOf(doc.get());
        ASSERT_NE(tool, nullptr);
        page = doc->PageGeometry().slots[0];
        a = Box(kFrameRect, 20, 20, 80, 60);
        b = Box(kFrameRect, 120, 30, 170, 70);
    }
    void TearDown() override
    {
        window.view->Detach();
        doc.reset();
        DestroyClipboardStore();
        CardDocTest::TearDown();
    }

    // A frame at document units relative to the first page slot.
    FrameObj* Box(int16_t type, int32_t l, int32_t t, int32_t r, int32_t bottom)
    {
        FrameObj* f = doc->NewFrame(type);
        EXPECT_NE(f, nullptr);
        f->SetFromRect(IntRect{page.left + l, page.top + t, page.left + r, page.top + bottom});
        f->MarkChanged(0, 0);
        return f;
    }
    // The view's pixel of a point in document units relative to the slot.
    QPoint Pixel(int32_t x, int32_t y)
    {
        IntPoint p{page.left + x, page.top + y};
        doc->DocToViewPoint(&p);
        window.view->LPtoDPPoint(&p);
        return QPoint(p.x, p.y);
    }
    std::vector<FrameObj*> Selection()
    {
        std::vector<FrameObj*> out;
        for (int16_t i = 0; i < tool->GetSelCount(); ++i)
            out.push_back(tool->GetSelFrame(i));
        return out;
    }
    int32_t X(FrameObj* f) { return f->Geometry().x - page.left; }
    int32_t Y(FrameObj* f) { return f->Geometry().y - page.top; }

    CardWindowStandIn window{600, 400};
    PointerDrive pointer{window.view};
    std::unique_ptr<CLabelsDoc> doc;
    SelectionTool* tool = nullptr;
    IntRect page;
    FrameObj* a = nullptr;
    FrameObj* b = nullptr;
};

TEST_F(ViewPointerTest, TheBandSelectsTheFramesItTouches)
{
    FrameObj* far = Box(kFrameRect, 250, 120, 280, 150);
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
    FrameObj* text = Box(kFrameText, 40, 100, 200, 140);
    doc->Frames()->NewStory(text, true);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);
    pointer.DoubleClick(Pixel(100, 120));
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolText);
    EXPECT_EQ(X(text), 40);
}

}  // namespace

// The Object tool on a new card in its view: selecting by click, Shift and
// the rubber band, moving and resizing with the mouse, nudging with the
// arrow keys, deleting with undo, the clipboard store, grouping and the
// stacking order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/clipboard_wnd.h"
#include "carddoc/labels_doc.h"
#include "carddoc/selection_tool.h"
#include "foundation/keys.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "card_in_view_fixture.h"
#include "platform/key_event.h"

namespace {

// Modifier keys as the tool polls them.
class Keys : public KeyStateSource {
public:
    Keys() : previous_(SetKeyStateSource(this)) {}
    ~Keys() override { SetKeyStateSource(previous_); }
    bool KeyDown(int32_t key) override
    {
        return (shift && key == kVkShift) || (control && key == kVkControl) || (alt && key == kVkAlt);
    }
    void DeliverPendingInput() override {}
    bool shift = false;
    bool control = false;
    bool alt = false;

private:
    KeyStateSource* previous_;
};

class SelectionToolTest : public TwoBoxesTest {
protected:
    // A press at from; the steps run one after the other inside the drag.
    void Drag(const QPoint& from, std::vector<std::function<void()>> steps)
    {
        int at = 5;
        for (auto& step : steps) {
            QTimer::singleShot(at, window.view, std::move(step));
            at += 15;
        }
        QTest::mousePress(window.view, Qt::LeftButton, {}, from);
        QApplication::processEvents();
    }
    // The drag sees where the pointer was at the event before; a move to
    // the place of the release comes first.
    void Click(const QPoint& at) { Drag(at, {[this, at] { MoveTo(at); }, [this, at] { ReleaseAt(at); }}); }
    void MoveTo(const QPoint& p) { QTest::mouseMove(window.view, p); }
    void ReleaseAt(const QPoint& p) { QTest::mouseRelease(window.view, Qt::LeftButton, {}, p); }
    std::string UndoText()
    {
        std::string text;
        if (FrameTool* owner = doc->UndoOwner())
            owner->GetUndoMenuText(&text);
        return text;
    }
    void Undo()
    {
        ASSERT_NE(doc->UndoOwner(), nullptr);
        doc->UndoOwner()->UndoRedo();
    }

    Keys keys;
};

TEST_F(SelectionToolTest, ClicksShiftAndTheBandSelect)
{
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);
    Click(Pixel(40, 40));
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{a}));
    EXPECT_EQ(a->Block().selected, 1);

    // Shift adds and takes away, in the page's order, and moves nothing.
    keys.shift = true;
    Click(Pixel(150, 50));
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{a, b}));
    Click(Pixel(40, 40));
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{b}));
    EXPECT_EQ(a->Block().selected, 0);
    keys.shift = false;
    EXPECT_EQ(X(b), 120);

    // The band takes what it merely touches, and nothing it misses.
    FrameObj* far = Box(250, 120, 280, 150);
    IntRect band{page.left + 5, page.top + 5, page.left + 120, page.top + 35};
    doc->DocToViewRect(&band);
    EXPECT_EQ(tool->CreateFrame(band), nullptr);
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{a, b}));
    EXPECT_FALSE(tool->IsSelected(far));
    EXPECT_EQ(doc->SelectionCount(), 2);
    EXPECT_EQ(tool->GetFrameType(), kFrameRect);

    // Select All.
    EXPECT_TRUE(doc->CanDoEditCommand(5));
    doc->DoEditCommand(5);
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{a, b, far}));
}

TEST_F(SelectionToolTest, MovingTheSelectionStaysOnThePageAndUndoes)
{
    tool->SelectWithGroup(a, false);
    tool->SelectWithGroup(b, false);
    // What the move tracker does: drag copies, moved, then taken.
    tool->BeginDrag(false);
    IntPoint offset{30, 20};
    tool->ClampOffsetToPage(&offset, 2, 0);
    tool->MoveSelectionBy(offset, 2, 0);
    EXPECT_EQ(X(a), 20);
    tool->EndDrag(true);
    EXPECT_EQ(X(a), 50);
    EXPECT_EQ(Y(b), 50);
    EXPECT_EQ(tool->SelectionBounds().x, a->Geometry().x);
    ASSERT_TRUE(tool->SaveUndo(kUndoMoveFrame));
    tool->RedrawPage(0, 0);
    EXPECT_EQ(UndoText(), "Undo Move Frame");
    Undo();
    EXPECT_EQ(X(a), 20);
    EXPECT_EQ(Y(b), 30);
    EXPECT_EQ(UndoText(), "Redo Move Frame");
    Undo();
    EXPECT_EQ(X(a), 50);

    // No frame leaves the page, however far the pointer goes.
    IntPoint far{-5000, -5000};
    tool->ClampOffsetToPage(&far, 0, 0);
    tool->MoveSelectionBy(far, 0, 0);
    EXPECT_EQ(a->Geometry().x, 0);
    EXPECT_EQ(a->Geometry().y, 0);
    EXPECT_EQ(b->Geometry().x - a->Geometry().x, 100);
    // A locked frame keeps the whole selection still.
    a->SetLocked(1);
    EXPECT_TRUE(tool->IsSelectionFixed(false));
    EXPECT_EQ(tool->CreateTracker(kTrackMove), nullptr);
}

TEST_F(SelectionToolTest, AHandleResizesTheFrame)
{
    tool->SelectWithGroup(a, false);
    // The handle nearest the bottom-right corner.
    int16_t corner = 0;
    IntPoint best;
    for (int16_t n = 1; n <= 8; ++n) {
        IntPoint p;
        a->GetHandlePoint(&p, n);
        if (corner == 0 || p.x + p.y > best.x + best.y) {
            corner = n;
            best = p;
        }
    }
    window.view->LPtoDPPoint(&best);
    const QPoint from(best.x, best.y);
    Drag(from, {[&] { MoveTo(from + QPoint(10, 5)); }, [&] { MoveTo(from + QPoint(30, 20)); },
                [&] { ReleaseAt(from + QPoint(30, 20)); }});
    EXPECT_EQ(X(a), 20);
    EXPECT_EQ(a->Geometry().width, 90);
    EXPECT_EQ(a->Geometry().height, 60);
    EXPECT_EQ(UndoText(), "Undo Resize Frame");
    Undo();
    EXPECT_EQ(a->Geometry().width, 60);
}

TEST_F(SelectionToolTest, ArrowKeysNudgeWithinThePage)
{
    // Nothing selected: the key is taken, nothing moves.
    EXPECT_EQ(tool->KeyDown(DownKey(kKeyRight)), 1);
    EXPECT_EQ(X(a), 20);
    EXPECT_EQ(tool->KeyDown(DownKey(kKeyHome)), 0);

    tool->SelectWithGroup(a, false);
    QTest::keyClick(window.view, Qt::Key_Right);
    EXPECT_EQ(X(a), 21);
    tool->KeyDown(DownKey(kKeyDown, true));
    EXPECT_EQ(Y(a), 30);
    EXPECT_EQ(UndoText(), "Undo Move Frame");
    Undo();
    EXPECT_EQ(Y(a), 20);

    // At the left edge a frame does not move left at all.
    a->SetFromRect(IntRect{0, 40, 50, 80});
    tool->KeyDown(DownKey(kKeyLeft, true));
    EXPECT_EQ(a->Geometry().x, 0);
}

TEST_F(SelectionToolTest, DeletingOneFrameCanBeUndoneAndRedone)
{
    FrameObj* c = Box(30, 30, 60, 50);
    CurrPageMng* pages = doc->PageManager();
    const uint16_t id = a->FrameId();
    tool->SelectWithGroup(a, false);
    doc->KeyDown(DownKey(kKeyDelete));
    EXPECT_EQ(pages->IndexOfFrame(a), -1);
    EXPECT_TRUE(Selection().empty());
    EXPECT_EQ(UndoText(), "Undo Delete Frame");

    // Back at its place in the stack, and selected.
    Undo();
    EXPECT_EQ(pages->IndexOfFrame(a), 0);
    EXPECT_EQ(pages->IndexOfFrame(c), 2);
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{a}));
    Undo();
    EXPECT_EQ(pages->IndexOfFrame(a), -1);
    EXPECT_NE(doc->Frames()->GetLoadedFrame(id), nullptr);

    // Another step after it destroys the frame for good.
    tool->SelectWithGroup(b, false);
    tool->SetColor(3, 0);
    EXPECT_EQ(doc->Frames()->GetLoadedFrame(id), nullptr);
    uint8_t record[kFrameRecordSize];
    EXPECT_LT(doc->Frames()->GetFrameRecord(id, record), 0);
}

TEST_F(SelectionToolTest, SeveralFramesAreDeletedOnlyAfterTheQuestion)
{
    tool->SelectWithGroup(a, false);
    tool->SelectWithGroup(b, false);
    alerts_.answer(kIdCancel);
    tool->DeleteSelection();
    ASSERT_EQ(alerts_.boxes().size(), 1u);
    EXPECT_NE(alerts_.lastText().find("cannot be undone"), std::string::npos);
    EXPECT_EQ(doc->PageManager()->FrameCount(), 2);

    alerts_.answer(kIdOk);
    tool->DeleteSelection();
    EXPECT_EQ(doc->PageManager()->FrameCount(), 0);
    EXPECT_EQ(doc->UndoOwner(), nullptr);

    // The backdrop picture cannot be deleted: nothing goes.
    FrameObj* c = Box(10, 10, 20, 20);
    c->SetUndeletable(1);
    tool->SelectWithGroup(c, false);
    doc->DeleteSelection();
    EXPECT_EQ(doc->PageManager()->FrameCount(), 1);
}

TEST_F(SelectionToolTest, ChangesOfSeveralFramesUndoTogether)
{
    FrameObj* c = Box(200, 30, 230, 70);
    doc->DoEditCommand(5);
    tool->SetColor(4, 1);
    for (FrameObj* f : {a, b, c})
        EXPECT_EQ(f->Attributes().fillColour, 4);
    EXPECT_EQ(UndoText(), "Undo Change Frame");
    const uint8_t before = a->SavedBlock().fillColour;
    Undo();
    for (FrameObj* f : {a, b, c})
        EXPECT_EQ(f->Attributes().fillColour, before);
    Undo();
    EXPECT_EQ(c->Attributes().fillColour, 4);

    // Mixed values show as the placeholder, equal ones as they are.
    b->SetColour(9, 0);
    FrameAttributes common;
    uint32_t mask = 0;
    EXPECT_EQ(tool->GetCommonAttrs(&common, &mask), kFrameRect);
    EXPECT_EQ(common.borderColour, 255);
    EXPECT_EQ(mask & kSameLineColour, 0u);
    EXPECT_EQ(common.fillColour, 4);
    EXPECT_NE(mask & kSameFillColour, 0u);
    GraphicAttrs g;
    tool->GetGraphicAttrs(&g);
    EXPECT_EQ(g.lineColour, 255);
    EXPECT_EQ(g.fillColour, 4);
    EXPECT_EQ(tool->ContextMenuId(), kContextMenuObjects);
    tool->DeselectAll(true);
    EXPECT_EQ(tool->ContextMenuId(), kContextMenuEmpty);
}

TEST_F(SelectionToolTest, GroupingRoundTrips)
{
    FrameObj* c = Box(200, 30, 230, 70);
    CurrPageMng* pages = doc->PageManager();
    tool->SelectWithGroup(a, false);
    tool->SelectWithGroup(b, false);
    EXPECT_TRUE(tool->CanGroup());
    EXPECT_FALSE(tool->CanUngroup());
    doc->GroupSelection();
    ASSERT_EQ(pages->GroupCount(), 1);
    FrameObj* inner = pages->GroupAt(0);
    EXPECT_EQ(a->GetId(-1), inner->FrameId());
    EXPECT_EQ(b->GetId(-1), inner->FrameId());
    EXPECT_FALSE(tool->CanGroup());
    EXPECT_TRUE(tool->CanUngroup());
    // The group spans its members.
    EXPECT_EQ(inner->Geometry().x, a->Geometry().x);
    EXPECT_EQ(inner->Geometry().x + inner->Geometry().width, b->Geometry().x + b->Geometry().width);

    // A click on one member takes the whole group; Shift-click lets it go.
    Click(Pixel(150, 50));
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{a, b}));
    EXPECT_EQ(tool->GetGroupEntry(0), inner);
    keys.shift = true;
    Click(Pixel(40, 40));
    keys.shift = false;
    EXPECT_TRUE(Selection().empty());

    // Grouped again with a third frame, then one level taken off: the
    // inner group comes back selected with its members.
    Click(Pixel(40, 40));
    keys.shift = true;
    Click(Pixel(210, 50));
    keys.shift = false;
    doc->GroupSelection();
    ASSERT_EQ(pages->GroupCount(), 2);
    EXPECT_EQ(a->IdCount(), 2);
    EXPECT_EQ(c->IdCount(), 1);
    doc->UngroupSelection();
    EXPECT_EQ(pages->GroupCount(), 1);
    EXPECT_EQ(a->GetId(-1), inner->FrameId());
    EXPECT_EQ(c->IdCount(), 0);
    EXPECT_EQ(tool->GetGroupCount(), 1);
    EXPECT_EQ(tool->GetGroupEntry(0), inner);
    EXPECT_EQ(doc->UndoOwner(), nullptr);
}

TEST_F(SelectionToolTest, TheStackingOrder)
{
    FrameObj* c = Box(30, 30, 60, 50);
    CurrPageMng* pages = doc->PageManager();
    tool->SelectWithGroup(a, false);
    doc->BringToFront();
    EXPECT_EQ(pages->IndexOfFrame(a), 2);
    doc->SendToBack();
    EXPECT_EQ(pages->IndexOfFrame(a), 0);
    doc->ShuffleForward();
    EXPECT_EQ(pages->IndexOfFrame(a), 1);
    EXPECT_EQ(pages->IndexOfFrame(b), 0);
    // Several frames keep their order among themselves.
    tool->SelectWithGroup(b, false);
    doc->BringToFront();
    EXPECT_EQ(pages->IndexOfFrame(c), 0);
    EXPECT_EQ(pages->IndexOfFrame(b), 1);
    EXPECT_EQ(pages->IndexOfFrame(a), 2);
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{b, a}));
}

TEST_F(SelectionToolTest, CopyPasteAndCutThroughTheStore)
{
    // Without the store nothing is cut: the frames stay.
    tool->SelectWithGroup(a, false);
    EXPECT_FALSE(doc->CanDoEditCommand(4));
    doc->DoEditCommand(1);
    EXPECT_EQ(doc->PageManager()->FrameCount(), 2);

    PathRecord folder{};
    ASSERT_EQ(PathRecordFromPosix(program_.path() + "/", &folder), 0);
    ASSERT_EQ(CreateClipboardStore(folder), 0);
    a->SetColour(6, 1);
    tool->SelectWithGroup(b, false);
    doc->GroupSelection();
    doc->DoEditCommand(2);
    ASSERT_TRUE(doc->CanDoEditCommand(4));
    doc->DoEditCommand(4);
    CurrPageMng* pages = doc->PageManager();
    ASSERT_EQ(pages->FrameCount(), 4);
    FrameObj* pastedA = pages->FrameAt(2);
    FrameObj* pastedB = pages->FrameAt(3);
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{pastedA, pastedB}));
    EXPECT_NE(pastedA->FrameId(), a->FrameId());
    EXPECT_EQ(pastedA->Attributes().fillColour, 6);
    EXPECT_EQ(pastedA->Geometry().width, a->Geometry().width);
    EXPECT_EQ(pastedB->Geometry().height, b->Geometry().height);
    // The copies keep their places relative to each other, in a group of
    // their own.
    EXPECT_EQ(pastedB->Geometry().x - pastedA->Geometry().x, b->Geometry().x - a->Geometry().x);
    EXPECT_EQ(pastedB->Geometry().y - pastedA->Geometry().y, b->Geometry().y - a->Geometry().y);
    ASSERT_EQ(pages->GroupCount(), 2);
    EXPECT_NE(pastedA->GetId(-1), a->GetId(-1));
    EXPECT_EQ(pastedA->GetId(-1), pastedB->GetId(-1));
    EXPECT_EQ(pages->FindGroupFrame(pastedA->GetId(-1)), pages->GroupAt(1));

    // Cut of several frames asks first; the copies are in the store even
    // when the answer is Cancel.
    alerts_.answer(kIdCancel);
    doc->DoEditCommand(1);
    EXPECT_EQ(pages->FrameCount(), 4);
    alerts_.answer(kIdOk);
    doc->DoEditCommand(1);
    EXPECT_EQ(pages->FrameCount(), 2);
    doc->DoEditCommand(4);
    EXPECT_EQ(pages->FrameCount(), 4);
}

TEST_F(SelectionToolTest, DuplicateMakesOffsetCopies)
{
    tool->SelectWithGroup(a, false);
    doc->DuplicateFrames(10, 10);
    CurrPageMng* pages = doc->PageManager();
    ASSERT_EQ(pages->FrameCount(), 3);
    FrameObj* copy = pages->FrameAt(2);
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{copy}));
    EXPECT_EQ(X(copy), 30);
    EXPECT_EQ(Y(copy), 30);
    EXPECT_EQ(copy->Geometry().width, 60);
    EXPECT_EQ(X(a), 20);
}

TEST_F(SelectionToolTest, TheTextToolTakesTheOneSelectedTextFrame)
{
    FrameObj* text = doc->NewFrame(kFrameText);
    text->SetFromRect(IntRect{page.left + 200, page.top + 100, page.left + 300, page.top + 140});
    doc->Frames()->NewStory(text, true);
    tool->SelectWithGroup(text, false);
    doc->SetTool(kToolText, 0);
    EXPECT_EQ(static_cast<FrameObj*>(doc->EditFrame()), text);
    // Back to the Object tool: the frame the text tool had is selected.
    doc->SetTool(kToolObject, 0);
    EXPECT_EQ(Selection(), (std::vector<FrameObj*>{text}));
}

}  // namespace

// Drawing and arranging frames with the Object tool: what a person sees of
// the program around a drag, and where a moved frame ends up.
#include <QDialog>
#include <QTest>
#include <QToolButton>

#include "app/main_frame.h"
#include "app/main_status_bar.h"
#include "app/tool_bar_draw_tools.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "dialogs/alignment_dialog.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/object_info_dialog.h"
#include "frames/curr_page_mng.h"
#include "records/command_ids.h"
#include "sample_card_journey.h"

namespace {

class ArrangingJourney : public SampleCardJourney {
protected:
    // Where Object Info places the selected frame: its origin down.
    double OriginDown()
    {
        double down = -1;
        OnNextDialog([&down](QWidget* dialog) {
            auto* info = dynamic_cast<CDlgObjectInfo*>(dialog);
            if (info)
                down = info->OriginDown()->text().toDouble();
            static_cast<QDialog*>(dialog)->reject();
        });
        EXPECT_TRUE(Trigger("Object > Object Info..."));
        return down;
    }
};

TEST_F(ArrangingJourney, TheToolButtonsStillAnswerThePointerAfterADragInTheView)
{
    QToolButton* rectangle = ToolButton("Draw a rectangle");
    ASSERT_NE(rectangle, nullptr);
    auto pointAt = [this](QWidget* widget) {
        PointerDrive pointer(widget);
        pointer.Move(QPoint(4, 4));
        pointer.Move(QPoint(6, 6));
        Settle();
    };
    // A click that picks a frame and a drag that draws one: after either,
    // the pointer over a tool button gives its prompt, as before.
    Click(CardPoint(200, 118));
    pointAt(rectangle);
    EXPECT_EQ(MainWindow()->MainStatusBar()->MessageText(), "Draw a rectangle");
    pointAt(CardView());
    ASSERT_TRUE(Trigger("Object > Delete"));
    rectangle->click();
    Drag(CardPoint(180, 100), {CardPoint(200, 115), CardPoint(230, 130)});
    pointAt(rectangle);
    EXPECT_TRUE(rectangle->underMouse()) << "the view kept the pointer after the drag";
    EXPECT_EQ(MainWindow()->MainStatusBar()->MessageText(), "Draw a rectangle");
}

TEST_F(ArrangingJourney, AFrameOutOverThePageEdgeMovesOnlyTheWayItIsPushed)
{
    // The rule under the company name, made taller than the page through
    // Object Info, reaches out below the page.
    Click(CardPoint(150, 43));
    OnNextDialog([](QWidget* dialog) {
        auto* info = dynamic_cast<CDlgObjectInfo*>(dialog);
        ASSERT_NE(info, nullptr);
        info->HeightEdit()->selectAll();
        QTest::keyClicks(info->HeightEdit(), "6");
        info->accept();
    });
    ASSERT_TRUE(Trigger("Object > Object Info..."));
    const double before = OriginDown();

    // Down (the arrow key, then a drag) can't take it further out; it
    // must not lift it either.
    Key(Qt::Key_Down);
    EXPECT_GE(OriginDown(), before) << "the Down key moved the frame up";
    Drag(CardPoint(210, 80), {CardPoint(210, 90), CardPoint(210, 100), CardPoint(210, 110)});
    EXPECT_GE(OriginDown(), before) << "a drag down moved the frame up";
    // Up, away from the edge it is past, it still goes.
    Key(Qt::Key_Up);
    EXPECT_LT(OriginDown(), before);
}

TEST_F(ArrangingJourney, TheAlignmentPreviewShowsTheFramesWhereTheyStandOnTheCard)
{
    // The name (14, 62, 166 wide) and the barcode (172, 104, 73 wide) of
    // the 252-point card.
    Click(CardPoint(100, 78));
    Click(CardPoint(208, 118), Qt::ShiftModifier);
    std::vector<AlignEntry> entries;
    IntRect card;
    OnNextDialog([&](QWidget* dialog) {
        auto* align = dynamic_cast<CDlgAlignment*>(dialog);
        ASSERT_NE(align, nullptr);
        entries = align->Entries();
        card = align->CardRect();
        static_cast<QDialog*>(dialog)->reject();
    });
    ASSERT_TRUE(Trigger("Object > Align Object..."));
    ASSERT_EQ(entries.size(), 2u);
    const double scale = double(card.right - card.left) / 252;
    EXPECT_NEAR(entries[0].bounds.left, 14 * scale, 2);
    EXPECT_NEAR(entries[0].bounds.right - entries[0].bounds.left, 166 * scale, 2);
    EXPECT_NEAR(entries[1].bounds.left, 172 * scale, 2);
    EXPECT_NEAR(entries[1].bounds.bottom, 133 * double(card.bottom - card.top) / 144, 2);
}

TEST_F(ArrangingJourney, TextFlowsBackWhereADeletedFrameStood)
{
    // A rectangle drawn over the right of the name's lines pushes them
    // aside; deleted, the lines stand as they did before it.
    const QRect name = CardRect(14, 62, 166, 32);
    const QImage before = ViewPixels();
    QToolButton* rectangle = ToolButton("Draw a rectangle");
    ASSERT_NE(rectangle, nullptr);
    rectangle->click();
    Drag(CardPoint(40, 60), {CardPoint(80, 80), CardPoint(178, 97)});
    ASSERT_GT(Changed(before, ViewPixels(), name), 100) << "no rectangle was drawn over the name";
    Key(Qt::Key_Delete);
    EXPECT_EQ(Changed(before, ViewPixels(), name), 0) << "the name still wraps around the deleted rectangle";
    // Undone, the rectangle pushes the name aside again; redone, it goes.
    Key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_GT(Changed(before, ViewPixels(), name), 100) << "the deletion was not undone";
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Changed(before, ViewPixels(), name), 0) << "the name still wraps around the rectangle deleted again";

    // The same with several frames deleted at once, grouped.
    rectangle->click();
    Drag(CardPoint(40, 60), {CardPoint(80, 80), CardPoint(178, 97)});
    Click(CardPoint(208, 118), Qt::ShiftModifier);
    Key(Qt::Key_G, Qt::ControlModifier);
    ASSERT_GT(Changed(before, ViewPixels(), name), 100);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Changed(before, ViewPixels(), name), 0) << "the name still wraps around the deleted group";
}

TEST_F(ArrangingJourney, UndoTakesBackAFrameDrawnWithCtrlHeld)
{
    // Ctrl keeps the rectangle tool after the drag; the frame it made is
    // what Edit offers to undo, and undone it goes from the card.
    const QRect area = CardRect(170, 20, 70, 30);
    const QImage before = ViewPixels();
    const int16_t frames = CardDocument()->PageManager()->FrameCount();
    QToolButton* rectangle = ToolButton("Draw a rectangle");
    ASSERT_NE(rectangle, nullptr);
    rectangle->click();
    const int16_t tool = CardDocument()->GetCurrentToolIndex();
    Drag(CardPoint(175, 25), {CardPoint(200, 35), CardPoint(235, 45)}, Qt::ControlModifier);
    ASSERT_EQ(CardDocument()->GetCurrentToolIndex(), tool) << "Ctrl did not keep the tool";
    ASSERT_EQ(CardDocument()->PageManager()->FrameCount(), frames + 1);
    ASSERT_GT(Changed(before, ViewPixels(), area), 100) << "no rectangle was drawn";
    ASSERT_TRUE(Enabled(kCmdEditUndo));
    EXPECT_EQ(Action(kCmdEditUndo)->text().section('\t', 0, 0), "Undo New Frame");

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CardDocument()->PageManager()->FrameCount(), frames) << "the undone frame stayed";
    EXPECT_EQ(Changed(before, ViewPixels(), area), 0) << "the undone rectangle still shows";
    EXPECT_FALSE(Enabled(kCmdEditUndo));
    // The tool is still the rectangle's and draws again.
    Drag(CardPoint(175, 25), {CardPoint(200, 35), CardPoint(235, 45)}, Qt::ControlModifier);
    EXPECT_EQ(CardDocument()->PageManager()->FrameCount(), frames + 1);
}

}  // namespace

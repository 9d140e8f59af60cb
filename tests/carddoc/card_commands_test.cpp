// The card window's command map: which items are enabled and checked with
// and without a selection or the Text tool, and what the thin commands pass
// on.
#include "worker_test_support.h"

#include "dialogs/value_dialogs.h"
#include "platform/command_target.h"
#include "records/command_ids.h"

namespace {

class CardCommandTest : public WorkerTest {
protected:
    bool Checked(uint32_t id) { return Update(id).checked; }
    void SetText(int16_t size, int16_t style)
    {
        TextAttrs t = doc->CurrentTextAttrs();
        t.size = size;
        t.style = style;
        doc->SetTextAttrs(t);
    }
};

TEST_F(CardCommandTest, ObjectItemsFollowTheSelection)
{
    FrameObj* a = Box(20, 20, 80, 60);
    FrameObj* b = Box(100, 20, 160, 60);
    doc->SetTool(kToolObject, 0);
    tool->DeselectAll(false);
    for (uint32_t id : {kCmdObjectInfo, kCmdFrameInfo, kCmdFillInfo, kCmdTextRunaround, kCmdDuplicate, kCmdDelete, kCmdBringToFront, kCmdSendToBack, kCmdShuffleForward, kCmdAlignObjects, kCmdGroup})
        EXPECT_FALSE(Enabled(id)) << id;

    Select({a});
    for (uint32_t id : {kCmdObjectInfo, kCmdFrameInfo, kCmdFillInfo, kCmdTextRunaround, kCmdDuplicate, kCmdDelete, kCmdBringToFront, kCmdSendToBack, kCmdShuffleForward})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(kCmdAlignObjects));  // aligning wants two frames
    Select({a, b});
    EXPECT_TRUE(Enabled(kCmdAlignObjects));
    EXPECT_TRUE(Enabled(kCmdGroup));
    EXPECT_FALSE(Enabled(kCmdUngroup));

    // Frame Info has nothing to show for a line.
    FrameObj* line = Frame(kFrameLine, 20, 100, 80, 140);
    Select({line});
    EXPECT_FALSE(Enabled(kCmdFrameInfo));

    // With the Text tool the selection commands are off, the graphics
    // menus too, and Place Database Field.
    Select({a});
    doc->SetTool(kToolText, 0);
    EXPECT_FALSE(Enabled(kCmdObjectInfo));
    EXPECT_FALSE(Enabled(kCmdTextRunaround));  // no frame in edit
    EXPECT_FALSE(Enabled(kCmdBorderColourFirst));
    EXPECT_FALSE(Enabled(kCmdLineWidthFirst));
    EXPECT_FALSE(Enabled(kCmdPlaceFieldFirst));
    EXPECT_FALSE(Enabled(kCmdAlignFirst));  // alignment wants a frame in edit
    EXPECT_FALSE(Enabled(kCmdImportText));

    // Ids the card document does not know are left to others.
    CmdUI other(kCmdFilePrint);
    EXPECT_FALSE(doc->OnUpdateCommand(other));
    EXPECT_FALSE(doc->OnCommand(kCmdFilePrint));
}

TEST_F(CardCommandTest, StyleTogglesAndSizeSteps)
{
    FrameObj* a = Box(20, 20, 80, 60);
    Select({a});
    doc->SetBarItemState(132, true);
    // A mixed style: Bold sets only bold, and nothing is checked before.
    SetText(12, kAttrNotSet);
    EXPECT_FALSE(Checked(kCmdStyleBold));
    EXPECT_FALSE(Checked(kCmdStylePlain));
    EXPECT_TRUE(doc->OnCommand(kCmdStyleBold));
    EXPECT_EQ(doc->CurrentTextAttrs().style, 1);
    EXPECT_TRUE(Checked(kCmdStyleBold));
    EXPECT_TRUE(doc->OnCommand(kCmdItalic));  // the bar's Italic
    EXPECT_EQ(doc->CurrentTextAttrs().style, 3);
    EXPECT_TRUE(doc->OnCommand(kCmdStyleBold));
    EXPECT_EQ(doc->CurrentTextAttrs().style, 2);
    EXPECT_EQ(a->Attributes().fontStyle, 2);

    // Larger and Smaller count a mixed size as 12; the size reaches the
    // selected frame.
    SetText(kAttrNotSet, 0);
    doc->OnCommand(kCmdLarger);
    EXPECT_EQ(a->Attributes().fontSize, 14);
    SetText(kAttrNotSet, 0);
    EXPECT_TRUE(Enabled(kCmdSmaller));
    doc->OnCommand(kCmdSmaller);
    EXPECT_EQ(a->Attributes().fontSize, 10);
    SetText(30, 0);
    doc->OnCommand(kCmdSmaller);
    EXPECT_EQ(a->Attributes().fontSize, 28);
    SetText(400, 0);
    EXPECT_FALSE(Enabled(kCmdLarger));
    SetText(6, 0);
    EXPECT_FALSE(Enabled(kCmdSmaller));
    EXPECT_TRUE(Checked(kCmdSizeOther));  // 6 is none of the listed sizes
    SetText(12, 0);
    EXPECT_TRUE(Checked(33447));
    EXPECT_FALSE(Checked(kCmdSizeOther));

    // Without the font states every font item is off.
    doc->SetBarItemState(132, false);
    doc->SetBarItemState(131, false);
    EXPECT_FALSE(Enabled(kCmdStyleBold));
    EXPECT_FALSE(Enabled(kCmdSizeFirst));
}

TEST_F(CardCommandTest, ShadeAndWidthChecks)
{
    GraphicAttrs g = doc->CurrentGraphicAttrs();
    g.lineShade = 25;
    g.lineWidth = 6;
    doc->SetGraphicAttrs(g);
    EXPECT_TRUE(Checked(kCmdBorderShadeOther));
    for (uint32_t id = kCmdBorderShadeFirst; id <= kCmdBorderShadeLast; ++id)
        EXPECT_FALSE(Checked(id)) << id;
    // The item labelled "4 pt" stands at the place of width 6.
    EXPECT_TRUE(Checked(32948));
    EXPECT_FALSE(Checked(kCmdLineWidthOther));
    g.lineWidth = 4;
    doc->SetGraphicAttrs(g);
    EXPECT_TRUE(Checked(32947));
    EXPECT_FALSE(Checked(kCmdLineWidthOther));
    g.lineWidth = 5;
    doc->SetGraphicAttrs(g);
    EXPECT_TRUE(Checked(kCmdLineWidthOther));

    // A width item reaches the selected frames.
    FrameObj* a = Box(20, 20, 80, 60);
    Select({a});
    doc->OnCommand(32949);
    EXPECT_EQ(a->Geometry().lineWidth, 8);
    doc->OnCommand(33407);
    EXPECT_EQ(a->Attributes().borderColour, 2);
    doc->OnCommand(32935);
    EXPECT_EQ(a->Attributes().fillTint, 20);

    // Other... goes through the prompt.
    dialogs.Ok<CDlgOtherValue>([](CDlgOtherValue& d) {
        OtherValueRecord r = d.Record();
        r.value = 35;
        d.SetRecord(r);
    });
    doc->OnCommand(kCmdFillShadeOther);
    EXPECT_EQ(a->Attributes().fillTint, 35);

    // The double styles are off for a rounded frame.
    FrameObj* round = Frame(kFrameEllipse, 100, 20, 160, 60);
    Select({round});
    EXPECT_TRUE(Enabled(33326));
    EXPECT_FALSE(Enabled(33327));
    Select({a});
    EXPECT_TRUE(Enabled(33327));
}

TEST_F(CardCommandTest, ViewFlagsAndUndoText)
{
    const bool guides = Checked(kCmdShowGuides);
    doc->OnCommand(kCmdShowGuides);
    EXPECT_EQ(Checked(kCmdShowGuides), !guides);
    EXPECT_EQ(doc->ShowGuides(), !guides);
    const bool areas = doc->ShowsNonPrintingAreas();
    doc->OnCommand(kCmdShowNonPrinting);
    EXPECT_EQ(doc->ShowsNonPrintingAreas(), !areas);
    EXPECT_FALSE(Enabled(kCmdExportDatabase));

    doc->SetUndoOwner(nullptr);
    EXPECT_EQ(doc->UndoMenuText(), "Can't Undo");
    FrameObj* a = Box(20, 20, 80, 60);
    Select({a});
    doc->OnCommand(33407);
    EXPECT_EQ(doc->UndoMenuText(), "Undo Change Frame");
}

}  // namespace

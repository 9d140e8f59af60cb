// The Other... prompts and the Object menu's information workers: what the
// dialog is given, and that only what the user changed reaches the frames.
#include "worker_test_support.h"

#include <cstring>

#include "dialogs/fill_info_dialog.h"
#include "dialogs/frame_info_dialog.h"
#include "dialogs/group_info_dialog.h"
#include "dialogs/line_info_dialog.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/object_info_dialog.h"
#include "dialogs/text_box_info_dialog.h"
#include "dialogs/text_runaround_dialog.h"
#include "dialogs/value_dialogs.h"
#include "foundation/int_math.h"
#include "graphics/line_forms.h"

namespace {

using ObjectWorkerTest = WorkerTest;

TEST_F(ObjectWorkerTest, OtherValuePromptsOpenWithTheCurrentValueAndPassTheAnswerOn)
{
    FrameObj* a = Box(20, 20, 80, 60);
    Select({a});
    GraphicAttrs g = doc->CurrentGraphicAttrs();
    g.textShade = -1;
    g.lineShade = 40;
    doc->SetGraphicAttrs(g);

    // Text shade never published: shown as 0.
    OtherValueRecord seen;
    dialogs.Cancel<CDlgOtherValue>([&](CDlgOtherValue& d) { seen = d.Record(); });
    doc->DoOtherShade(3);
    EXPECT_STREQ(seen.caption, "Other Shade");
    EXPECT_STREQ(seen.label, "New Shade:");
    EXPECT_EQ(seen.value, 0);
    EXPECT_EQ(seen.maximum, 100);
    EXPECT_EQ(seen.step, 10);

    // Cancel leaves the frames' states and attributes alone.
    doc->PageManager()->ResetFrameStates(kDrawDone);
    doc->DoOtherShade(0);
    EXPECT_EQ(seen.value, 40);
    EXPECT_EQ(a->DrawState(), kDrawDone);
    const uint8_t tintBefore = a->Attributes().borderTint;
    doc->DoOtherShade(0);
    EXPECT_EQ(a->Attributes().borderTint, tintBefore);

    dialogs.Ok<CDlgOtherValue>([](CDlgOtherValue& d) {
        OtherValueRecord r = d.Record();
        r.value = 25;
        d.SetRecord(r);
    });
    doc->DoOtherShade(0);
    EXPECT_EQ(a->Attributes().borderTint, 25);
    doc->DoOtherShade(1);
    EXPECT_EQ(a->Attributes().fillTint, 25);
    EXPECT_EQ(UndoText(), "Undo Change Frame");

    dialogs.Ok<CDlgOtherValue>([](CDlgOtherValue& d) {
        OtherValueRecord r = d.Record();
        EXPECT_STREQ(r.caption, "Other Width");
        r.value = 7;
        d.SetRecord(r);
    });
    doc->DoOtherWidth();
    EXPECT_EQ(a->Geometry().lineWidth, 7);

    TextAttrs t = doc->CurrentTextAttrs();
    t.size = 12;
    doc->SetTextAttrs(t);
    dialogs.Ok<CDlgOtherValue>([](CDlgOtherValue& d) {
        OtherValueRecord r = d.Record();
        EXPECT_EQ(r.value, 12);
        EXPECT_EQ(r.minimum, 6);
        EXPECT_EQ(r.maximum, 400);
        r.value = 900;  // past what the dialog would let through
        d.SetRecord(r);
    });
    doc->DoOtherSize();
    EXPECT_EQ(doc->CurrentTextAttrs().size, 400);
}

TEST_F(ObjectWorkerTest, ObjectInfoWritesOnlyTheChangedFields)
{
    FrameObj* a = Frame(kFrameEllipse, 20, 20, 80, 60);
    FrameObj* b = Frame(kFrameEllipse, 120, 30, 150, 70);
    Select({a, b});
    const int16_t widthA = a->Geometry().width;
    const int16_t widthB = b->Geometry().width;

    ObjectInfoRecord given;
    dialogs.Ok<CDlgObjectInfo>([&](CDlgObjectInfo& d) {
        given = d.Record();
        ObjectInfoRecord r = given;
        r.height = 55;
        r.width = 999;  // not marked as changed: must not be written
        r.locked = 1;
        r.flags = kFieldHeight | kFieldLocked;
        d.SetRecord(r);
    });
    doc->DoObjectInfo();
    EXPECT_EQ(dialogs.runs, 1);
    // Widths differ, so the width is left out of what the selection shares.
    EXPECT_EQ(given.flags & kFieldWidth, 0u);
    EXPECT_NE(given.flags & kFieldOriginAcross, 0u);
    EXPECT_EQ(given.sizeFixed, 0);
    for (FrameObj* f : {a, b}) {
        EXPECT_EQ(f->Geometry().height, 55);
        EXPECT_EQ(f->Attributes().locked, 1);
    }
    EXPECT_EQ(a->Geometry().width, widthA);
    EXPECT_EQ(b->Geometry().width, widthB);
    EXPECT_EQ(UndoText(), "Undo Change Frame");

    // Cancel: nothing changes.
    const FrameAttributes before = a->Attributes();
    dialogs.Cancel<CDlgObjectInfo>();
    doc->DoObjectInfo();
    EXPECT_EQ(std::memcmp(&before, &a->Attributes(), sizeof before), 0);

    // Without a selection, or with another tool current, no dialog.
    dialogs.runs = 0;
    tool->DeselectAll(false);
    doc->DoObjectInfo();
    Select({a});
    doc->SetTool(kToolText, 0);
    doc->DoObjectInfo();
    EXPECT_EQ(dialogs.runs, 0);
}

TEST_F(ObjectWorkerTest, ObjectInfoDispatchesByTheKindOfTheSelection)
{
    FrameObj* text = Frame(kFrameText, 20, 20, 120, 60);
    FrameObj* box = Box(20, 80, 60, 120);
    FrameObj* line = Frame(kFrameLine, 100, 100, 150, 130);

    Select({text});
    dialogs.Cancel<CDlgTextBoxInfo>();
    doc->DoObjectInfo();
    Select({line});
    dialogs.Cancel<CDlgLineInfo>();
    doc->DoObjectInfo();
    Select({text, box});
    dialogs.Cancel<CDlgGroupInfo>();
    doc->DoObjectInfo();
    EXPECT_EQ(dialogs.runs, 3);
}

TEST_F(ObjectWorkerTest, TextBoxInfoRewritesEveryField)
{
    FrameObj* a = Frame(kFrameText, 20, 20, 120, 60);
    FrameObj* b = Frame(kFrameText, 20, 80, 140, 130);
    a->SetTextInset(3);
    Select({a, b});
    dialogs.Ok<CDlgTextBoxInfo>([](CDlgTextBoxInfo& d) {
        TextBoxInfoRecord r = d.Record();
        r.textInset = 6.7;
        r.mask = 0;  // the worker writes everything whatever the dialog says
        d.SetRecord(r);
    });
    doc->DoTextBoxInfo();
    EXPECT_EQ(a->Block().textInset, 6);
    EXPECT_EQ(b->Block().textInset, 6);
    // Sizes they had no single value for, left blank, stay each frame's
    // own; an angle typed goes to both.
    EXPECT_EQ(a->Geometry().height, 40);
    EXPECT_EQ(b->Geometry().height, 50);
    EXPECT_EQ(a->Geometry().width, 100);
    EXPECT_EQ(b->Geometry().width, 120);
    dialogs.Ok<CDlgTextBoxInfo>([](CDlgTextBoxInfo& d) {
        TextBoxInfoRecord r = d.Record();
        r.boxAngle = 45;
        d.SetRecord(r);
    });
    doc->DoTextBoxInfo();
    for (FrameObj* f : {a, b})
        EXPECT_EQ(f->Geometry().angle, 45.0f);
    EXPECT_EQ(a->Geometry().height, 40);
    EXPECT_EQ(b->Geometry().width, 120);
}

TEST_F(ObjectWorkerTest, LineInfoSetsCapsColourAndEndPoints)
{
    FrameObj* line = Frame(kFrameLine, 20, 20, 120, 60);
    Select({line});
    LineInfoRecord given;
    dialogs.Ok<CDlgLineInfo>([&](CDlgLineInfo& d) {
        given = d.Record();
        LineInfoRecord r = given;
        r.leftCap = 3;
        r.rightCap = 5;
        r.colour = 6;
        r.rightAcross = given.rightAcross + 10;
        r.flags = kFieldLeftSide | kFieldRightSide | kFieldLineColour | kFieldWidth;
        d.SetRecord(r);
    });
    doc->DoLineInfo();
    EXPECT_EQ(given.endPointLock, 1);
    EXPECT_EQ(line->Geometry().sides, 0x35);
    EXPECT_EQ(line->Attributes().borderColour, 6);
    EXPECT_EQ(line->Attributes().fillColour, 6);
    LineRecord ends;
    LinePlacementToRecord(line->Geometry(), &ends);
    EXPECT_EQ(ends.end.x - ends.start.x, TruncToInt32(given.rightAcross - given.leftAcross) + 10);
}

TEST_F(ObjectWorkerTest, FrameInfoSetsSidesAndTheBorder)
{
    FrameObj* a = Box(20, 20, 80, 60);
    Select({a});
    FrameInfoRecord given;
    dialogs.Ok<CDlgFrameInfo>([&](CDlgFrameInfo& d) {
        given = d.Record();
        FrameInfoRecord r = given;
        r.width = 4;
        r.above = 0;
        r.left = 1;
        r.flags = kFieldLineWidth | kFieldAbove | kFieldLeftSide;
        d.SetRecord(r);
    });
    const uint8_t sides = a->Geometry().sides;
    doc->DoFrameInfo();
    EXPECT_EQ(given.sidesAllowed, 1);
    EXPECT_EQ(a->Geometry().lineWidth, 4);
    EXPECT_EQ(a->Geometry().sides, uint8_t((sides & ~kSideTop) | kSideLeft));
}

TEST_F(ObjectWorkerTest, FillInfoOpaqueWithoutAColourGivesColourOne)
{
    FrameObj* clear = Box(20, 20, 80, 60);
    clear->SetColour(kNoBackground, 2);
    FrameObj* filled = Box(100, 20, 160, 60);
    filled->SetColour(5, 2);
    Select({clear});
    FillInfoRecord given;
    dialogs.Ok<CDlgFillInfo>([&](CDlgFillInfo& d) {
        given = d.Record();
        FillInfoRecord r = given;
        r.opaque = 1;
        r.flags = kFieldOpaque;
        d.SetRecord(r);
    });
    doc->DoFillInfo();
    EXPECT_EQ(given.opaque, 0);
    EXPECT_EQ(clear->Attributes().background, 1);

    // A colour chosen without touching Opaque paints only frames that are
    // not clear.
    clear->SetColour(kNoBackground, 2);
    Select({clear, filled});
    dialogs.Ok<CDlgFillInfo>([&](CDlgFillInfo& d) {
        FillInfoRecord r = d.Record();
        r.background = 9;
        r.flags = kFieldBackground;
        d.SetRecord(r);
    });
    doc->DoFillInfo();
    EXPECT_EQ(clear->Attributes().background, kNoBackground);
    EXPECT_EQ(filled->Attributes().background, 9);

    // Opaque off makes every frame clear.
    dialogs.Ok<CDlgFillInfo>([&](CDlgFillInfo& d) {
        FillInfoRecord r = d.Record();
        r.opaque = 0;
        r.flags = kFieldOpaque;
        d.SetRecord(r);
    });
    doc->DoFillInfo();
    EXPECT_EQ(filled->Attributes().background, kNoBackground);
}

TEST_F(ObjectWorkerTest, TextRunaroundGoesToEverySelectedFrameAndDropsUndo)
{
    FrameObj* a = Box(20, 20, 80, 60);
    FrameObj* b = Box(100, 20, 160, 60);
    a->SetOutline(1, 4);
    Select({a, b});
    TextRunaroundRecord given;
    dialogs.Ok<CDlgTextRunaround>([&](CDlgTextRunaround& d) {
        given = d.Record();
        d.SetRecord(TextRunaroundRecord{9, 2});
    });
    doc->DoTextRunaround();
    EXPECT_EQ(given.margin, 4);
    EXPECT_EQ(given.mode, 1);
    for (FrameObj* f : {a, b}) {
        EXPECT_EQ(f->Block().outlineInset, 9);
        EXPECT_EQ(f->Block().outlineKind, 2);
    }
    EXPECT_EQ(doc->UndoOwner(), nullptr);

    // Another tool and no text frame: nothing.
    dialogs.runs = 0;
    doc->SetTool(kToolText, 0);
    doc->DoTextRunaround();
    EXPECT_EQ(dialogs.runs, 0);
}

TEST_F(ObjectWorkerTest, StarInfoOnlyForAStarWithTheObjectTool)
{
    FrameObj* a = Box(20, 20, 80, 60);
    Select({a});
    EXPECT_FALSE(doc->CanOpenStarInfo());
    EXPECT_FALSE(doc->CanOpenPowerTextInfo());
    FrameObj* star = Frame(kFrameStar, 100, 20, 160, 80);
    Select({star});
    EXPECT_TRUE(doc->CanOpenStarInfo());
    doc->SetTool(kToolText, 0);
    EXPECT_FALSE(doc->CanOpenStarInfo());
}

}  // namespace

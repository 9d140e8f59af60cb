// Character Info, Paragraph Info and Tabs, and the workers of barcodes,
// counters and quick cards: what the dialog opens with, that OK writes
// exactly the answer to where the record came from, and that Cancel
// changes nothing.
#include "worker_test_support.h"

#include <array>
#include <cstring>

#include "barcode/barcode_record.h"
#include "carddoc/barcode_tool.h"
#include "carddoc/rect_tool.h"
#include "dialogs/barcode_info_dialog.h"
#include "dialogs/char_info_dialog.h"
#include "dialogs/counter_spec_dialog.h"
#include "dialogs/paragraph_info_dialog.h"
#include "dialogs/quick_card_dialog.h"
#include "dialogs/quick_card_layout_dialog.h"
#include "dialogs/tab_record.h"
#include "dialogs/tabs_dialog.h"
#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "frames/barcode_frame_format.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_barcode13.h"
#include "frames/frame_obj_barcode18.h"
#include "frames/frame_obj_counter_barcode.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/style_record_format.h"
#include "frames/style_run_format.h"
#include "records/command_ids.h"
#include "records/preferences.h"
#include "text/para_format.h"
#include "text/text_context.h"
#include "text/text_tool.h"

namespace {

class TextBarcodeWorkerTest : public WorkerTest {
protected:
    TextTool* Text() { return static_cast<TextTool*>(doc->ToolOfKind(kToolText)); }
    // A text frame in edit with the Text tool.
    FrameObjText* EditText()
    {
        auto* frame = static_cast<FrameObjText*>(Frame(kFrameText, 20, 20, 220, 120));
        if (!frame)
            return nullptr;
        doc->Frames()->NewStory(frame, true);
        Select({frame});
        doc->SetTool(kToolText, 0);
        return doc->TextToolFrame() == frame ? frame : nullptr;
    }
    int16_t TypingWord(int rank) { return GetI16LE(Text()->CurrentFormat() + kStyleBaseFormatOffset + 2 * rank); }
    ParaFormat CaretParagraph()
    {
        Text()->BindEditor();
        return EffectiveParaFormat(doc->Text().Styles(), doc->Text().Current(), false);
    }
    FrameObjBarcode* Barcode(int32_t l, int32_t t)
    {
        return static_cast<FrameObjBarcode*>(Frame(kFrameBarcode, l, t, l + 80, t + 40));
    }
};

TEST_F(TextBarcodeWorkerTest, CharacterInfoOnFramesWritesOnlyTheChangedFields)
{
    FrameObj* a = Barcode(20, 20);
    FrameObj* b = Barcode(20, 100);
    a->SetFontStyle(1, 0, 0);
    b->SetFontStyle(2, 0, 0);
    a->SetFont(3);
    b->SetFont(3);
    Select({a, b});

    // Styles that differ: no style box and not Plain.
    CharInfoRecord seen;
    dialogs.Cancel<CDlgCharInfo>([&](CDlgCharInfo& d) { seen = d.Record(); });
    doc->DoCharacterInfo();
    EXPECT_EQ(dialogs.runs, 1);
    EXPECT_EQ(seen.font, 3);
    EXPECT_EQ(seen.plain, 0);
    EXPECT_EQ(seen.bold + seen.italic + seen.underlined + seen.outlined + seen.shadowed + seen.condensed +
                  seen.extended,
              0);
    EXPECT_EQ(seen.extendedStylesAllowed, 0) << "no raised text in a frame of its own font";
    EXPECT_EQ(a->Attributes().fontStyle, 1);
    EXPECT_EQ(b->Attributes().fontStyle, 2);

    dialogs.Ok<CDlgCharInfo>([](CDlgCharInfo& d) {
        CharInfoRecord r = d.Record();
        r.size = 30;
        r.font = 9;  // not marked changed: must not arrive
        r.underlined = 1;
        r.flags = kCharSize | kCharStyle;
        d.SetRecord(r);
    });
    doc->DoCharacterInfo();
    for (FrameObj* f : {a, b}) {
        EXPECT_EQ(f->Attributes().fontSize, 30);
        EXPECT_EQ(f->Attributes().fontStyle, 4);
        EXPECT_EQ(f->Attributes().fontId, 3);
    }
    EXPECT_EQ(UndoText(), "Undo Change Frame");
}

TEST_F(TextBarcodeWorkerTest, CharacterInfoWithTheTextToolSetsTheTypingFormat)
{
    ASSERT_NE(EditText(), nullptr);
    Text()->SetFontStyle(0, 1, 0);
    const int16_t sizeBefore = TypingWord(kRankSize);
    CharInfoRecord seen;
    dialogs.Cancel<CDlgCharInfo>([&](CDlgCharInfo& d) { seen = d.Record(); });
    doc->DoCharacterInfo();
    EXPECT_EQ(seen.extendedStylesAllowed, 1);
    EXPECT_EQ(seen.size, sizeBefore);
    EXPECT_EQ(TypingWord(kRankSize), sizeBefore);

    dialogs.Ok<CDlgCharInfo>([](CDlgCharInfo& d) {
        CharInfoRecord r = d.Record();
        r.bold = 1;
        r.superscript = 1;
        r.size = 40;  // unmarked
        r.flags = kCharStyle | kCharScript;
        d.SetRecord(r);
    });
    doc->DoCharacterInfo();
    EXPECT_EQ(TypingWord(kRankStyle), 1);
    EXPECT_EQ(TypingWord(kRankSuperSub), -1) << "raised text is -1, as the Superscript item sets it";
    EXPECT_EQ(TypingWord(kRankSize), sizeBefore);
    EXPECT_EQ(doc->CurrentTextAttrs().style, 1);

    // Open again: the dialog shows what was set.
    dialogs.Cancel<CDlgCharInfo>([&](CDlgCharInfo& d) { seen = d.Record(); });
    doc->DoCharacterInfo();
    EXPECT_EQ(seen.bold, 1);
    EXPECT_EQ(seen.superscript, 1);
    EXPECT_EQ(seen.subscript, 0);
    EXPECT_EQ(seen.plain, 0);
}

TEST_F(TextBarcodeWorkerTest, ParagraphInfoAppliesWholePointsToTheCaretParagraph)
{
    ASSERT_NE(EditText(), nullptr);
    const ParaFormat before = CaretParagraph();
    ParagraphInfoRecord seen;
    dialogs.Cancel<CDlgParagraphInfo>([&](CDlgParagraphInfo& d) { seen = d.Record(); });
    doc->DoParagraphInfo();
    EXPECT_EQ(seen.units, int32_t(doc->GeneralPref(kPrefHorizontalUnit)));
    EXPECT_EQ(seen.leftIndent, before.leftIndent);
    EXPECT_EQ(CaretParagraph(), before);

    dialogs.Ok<CDlgParagraphInfo>([](CDlgParagraphInfo& d) {
        ParagraphInfoRecord r = d.Record();
        r.leftIndent = 12.9;
        r.spaceAfter = 6.2;
        r.keepWithNext = 1;
        d.SetRecord(r);
    });
    doc->DoParagraphInfo();
    const ParaFormat after = CaretParagraph();
    EXPECT_EQ(after.leftIndent, 12);
    EXPECT_EQ(after.spaceAfter, 6);
    EXPECT_EQ(after.keepWithNext, 1);
    EXPECT_EQ(after.rightIndent, before.rightIndent);

    // Without the Text tool there is no paragraph to ask about.
    doc->SetTool(kToolObject, 0);
    const int runs = dialogs.runs;
    doc->DoParagraphInfo();
    EXPECT_EQ(dialogs.runs, runs);
}

TEST_F(TextBarcodeWorkerTest, TabsStoreNewStopsAndLeaveTheIndentsAlone)
{
    // With the Object tool nothing opens.
    doc->SetTool(kToolObject, 0);
    doc->DoTabs();
    EXPECT_EQ(dialogs.runs, 0);

    FrameObjText* frame = EditText();
    ASSERT_NE(frame, nullptr);
    IntRect area;
    frame->GetTextRect(&area);
    const ParaFormat before = CaretParagraph();
    TabRecord seen;
    dialogs.Ok<CDlgTabs>([&](CDlgTabs& d) {
        seen = d.Record();
        TabRecord r = d.Record();
        TabStops stops(r.bytes);
        stops.SetPosition(0, 36);
        stops.SetAlignment(0, 1);
        stops.SetDefined(1);
        d.Init(0, r);
    });
    doc->DoTabs();
    ASSERT_EQ(dialogs.runs, 1);
    const TabStops shown(seen.bytes);
    EXPECT_EQ(shown.GetMaxWidth(), area.right - area.left);
    EXPECT_EQ(shown.GetRightMargin(), area.right - area.left - before.rightIndent);
    EXPECT_EQ(CaretParagraph(), before);
    uint8_t tabs[kTabBlockSize] = {};
    Text()->BindEditor();
    EffectiveTabs(doc->Text().Styles(), doc->Text().Current(), area.right - area.left, tabs);
    EXPECT_EQ(TabStops(tabs).GetPosition(0), 36);

    // Moving the left margin is a paragraph change.
    dialogs.Ok<CDlgTabs>([](CDlgTabs& d) {
        TabRecord r = d.Record();
        TabStops(r.bytes).SetLeftMargin(18);
        d.Init(0, r);
    });
    doc->DoTabs();
    EXPECT_EQ(CaretParagraph().leftIndent, 18);
    EXPECT_EQ(CaretParagraph().rightIndent, before.rightIndent);
}

TEST_F(TextBarcodeWorkerTest, BarcodeInfoEditsTheSelectionOrTheDefault)
{
    auto* placing = static_cast<BarcodeTool*>(doc->ToolOfKind(kToolBarcode));
    ASSERT_NE(placing, nullptr);
    std::array<uint8_t, kBarcodeRecordSize> defaults{};
    std::memcpy(defaults.data(), placing->DefaultRecord(), kBarcodeRecordSize);
    FrameObjBarcode* a = Barcode(20, 20);
    FrameObjBarcode* b = Barcode(20, 100);
    std::array<uint8_t, kBarcodeRecordSize> framed{};
    std::memcpy(framed.data(), a->Record(), kBarcodeRecordSize);
    Select({a, b});
    auto answer = [](CDlgBarcodeInfo& d) {
        BarcodeRecord r = d.Record();
        r.data[0] = 3;
        std::memcpy(r.data + 1, "123", 3);
        r.showText = 1;
        d.SetRecord(r);
    };

    dialogs.Cancel<CDlgBarcodeInfo>();
    doc->DoBarcodeInfo();
    EXPECT_EQ(std::memcmp(a->Record(), framed.data(), kBarcodeRecordSize), 0);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);

    // Place Barcode with barcodes selected edits them, not the default.
    dialogs.Ok<CDlgBarcodeInfo>(answer);
    ASSERT_TRUE(doc->OnCommand(kCmdPlaceBarcode));
    for (FrameObjBarcode* f : {a, b}) {
        BarcodeRecord r;
        BarcodeRecordRead(f->Record(), &r);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data + 1), r.data[0]), "123");
        EXPECT_EQ(r.showText, 1);
    }
    EXPECT_EQ(std::memcmp(placing->DefaultRecord(), defaults.data(), kBarcodeRecordSize), 0);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);
    EXPECT_EQ(UndoText(), "Undo Change Frame");

    // Nothing selected: the default changes and the tool is ready to place.
    tool->DeselectAll(false);
    doc->DoBarcodeInfo();
    BarcodeRecord r;
    BarcodeRecordRead(placing->DefaultRecord(), &r);
    EXPECT_EQ(r.data[0], 3);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolBarcode);

    // Cancel while placing: back to the Object tool, default kept.
    dialogs.Cancel<CDlgBarcodeInfo>();
    ASSERT_TRUE(doc->OnCommand(kCmdPlaceBarcode));
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);
    BarcodeRecordRead(placing->DefaultRecord(), &r);
    EXPECT_EQ(r.data[0], 3);
}

TEST_F(TextBarcodeWorkerTest, CounterInfoGivesTheRecordToEachSelectedCounter)
{
    auto* a = static_cast<FrameObjCounterBarcode*>(Frame(kFrameCounterBarcode, 20, 20, 100, 60));
    auto* b = static_cast<FrameObjCounterBarcode*>(Frame(kFrameCounterBarcode, 20, 100, 100, 140));
    Select({a, b});
    dialogs.Ok<CDlgCounterSpec>([](CDlgCounterSpec& d) {
        std::array<uint8_t, kCounterSpecSize> r{};
        std::memcpy(r.data(), d.Record(), kCounterSpecSize);
        r[kCounterPrefixOffset] = 'N';
        PutI32LE(r.data() + kCounterStartOffset, 500);
        d.SetRecord(r.data());
    });
    doc->DoCounterInfo();
    for (auto* f : {a, b}) {
        EXPECT_EQ(f->CounterSpec()[kCounterPrefixOffset], 'N');
        EXPECT_EQ(GetI32LE(f->CounterSpec() + kCounterStartOffset), 500);
    }
    // A counter is a barcode as well: Barcode Info reaches it too.
    dialogs.Cancel<CDlgBarcodeInfo>();
    doc->DoBarcodeInfo();
    EXPECT_EQ(dialogs.runs, 2);
}

TEST_F(TextBarcodeWorkerTest, QuickCardInfoLeavesFrameAndWorkerSeparateLists)
{
    auto* frame = static_cast<FrameObjBarcode18*>(Frame(kFrameBarcode18, 20, 20, 160, 100));
    ASSERT_NE(frame, nullptr);
    Select({frame});
    Handle given = nullptr;
    dialogs.Ok<CDlgQuickCardLayout>([&](CDlgQuickCardLayout& d) { given = d.Block(); });
    doc->DoQuickCardInfo();
    ASSERT_EQ(dialogs.runs, 1);
    Handle kept = frame->QuickCardBlock();
    ASSERT_NE(kept, nullptr);
    EXPECT_NE(kept, given) << "the frame owns a copy of the list";
    EXPECT_NE(kept, QuickCardLayoutItem()->data);
    // The shared default and the frame's list live on their own.
    EXPECT_GT(HandleGetSize(kept), 0u);
    EXPECT_EQ(doc->UndoOwner(), nullptr);

    // Nothing selected: the shared item changes and the tool places.
    tool->DeselectAll(false);
    dialogs.Ok<CDlgQuickCardLayout>([](CDlgQuickCardLayout&) {});
    doc->DoQuickCardInfo();
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolBarcode18);
    EXPECT_NE(QuickCardLayoutItem()->data, nullptr);
    EXPECT_NE(QuickCardLayoutItem()->data, frame->QuickCardBlock());
}

TEST_F(TextBarcodeWorkerTest, QuickCardSettingsReachTheFrameWithTheirBarsSwitch)
{
    auto* frame = static_cast<FrameObjBarcode13*>(Frame(kFrameBarcode13, 20, 20, 160, 100));
    ASSERT_NE(frame, nullptr);
    std::array<uint8_t, kQuickCardSpecSize> shared{};
    std::memcpy(shared.data(), QuickCardSpecRecord(), kQuickCardSpecSize);
    Select({frame});
    dialogs.Ok<CDlgQuickCard>([](CDlgQuickCard& d) {
        std::array<uint8_t, kQuickCardSpecSize> r{};
        std::memcpy(r.data(), d.Record(), kQuickCardSpecSize);
        PutU32LE(r.data() + kQuickCardSkipEmptyOffset, 1);
        PutU32LE(r.data() + kQuickCardShownOffset, 1);
        d.SetRecord(r.data());
    });
    doc->DoQuickCardSpec();
    EXPECT_EQ(GetU32LE(frame->QuickCardSpec() + kQuickCardSkipEmptyOffset), 1u);
    EXPECT_EQ(frame->Block().barcodeOption, 1);
    EXPECT_EQ(std::memcmp(QuickCardSpecRecord(), shared.data(), kQuickCardSpecSize), 0);
    EXPECT_EQ(UndoText(), "Undo Change Frame");
}

TEST_F(TextBarcodeWorkerTest, PlaceItemsSelectTheirToolOrGiveWayOnCancel)
{
    // Place Counter and Place Quick Card with nothing of their kind
    // selected: the tool is chosen, and Cancel goes back to the Object tool.
    Select({Box(20, 20, 60, 60)});
    dialogs.Cancel<CDlgCounterSpec>();
    ASSERT_TRUE(doc->OnCommand(kCmdPlaceCounter));
    EXPECT_EQ(dialogs.runs, 1);
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);

    dialogs.Ok<CDlgCounterSpec>([](CDlgCounterSpec&) {});
    ASSERT_TRUE(doc->OnCommand(kCmdPlaceCounter));
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolCounterBarcode);

    dialogs.Ok<CDlgQuickCardLayout>([](CDlgQuickCardLayout&) {});
    ASSERT_TRUE(doc->OnCommand(kCmdPlaceQuickCard));
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolBarcode18);
    dialogs.Cancel<CDlgQuickCardLayout>();
    ASSERT_TRUE(doc->OnCommand(kCmdPlaceQuickCard));
    EXPECT_EQ(doc->GetCurrentToolIndex(), kToolObject);
    EXPECT_EQ(dialogs.runs, 4);
}

}  // namespace

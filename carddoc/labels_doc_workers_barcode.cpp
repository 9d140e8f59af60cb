// The workers of the record-driven frames: barcode, quick card
// settings, quick card layout and counter. Each edits the record of
// the selected frames of its kind when there are some, else the placing
// tool's default, which then becomes the current tool so that the next
// click places a frame made from it. Cancel leaves every record alone and
// gives a placing tool that is current back to the Object tool.
#include <array>
#include <cstring>

#include "barcode/barcode_record.h"
#include "carddoc/barcode_tool.h"
#include "carddoc/labels_doc.h"
#include "carddoc/rect_tool.h"
#include "carddoc/selection_tool.h"
#include "carddoc/worker_dialog.h"
#include "dialogs/barcode_info_dialog.h"
#include "dialogs/counter_spec_dialog.h"
#include "dialogs/quick_card_dialog.h"
#include "dialogs/quick_card_layout_dialog.h"
#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "frames/barcode_frame_format.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_barcode13.h"
#include "frames/frame_obj_barcode18.h"
#include "frames/frame_obj_counter_barcode.h"
#include "records/preferences.h"

namespace {

// The end of a change made to the selected frames: handles back, the
// page drawn, the bars told.
void FinishFrames(SelectionTool* tool)
{
    tool->MarkChangedAndRedraw(true, true);
    tool->ToggleHandles(true);
    tool->PublishGraphicAttrs();
}

}  // namespace

SelectionTool* CLabelsDoc::SelectionOfType(std::initializer_list<int16_t> types)
{
    SelectionTool* tool = ObjectSelection();
    if (!tool)
        return nullptr;
    const int16_t type = tool->GetFrameType();
    for (int16_t t : types) {
        if (t == type)
            return tool;
    }
    return nullptr;
}

void CLabelsDoc::PlacingCancelled(int16_t kind)
{
    if (currentTool_ == kind)
        SetTool(kToolObject, 0);
}

void CLabelsDoc::DoBarcodeInfo()
{
    auto* placing = static_cast<BarcodeTool*>(ToolOfKind(kToolBarcode));
    SelectionTool* frames = SelectionOfType({kFrameBarcode, kFrameCounterBarcode, kFrameFieldBarcode});
    auto* first = frames ? dynamic_cast<FrameObjBarcode*>(frames->GetSelFrame(0)) : nullptr;
    if (!first)
        frames = nullptr;
    if (!frames && !placing)
        return;
    BarcodeRecord record;
    BarcodeRecordRead(frames ? first->Record() : placing->DefaultRecord(), &record);
    CDlgBarcodeInfo dialog;
    dialog.SetRecord(record);
    if (RunWorkerDialog(dialog) != 1) {
        PlacingCancelled(kToolBarcode);
        return;
    }
    std::array<uint8_t, kBarcodeRecordSize> bytes{};
    BarcodeRecordWrite(dialog.Record(), bytes.data());
    if (!frames) {
        placing->SetDefaultRecord(bytes.data());
        SetTool(kToolBarcode, 0);
        return;
    }
    frames->ToggleHandles(false);
    for (int16_t i = 0; i < frames->GetSelCount(); ++i) {
        if (auto* barcode = dynamic_cast<FrameObjBarcode*>(frames->GetSelFrame(i)))
            barcode->SetBarcodeRecord(bytes.data());
    }
    FinishFrames(frames);
    frames->SaveUndo(kUndoChangeFrame);
}

void CLabelsDoc::DoCounterInfo()
{
    auto* placing = static_cast<CounterBarcodeTool*>(ToolOfKind(kToolCounterBarcode));
    SelectionTool* frames = SelectionOfType({kFrameCounterBarcode});
    auto* first = frames ? dynamic_cast<FrameObjCounterBarcode*>(frames->GetSelFrame(0)) : nullptr;
    if (!first)
        frames = nullptr;
    if (!frames && !placing)
        return;
    CDlgCounterSpec dialog;
    dialog.SetRecord(frames ? first->CounterSpec() : placing->DefaultCounter());
    if (RunWorkerDialog(dialog) != 1) {
        PlacingCancelled(kToolCounterBarcode);
        return;
    }
    std::array<uint8_t, kCounterSpecSize> counter{};
    std::memcpy(counter.data(), dialog.Record(), kCounterSpecSize);
    if (!frames) {
        placing->SetDefaultCounter(counter.data());
        SetTool(kToolCounterBarcode, 0);
        return;
    }
    frames->ToggleHandles(false);
    for (int16_t i = 0; i < frames->GetSelCount(); ++i) {
        if (auto* f = dynamic_cast<FrameObjCounterBarcode*>(frames->GetSelFrame(i)))
            f->SetCounterSpec(counter.data());
    }
    FinishFrames(frames);
    frames->SaveUndo(kUndoChangeFrame);
}

void CLabelsDoc::DoQuickCardSpec()
{
    SelectionTool* frames = SelectionOfType({kFrameBarcode13});
    auto* first = frames ? dynamic_cast<FrameObjBarcode13*>(frames->GetSelFrame(0)) : nullptr;
    if (!first)
        frames = nullptr;
    uint8_t* shared = QuickCardSpecRecord();
    CDlgQuickCard dialog;
    dialog.SetRecord(frames ? first->QuickCardSpec() : shared);
    if (RunWorkerDialog(dialog) != 1) {
        PlacingCancelled(kToolBarcode13);
        return;
    }
    std::array<uint8_t, kQuickCardSpecSize> settings{};
    std::memcpy(settings.data(), dialog.Record(), kQuickCardSpecSize);
    if (!frames) {
        std::memcpy(shared, settings.data(), kQuickCardSpecSize);
        SetTool(kToolBarcode13, 0);
        return;
    }
    const uint8_t shown = settings[kQuickCardShownOffset];
    frames->ToggleHandles(false);
    for (int16_t i = 0; i < frames->GetSelCount(); ++i) {
        if (auto* f = dynamic_cast<FrameObjBarcode13*>(frames->GetSelFrame(i))) {
            f->SetQuickCardSpec(settings.data());
            f->SetBarcodeOption(shown);
            f->Recompute(0);
        }
    }
    FinishFrames(frames);
    frames->SaveUndo(kUndoChangeFrame);
}

void CLabelsDoc::DoQuickCardInfo()
{
    SelectionTool* frames = SelectionOfType({kFrameBarcode18});
    auto* first = frames ? dynamic_cast<FrameObjBarcode18*>(frames->GetSelFrame(0)) : nullptr;
    if (!first)
        frames = nullptr;
    QuickCardItem* shared = QuickCardLayoutItem();
    // The frame's layout read into a copy with a field list of its own, so
    // that the frame's list stays the frame's whatever the dialog does.
    QuickCardItem local;
    if (first) {
        for (size_t w = 0; w < kQuickCardItemWords; ++w)
            local.words[w] = GetU32LE(first->Header() + 4 * w);
        local.words[0] = first->Block().barcodeOption;
        local.data = first->QuickCardBlock();
        if (local.data && HandleDuplicate(&local.data) != 0)
            local.data = nullptr;
    }
    CDlgQuickCardLayout dialog;
    dialog.Init(0, frames ? &local : shared);
    if (RunWorkerDialog(dialog) != 1) {
        HandleFree(local.data);
        PlacingCancelled(kToolBarcode18);
        return;
    }
    if (!frames) {
        // The dialog's list replaces the shared one, which it frees.
        dialog.GetItem(shared);
        SetTool(kToolBarcode18, 0);
        return;
    }
    dialog.GetItem(&local);
    frames->ToggleHandles(false);
    for (int16_t i = 0; i < frames->GetSelCount(); ++i) {
        if (auto* f = dynamic_cast<FrameObjBarcode18*>(frames->GetSelFrame(i))) {
            f->SetQuickCardBlock(local.data);
            f->SetBarcodeOption(uint8_t(local.words[0] & 0xFF));
            f->Recompute(0);
        }
    }
    HandleFree(local.data);
    FinishFrames(frames);
    // The change of a field list cannot be taken back.
    SetUndoOwner(nullptr);
}

// The document's side of the tools: which tool is current, the tools bar
// that shows it, and the keys, edit commands and menu choices the current
// tool receives.
#include <algorithm>
#include <cmath>
#include <cstring>

#include <QWidget>

#include "carddoc/barcode_tool.h"
#include "carddoc/card_shell.h"
#include "carddoc/card_view_services.h"
#include "carddoc/frame_text_tool.h"
#include "carddoc/hand_tool.h"
#include "carddoc/labels_doc.h"
#include "carddoc/picture_tool.h"
#include "carddoc/power_text_tool.h"
#include "carddoc/preview_tool.h"
#include "carddoc/rect_tool.h"
#include "carddoc/rotate_tool.h"
#include "carddoc/star_tool.h"
#include "carddoc/zoom_tool.h"
#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "foundation/keys.h"
#include "foundation/units.h"
#include "frames/frame_obj.h"
#include "platform/key_event.h"
#include "records/command_ids.h"
#include "typography/font_size_range.h"

namespace {

// A target the modifier keys choose.
constexpr int16_t kTargetByKeys = 255;

}  // namespace

void CLabelsDoc::OnToolSelect(uint32_t commandId)
{
    if (commandId >= kFirstToolCommand && commandId <= kLastToolCommand)
        SetTool(int16_t(commandId - kFirstToolCommand), 0);
}

void CLabelsDoc::SetTool(int16_t kind, uint16_t argument)
{
    FrameTool* tool = ToolOfKind(kind);
    if (!tool)
        return;
    UpdateToolButtons(kind);
    if (kind == currentTool_)
        return;
    FrameTool* old = ToolOfKind(currentTool_);
    if (old)
        old->Deactivate();
    currentTool_ = kind;
    tool->Activate(old, int16_t(argument));
}

void CLabelsDoc::UpdateToolButtons(int16_t kind)
{
    if (view_)
        view_->UpdateToolButtons(kind);
}

bool CLabelsDoc::KeyDown(const KeyEvent& key)
{
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->KeyDown(key);
    return false;
}

bool CLabelsDoc::CanDoEditCommand(int16_t code)
{
    FrameTool* tool = ToolOfKind(currentTool_);
    return tool && tool->CanDoEditCommand(code);
}

bool CLabelsDoc::DoEditCommand(int16_t code)
{
    FrameTool* tool = ToolOfKind(currentTool_);
    return tool && tool->DoEditCommand(code);
}

void CLabelsDoc::SetFontSize(int16_t size)
{
    size = int16_t(ClampFontSize(size));
    textAttrs_.size = size;
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetFontSize(size);
}

void CLabelsDoc::SetFontStyle(int16_t bits, int16_t a, int16_t b)
{
    textAttrs_.style = bits;
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetFontStyle(bits, a, b);
}

void CLabelsDoc::SetCaseStyle(int16_t /*value*/)
{
    // The item toggles: whatever it asks for, a case style switches off and
    // none switches small capitals on.
    const int16_t value = textAttrs_.caseStyle != 0 ? 0 : int16_t(GeneralPref(kPrefSmallCaps));
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetCaseStyle(value);
}

void CLabelsDoc::SetBaselineStyle(int16_t value)
{
    if (textAttrs_.baselineStyle == uint8_t(value))
        value = 0;
    textAttrs_.baselineStyle = uint8_t(value);
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetBaselineStyle(value);
}

void CLabelsDoc::SetAlignment(int16_t value)
{
    textAttrs_.alignment = uint8_t(value);
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetAlignment(value);
}

void CLabelsDoc::SetLineSpacing(int16_t value)
{
    if (textAttrs_.lineSpacing == value)
        value = 0;
    textAttrs_.lineSpacing = value;
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetLineSpacing(value);
}

void CLabelsDoc::SetDatabaseField(int16_t index)
{
    FrameTool* receiver = nullptr;
    if (currentTool_ == kToolText) {
        receiver = ToolOfKind(kToolText);
    } else if (currentTool_ == kToolObject && SelectionCount() > 0 && SelectedFrame(0) &&
               SelectedFrame(0)->GetType() == kFrameFieldBarcode && IsKeyDown(kVkShift)) {
        receiver = ToolOfKind(kToolObject);
    } else {
        SetTool(kToolDatabaseField, 0);
        receiver = ToolOfKind(kToolDatabaseField);
    }
    if (receiver)
        receiver->SetDatabaseField(index);
    if (view_)
        view_->TakeFocus();
}

namespace {

// The target the modifier keys choose; a later key wins.
int16_t TargetByKeys(int16_t target, bool withControl)
{
    if (target != kTargetByKeys)
        return target;
    int16_t chosen = 0;
    if (IsKeyDown(kVkShift))
        chosen = 1;
    if (withControl && IsKeyDown(kVkControl))
        chosen = 2;
    if (IsKeyDown(kVkAlt))
        chosen = 3;
    return chosen;
}

}  // namespace

void CLabelsDoc::SetColor(int16_t value, int16_t target)
{
    target = TargetByKeys(target, true);
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetColor(value, target);
}

void CLabelsDoc::SetPattern(int16_t value, int16_t target)
{
    target = TargetByKeys(target, true);
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetPattern(value, target);
}

void CLabelsDoc::SetShade(int16_t value, int16_t target)
{
    target = TargetByKeys(target, false);
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetShade(value, target);
}

void CLabelsDoc::SetBorderStyle(int16_t value)
{
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetBorderStyle(value);
}

void CLabelsDoc::SetLineWidth(int16_t value)
{
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetLineWidth(value);
}

// ---- the drawing tools ----

void CLabelsDoc::MakeDrawingTools()
{
    tools_[kToolFrameText] = std::make_unique<FrameTextTool>(this);
    tools_[kToolPowerText] = std::make_unique<PowerTextTool>(this);
    tools_[kToolHand] = std::make_unique<HandTool>(this);
    tools_[kToolRect] = std::make_unique<RectTool>(this);
    tools_[kToolRoundRect] = std::make_unique<RoundRectTool>(this);
    tools_[kToolEllipse] = std::make_unique<EllipseTool>(this);
    tools_[kToolStar] = std::make_unique<StarTool>(this);
    tools_[kToolLine] = std::make_unique<LineTool>(this);
    tools_[kToolArc] = std::make_unique<ArcTool>(this);
    tools_[kToolRotate] = std::make_unique<RotateTool>(this);
    tools_[kToolZoom] = std::make_unique<ZoomTool>(this);
    tools_[kToolPreview] = std::make_unique<PreviewTool>(this);
    tools_[kToolBarcode] = std::make_unique<BarcodeTool>(this);
    tools_[kToolCounterBarcode] = std::make_unique<CounterBarcodeTool>(this);
    tools_[kToolBarcode18] = std::make_unique<Barcode18Tool>(this);
    tools_[kToolPicture] = std::make_unique<PictureTool>(this);
    tools_[kToolDatabaseField] = std::make_unique<DBFieldTool>(this);
    tools_[kToolBarcode13] = std::make_unique<Barcode13Tool>(this);
}

bool CLabelsDoc::FrameTextFormat(uint8_t* record288)
{
    auto* tool = dynamic_cast<FrameTextTool*>(ToolOfKind(kToolFrameText));
    if (!tool)
        return false;
    std::memcpy(record288, tool->Format(), kStyleRecordSize);
    return true;
}

// ---- the text bar ----

void CLabelsDoc::SetTextAttrs(const TextAttrs& attrs)
{
    textAttrs_ = attrs;
    CardShell* shell = CurrentCardShell();
    if (!shell || !view_)
        return;
    const bool styled = attrs.style != -1 && attrs.style != kAttrNotSet;
    TextBarState state;
    state.fontIndex = CurrentFontListIndex();
    state.size = attrs.size;
    state.bold = styled && (attrs.style & 1);
    state.italic = styled && (attrs.style & 2);
    state.underline = styled && (attrs.style & 4);
    state.alignment = attrs.alignment;
    state.lineSpacing = attrs.lineSpacing;
    shell->ShowTextBar(view_->CaptureWidget(), state);
}

// The card document's command map: the menus, context menus, the text bar
// and the drawing-tools bar of a card window send these ids, and each is
// carried out here (mostly by a worker, a tool, or one attribute handed to
// the current tool) and enabled, checked or relabelled by the same rules.
#include <algorithm>
#include <array>

#include "carddoc/labels_doc.h"
#include "carddoc/selection_tool.h"
#include "foundation/string_table.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "platform/command_target.h"
#include "records/command_ids.h"
#include "text/spell_checker.h"
#include "text/text_tool.h"

namespace {

// Bar item states the conditions read.
constexpr int16_t kBarFonts = 131;
constexpr int16_t kBarText = 132;
constexpr int16_t kBarAlignment = 134;

constexpr int16_t kToolPicture = 17;
constexpr int32_t kCantUndoText = 521;

// The fixed values of the Line Width and Size menus.
constexpr std::array<int16_t, 7> kLineWidths = {1, 2, 4, 6, 8, 12, 20};
constexpr std::array<int16_t, 16> kFontSizes = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
// A size the Larger and Smaller items count from when it is mixed.
constexpr int16_t kMixedSizeBase = 12;

// The line spacing values of Single, One and a half and Double.
constexpr std::array<int16_t, 3> kSpacings = {0, 3, 4};
// The spelling modes of Word, Paragraph and Story.
constexpr std::array<SpellMode, 3> kSpellModes = {SpellMode::kWord, SpellMode::kParagraph, SpellMode::kStory};

bool In(uint32_t id, uint32_t first, uint32_t last) { return id >= first && id <= last; }

bool IsFieldFrameType(int16_t type)
{
    return type == kFrameBarcode || type == kFrameCounterBarcode || type == kFrameBarcode13 ||
           type == kFrameBarcode18 || type == kFrameFieldBarcode;
}

bool IsMixed(int16_t value) { return value == kAttrNotSet || value == -1; }

}  // namespace

// ---- the conditions of the update rules ----

bool CLabelsDoc::HasObjectSelection() { return ObjectSelection() != nullptr; }

int16_t CLabelsDoc::SelectionFrameType()
{
    SelectionTool* tool = ObjectSelection();
    return tool ? tool->GetFrameType() : int16_t(-1);
}

bool CLabelsDoc::HasFieldSelection() { return HasObjectSelection() && IsFieldFrameType(SelectionFrameType()); }

bool CLabelsDoc::IsTextEditing() { return currentTool_ == kToolText && TextToolFrame() != nullptr; }

bool CLabelsDoc::FontItemsOn() { return BarItemState(kBarFonts) || BarItemState(kBarText); }

// ---- the style toggles ----

void CLabelsDoc::ToggleStyleBit(int16_t bit)
{
    int16_t style = textAttrs_.style;
    if (IsMixed(style))
        style = 0;
    style = int16_t(style ^ bit);
    const int16_t mask = int16_t(bit | ((style & bit) != 0 ? 0x4000 : 0));
    SetFontStyle(style, 0, mask);
}

bool CLabelsDoc::OnCommand(uint32_t id)
{
    if (OnWorkerCommand(id) || OnTemplateCommand(id))
        return true;
    if (In(id, kCmdPlaceFieldFirst, kCmdPlaceFieldLast)) {
        SetDatabaseField(int16_t(id - kCmdPlaceFieldFirst));
        return true;
    }
    if (In(id, kCmdInsertFieldFirst, kCmdInsertFieldLast)) {
        SetDatabaseField(int16_t(id - kCmdInsertFieldFirst));
        return true;
    }
    if (In(id, kCmdBorderColourFirst, kCmdBorderColourLast)) {
        SetColor(int16_t(id - kCmdBorderColourFirst), 0);
        return true;
    }
    if (In(id, kCmdBorderShadeFirst, kCmdBorderShadeLast)) {
        SetShade(int16_t(10 * (id - kCmdBorderShadeFirst)), 0);
        return true;
    }
    if (In(id, kCmdFillColourFirst, kCmdFillColourLast)) {
        SetColor(int16_t(id - kCmdFillColourFirst), 1);
        return true;
    }
    if (In(id, kCmdFillShadeFirst, kCmdFillShadeLast)) {
        SetShade(int16_t(10 * (id - kCmdFillShadeFirst)), 1);
        return true;
    }
    if (In(id, kCmdBackgroundFirst, kCmdBackgroundLast)) {
        SetColor(int16_t(id - kCmdBackgroundFirst), 2);
        return true;
    }
    if (In(id, kCmdPatternFirst, kCmdPatternLast)) {
        SetPattern(int16_t(id - kCmdPatternFirst), 1);
        return true;
    }
    if (In(id, kCmdLineStyleFirst, kCmdLineStyleLast)) {
        SetBorderStyle(int16_t(id - kCmdLineStyleFirst + 1));
        return true;
    }
    if (In(id, kCmdLineWidthFirst, kCmdLineWidthLast)) {
        manager_->ResetFrameStates(kDrawNeeded);
        SetLineWidth(kLineWidths[id - kCmdLineWidthFirst]);
        return true;
    }
    if (In(id, kCmdSizeFirst, kCmdSizeLast)) {
        SetFontSize(kFontSizes[id - kCmdSizeFirst]);
        return true;
    }
    if (In(id, kCmdTextColourFirst, kCmdTextColourLast)) {
        SetColor(int16_t(id - kCmdTextColourFirst), 3);
        return true;
    }
    if (In(id, kCmdTextShadeFirst, kCmdTextShadeLast)) {
        SetShade(int16_t(10 * (id - kCmdTextShadeFirst)), 3);
        return true;
    }
    if (In(id, kCmdAlignFirst, kCmdAlignLast)) {
        SetAlignment(int16_t(id - kCmdAlignFirst + 1));
        return true;
    }
    if (In(id, kCmdSpacingSingle, kCmdSpacingLast)) {
        SetLineSpacing(kSpacings[id - kCmdSpacingSingle]);
        return true;
    }
    if (In(id, kCmdSpellWord, kCmdSpellLast)) {
        if (IsTextEditing())
            SpellCheckText(textContext_.get(), kSpellModes[id - kCmdSpellWord]);
        return true;
    }
    if (id == kCmdPageNumberFirst || In(id, kCmdPageNumberFirst + 2, kCmdPageNumberLast)) {
        if (IsTextEditing())
            Tool()->InsertPageNumber(int16_t(id - kCmdPageNumberFirst));
        return true;
    }
    if (In(id, kCmdAlignLeft, kCmdAlignRight)) {
        SetAlignment(int16_t(id - kCmdAlignLeft + 1));
        return true;
    }
    switch (id) {
    case kCmdImportText: ImportText(); return true;
    case kCmdImportGraphics:
        // Chosen again before the last picture was placed: the user wants
        // another file, so the chooser runs again.
        if (currentTool_ == kToolPicture)
            SelectTool(kToolObject);
        SetTool(kToolPicture, 0);
        return true;
    case kCmdExportPicture: ExportAsPicture(); return true;
    case kCmdEditSelectAll: DoEditCommand(5); return true;
    case kCmdShowGuides:
        display_[1] = display_[1] != 0 ? 0 : 1;
        RefreshView();
        return true;
    case kCmdShowNonPrinting:
        display_[4] = display_[4] != 0 ? 0 : 1;
        ComputeMargins();
        RefreshView();
        return true;
    case kCmdGotoPage: DoGotoPage(); return true;
    case kCmdRulerSettings: DoRulerSettings(); return true;
    case kCmdGuideSettings: DoGuideSettings(); return true;
    case kCmdObjectInfo: DoObjectInfo(); return true;
    case kCmdFrameInfo: DoFrameInfo(); return true;
    case kCmdFillInfo: DoFillInfo(); return true;
    case kCmdTextRunaround: DoTextRunaround(); return true;
    case kCmdAlignObjects: DoAlignObjects(); return true;
    case kCmdDuplicate:
        if (HasObjectSelection())
            DuplicateFrames(10, 10);
        return true;
    case kCmdDelete: DeleteSelection(); return true;
    case kCmdGroup:
    case kCmdGroupButton: GroupSelection(); return true;
    case kCmdUngroup:
    case kCmdUngroupButton: UngroupSelection(); return true;
    case kCmdBringToFront:
    case kCmdBringToFrontButton:
        if (HasObjectSelection())
            BringToFront();
        return true;
    case kCmdSendToBack:
    case kCmdSendToBackButton:
        if (HasObjectSelection())
            SendToBack();
        return true;
    case kCmdShuffleForward:
        if (HasObjectSelection())
            ShuffleForward();
        return true;
    case kCmdBarcodeMark:
        if (HasFieldSelection())
            ObjectSelection()->ToggleBarcodeMark();
        return true;
    case kCmdStarInfo: OnStarInfo(); return true;
    case kCmdPowerTextInfo: OnPowerTextInfo(); return true;
    case kCmdBorderShadeOther: DoOtherShade(0); return true;
    case kCmdFillShadeOther: DoOtherShade(1); return true;
    case kCmdTextShadeOther: DoOtherShade(3); return true;
    case kCmdLineWidthOther: DoOtherWidth(); return true;
    case kCmdSizeOther: DoOtherSize(); return true;
    case kCmdFontItem: return true;
    case kCmdLarger:
        SetFontSize(int16_t((IsMixed(textAttrs_.size) ? kMixedSizeBase : textAttrs_.size) + 2));
        return true;
    case kCmdSmaller:
        SetFontSize(int16_t((IsMixed(textAttrs_.size) ? kMixedSizeBase : textAttrs_.size) - 2));
        return true;
    case kCmdStylePlain: SetFontStyle(0, 1, 0); return true;
    case kCmdStyleBold:
    case kCmdBold: ToggleStyleBit(1); return true;
    case kCmdStyleItalic:
    case kCmdItalic: ToggleStyleBit(2); return true;
    case kCmdStyleUnderline:
    case kCmdUnderline: ToggleStyleBit(4); return true;
    case kCmdSmallCaps: SetCaseStyle(1); return true;
    case kCmdSuperscript: SetBaselineStyle(-1); return true;
    case kCmdSubscript: SetBaselineStyle(1); return true;
    case kCmdJustify: SetAlignment(4); return true;
    case kCmdSingleSpacing: SetLineSpacing(3); return true;
    case kCmdDoubleSpacing: SetLineSpacing(4); return true;
    default: return false;
    }
}

bool CLabelsDoc::OnUpdateCommand(CmdUI& ui)
{
    if (OnUpdateWorkerCommand(ui) || OnUpdateTemplateCommand(ui))
        return true;
    const uint32_t id = ui.id;
    const bool notText = currentTool_ != kToolText;
    const GraphicAttrs& g = graphicAttrs_;
    const TextAttrs& t = textAttrs_;

    if (In(id, kCmdPlaceFieldFirst, kCmdPlaceFieldLast)) {
        ui.Enable(notText);
        return true;
    }
    if (In(id, kCmdInsertFieldFirst, kCmdInsertFieldLast) || In(id, kCmdSpellWord, kCmdSpellLast) ||
        id == kCmdPageNumberFirst || In(id, kCmdPageNumberFirst + 2, kCmdPageNumberLast)) {
        ui.Enable(IsTextEditing());
        return true;
    }
    if (In(id, kCmdBorderColourFirst, kCmdBorderColourLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.lineColour == int16_t(id - kCmdBorderColourFirst));
        return true;
    }
    if (In(id, kCmdBorderShadeFirst, kCmdBorderShadeLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.lineShade == int16_t(10 * (id - kCmdBorderShadeFirst)));
        return true;
    }
    if (In(id, kCmdFillColourFirst, kCmdFillColourLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.fillColour == int16_t(id - kCmdFillColourFirst));
        return true;
    }
    if (In(id, kCmdFillShadeFirst, kCmdFillShadeLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.fillShade == int16_t(10 * (id - kCmdFillShadeFirst)));
        return true;
    }
    if (In(id, kCmdBackgroundFirst, kCmdBackgroundLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.background == int16_t(id - kCmdBackgroundFirst));
        return true;
    }
    if (In(id, kCmdPatternFirst, kCmdPatternLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.fillPattern == int16_t(id - kCmdPatternFirst));
        return true;
    }
    if (In(id, kCmdLineStyleFirst, kCmdLineStyleLast)) {
        const int16_t style = int16_t(id - kCmdLineStyleFirst + 1);
        bool on = notText;
        // The double and triple styles need a frame with straight sides.
        if (style >= 7 && HasObjectSelection()) {
            const int16_t type = SelectionFrameType();
            if (type == kFramePlain || type == kFrameRoundRect || type == kFrameEllipse || type == kFrameArc)
                on = false;
        }
        ui.Enable(on);
        ui.SetCheck(g.borderStyle == style);
        return true;
    }
    if (In(id, kCmdLineWidthFirst, kCmdLineWidthLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.lineWidth == kLineWidths[id - kCmdLineWidthFirst]);
        return true;
    }
    if (In(id, kCmdSizeFirst, kCmdSizeLast)) {
        ui.Enable(FontItemsOn());
        ui.SetCheck(t.size == kFontSizes[id - kCmdSizeFirst]);
        return true;
    }
    if (In(id, kCmdTextColourFirst, kCmdTextColourLast)) {
        ui.Enable(IsTextEditing() || HasFieldSelection());
        ui.SetCheck(g.textColour == int16_t(id - kCmdTextColourFirst));
        return true;
    }
    if (In(id, kCmdTextShadeFirst, kCmdTextShadeLast)) {
        ui.Enable(IsTextEditing() || HasFieldSelection());
        ui.SetCheck(g.textShade == int16_t(10 * (id - kCmdTextShadeFirst)));
        return true;
    }
    if (In(id, kCmdAlignFirst, kCmdAlignLast)) {
        ui.Enable(IsTextEditing());
        ui.SetCheck(t.alignment == id - kCmdAlignFirst + 1);
        return true;
    }
    if (In(id, kCmdSpacingSingle, kCmdSpacingLast)) {
        ui.Enable(IsTextEditing());
        ui.SetCheck(t.lineSpacing == kSpacings[id - kCmdSpacingSingle]);
        return true;
    }
    if (In(id, kCmdAlignLeft, kCmdAlignRight)) {
        ui.Enable(BarItemState(kBarText) || BarItemState(kBarAlignment));
        return true;
    }
    switch (id) {
    case kCmdImportText: ui.Enable(IsTextEditing()); return true;
    case kCmdImportGraphics:
    case kCmdExportPicture:
    case kCmdGotoPage:
    case kCmdRulerSettings:
    case kCmdGuideSettings: return true;
    case kCmdExportDatabase: ui.Enable(false); return true;
    case kCmdEditSelectAll: ui.Enable(CanDoEditCommand(5)); return true;
    case kCmdShowGuides: ui.SetCheck(display_[1] != 0); return true;
    case kCmdShowNonPrinting: ui.SetCheck(display_[4] != 0); return true;
    case kCmdObjectInfo:
    case kCmdFillInfo:
    case kCmdDuplicate:
    case kCmdDelete:
    case kCmdBringToFront:
    case kCmdBringToFrontButton:
    case kCmdSendToBack:
    case kCmdSendToBackButton:
    case kCmdShuffleForward: ui.Enable(HasObjectSelection()); return true;
    case kCmdFrameInfo: ui.Enable(HasObjectSelection() && SelectionFrameType() != kFrameLine); return true;
    case kCmdTextRunaround: ui.Enable(HasObjectSelection() || IsTextEditing()); return true;
    case kCmdGroup:
    case kCmdGroupButton: {
        SelectionTool* tool = currentTool_ == kToolObject ? SelectionToolOf(this) : nullptr;
        ui.Enable(tool && tool->CanGroup());
        return true;
    }
    case kCmdUngroup:
    case kCmdUngroupButton: {
        SelectionTool* tool = currentTool_ == kToolObject ? SelectionToolOf(this) : nullptr;
        ui.Enable(tool && tool->CanUngroup());
        return true;
    }
    case kCmdAlignObjects: {
        SelectionTool* tool = ObjectSelection();
        ui.Enable(tool && tool->GetSelCount() >= 2);
        return true;
    }
    case kCmdBarcodeMark:
        ui.Enable(HasFieldSelection());
        ui.SetCheck(HasFieldSelection() && ObjectSelection()->AllBarcodeMarked());
        return true;
    case kCmdStarInfo: ui.Enable(CanOpenStarInfo()); return true;
    case kCmdPowerTextInfo: ui.Enable(CanOpenPowerTextInfo()); return true;
    case kCmdBorderShadeOther:
        ui.Enable(notText);
        ui.SetCheck(g.lineShade % 10 != 0);
        return true;
    case kCmdFillShadeOther:
        ui.Enable(notText);
        ui.SetCheck(g.fillShade % 10 != 0);
        return true;
    case kCmdTextShadeOther:
        ui.Enable(IsTextEditing() || HasFieldSelection());
        ui.SetCheck(g.textShade % 10 != 0);
        return true;
    case kCmdLineWidthOther:
        ui.Enable(notText);
        ui.SetCheck(std::find(kLineWidths.begin(), kLineWidths.end(), g.lineWidth) == kLineWidths.end());
        return true;
    case kCmdSizeOther:
        ui.Enable(FontItemsOn());
        ui.SetCheck(std::find(kFontSizes.begin(), kFontSizes.end(), t.size) == kFontSizes.end());
        return true;
    case kCmdFontItem: ui.Enable(FontItemsOn()); return true;
    case kCmdLarger: ui.Enable(FontItemsOn() && (IsMixed(t.size) || t.size < 400)); return true;
    case kCmdSmaller: ui.Enable(FontItemsOn() && (t.size > 6 || IsMixed(t.size))); return true;
    case kCmdStylePlain:
        ui.Enable(FontItemsOn());
        ui.SetCheck(t.style == 0 && t.baselineStyle == 0 && t.caseStyle == 0);
        return true;
    case kCmdStyleBold:
    case kCmdStyleItalic:
    case kCmdStyleUnderline:
    case kCmdBold:
    case kCmdItalic:
    case kCmdUnderline: {
        const int16_t bit = (id == kCmdStyleBold || id == kCmdBold) ? 1 : (id == kCmdStyleItalic || id == kCmdItalic) ? 2 : 4;
        ui.Enable(FontItemsOn());
        ui.SetCheck(!IsMixed(t.style) && (t.style & bit) != 0);
        return true;
    }
    case kCmdSmallCaps:
        ui.Enable(FontItemsOn() && !HasFieldSelection());
        ui.SetCheck(t.caseStyle == 1);
        return true;
    case kCmdSuperscript:
        ui.Enable(FontItemsOn() && !HasFieldSelection());
        ui.SetCheck(t.baselineStyle == 255);
        return true;
    case kCmdSubscript:
        ui.Enable(FontItemsOn() && !HasFieldSelection());
        ui.SetCheck(t.baselineStyle == 1);
        return true;
    case kCmdJustify:
    case kCmdSingleSpacing:
    case kCmdDoubleSpacing: ui.Enable(BarItemState(kBarText)); return true;
    default: return false;
    }
}

std::string CLabelsDoc::UndoMenuText()
{
    std::string text;
    FrameTool* owner = UndoOwner();
    if (owner && owner->GetUndoMenuText(&text))
        return text;
    return LookupString(kCantUndoText);
}

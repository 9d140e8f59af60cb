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

enum : uint32_t {
    kImportText = 32833,
    kImportGraphics = 32834,
    kExportDatabase = 32830,
    kExportPicture = 34017,
    kSelectAll = 32842,
    kShowGuides = 32856,
    kShowNonPrinting = 32857,
    kGotoPage = 32860,
    kRulerSettings = 32953,
    kGuideSettings = 32954,
    kObjectInfo = 32881,
    kFrameInfo = 32882,
    kFillInfo = 32883,
    kTextRunaround = 32884,
    kDuplicate = 32885,
    kDelete = 32886,
    kGroup = 32887,
    kGroupButton = 33273,
    kUngroup = 32888,
    kUngroupButton = 33274,
    kBringToFront = 32889,
    kBringToFrontButton = 33278,
    kSendToBack = 32890,
    kSendToBackButton = 33276,
    kShuffleForward = 32891,
    kAlignObjects = 32892,
    kBarcodeMark = 32896,
    kStarInfo = 34014,
    kPowerTextInfo = 34016,
    kPlaceFieldFirst = 33144,
    kPlaceFieldLast = 33165,
    kBorderColourFirst = 33405,
    kBorderColourLast = 33420,
    kBorderShadeFirst = 33421,
    kBorderShadeLast = 33431,
    kBorderShadeOther = 33432,
    kFillColourFirst = 33105,
    kFillColourLast = 33120,
    kFillShadeFirst = 32933,
    kFillShadeLast = 32943,
    kFillShadeOther = 32944,
    kBackgroundFirst = 33122,
    kBackgroundLast = 33137,
    kPatternFirst = 34218,
    kPatternLast = 34250,
    kLineStyleFirst = 33321,
    kLineStyleLast = 33329,
    kLineWidthFirst = 32945,
    kLineWidthLast = 32950,
    kLineWidthOther = 32951,
    kFontItem = 33442,
    kSizeFirst = 33443,
    kSizeLast = 33458,
    kLarger = 33459,
    kSmaller = 33460,
    kSizeOther = 33461,
    kPlain = 33462,
    kBold = 33463,
    kItalic = 33464,
    kUnderline = 33465,
    kSmallCaps = 33466,
    kSuperscript = 33467,
    kSubscript = 33468,
    kTextColourFirst = 33089,
    kTextColourLast = 33104,
    kTextShadeFirst = 32906,
    kTextShadeLast = 32916,
    kTextShadeOther = 32917,
    kAlignFirst = 33434,
    kAlignLast = 33437,
    kSpacingSingle = 32923,
    kSpacingLast = 32925,
    kSpellWord = 32930,
    kSpellLast = 32932,
    kPageNumberFirst = 33306,
    kPageNumberLast = 33311,
    kInsertFieldFirst = 33184,
    kInsertFieldLast = 33205,
    kBoldButton = 33260,
    kItalicButton = 33261,
    kUnderlineButton = 33262,
    kAlignLeftButton = 33263,
    kAlignRightButton = 33265,
    kJustifyButton = 33266,
    kSingleSpacingButton = 33267,
    kDoubleSpacingButton = 33268,
};

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
    if (In(id, kPlaceFieldFirst, kPlaceFieldLast)) {
        SetDatabaseField(int16_t(id - kPlaceFieldFirst));
        return true;
    }
    if (In(id, kInsertFieldFirst, kInsertFieldLast)) {
        SetDatabaseField(int16_t(id - kInsertFieldFirst));
        return true;
    }
    if (In(id, kBorderColourFirst, kBorderColourLast)) {
        SetColor(int16_t(id - kBorderColourFirst), 0);
        return true;
    }
    if (In(id, kBorderShadeFirst, kBorderShadeLast)) {
        SetShade(int16_t(10 * (id - kBorderShadeFirst)), 0);
        return true;
    }
    if (In(id, kFillColourFirst, kFillColourLast)) {
        SetColor(int16_t(id - kFillColourFirst), 1);
        return true;
    }
    if (In(id, kFillShadeFirst, kFillShadeLast)) {
        SetShade(int16_t(10 * (id - kFillShadeFirst)), 1);
        return true;
    }
    if (In(id, kBackgroundFirst, kBackgroundLast)) {
        SetColor(int16_t(id - kBackgroundFirst), 2);
        return true;
    }
    if (In(id, kPatternFirst, kPatternLast)) {
        SetPattern(int16_t(id - kPatternFirst), 1);
        return true;
    }
    if (In(id, kLineStyleFirst, kLineStyleLast)) {
        SetBorderStyle(int16_t(id - kLineStyleFirst + 1));
        return true;
    }
    if (In(id, kLineWidthFirst, kLineWidthLast)) {
        manager_->ResetFrameStates(kDrawNeeded);
        SetLineWidth(kLineWidths[id - kLineWidthFirst]);
        return true;
    }
    if (In(id, kSizeFirst, kSizeLast)) {
        SetFontSize(kFontSizes[id - kSizeFirst]);
        return true;
    }
    if (In(id, kTextColourFirst, kTextColourLast)) {
        SetColor(int16_t(id - kTextColourFirst), 3);
        return true;
    }
    if (In(id, kTextShadeFirst, kTextShadeLast)) {
        SetShade(int16_t(10 * (id - kTextShadeFirst)), 3);
        return true;
    }
    if (In(id, kAlignFirst, kAlignLast)) {
        SetAlignment(int16_t(id - kAlignFirst + 1));
        return true;
    }
    if (In(id, kSpacingSingle, kSpacingLast)) {
        SetLineSpacing(kSpacings[id - kSpacingSingle]);
        return true;
    }
    if (In(id, kSpellWord, kSpellLast)) {
        if (IsTextEditing())
            SpellCheckText(textContext_.get(), kSpellModes[id - kSpellWord]);
        return true;
    }
    if (id == kPageNumberFirst || In(id, kPageNumberFirst + 2, kPageNumberLast)) {
        if (IsTextEditing())
            Tool()->InsertPageNumber(int16_t(id - kPageNumberFirst));
        return true;
    }
    if (In(id, kAlignLeftButton, kAlignRightButton)) {
        SetAlignment(int16_t(id - kAlignLeftButton + 1));
        return true;
    }
    switch (id) {
    case kImportText: ImportText(); return true;
    case kImportGraphics:
        // Chosen again before the last picture was placed: the user wants
        // another file, so the chooser runs again.
        if (currentTool_ == kToolPicture)
            SelectTool(kToolObject);
        SetTool(kToolPicture, 0);
        return true;
    case kExportPicture: ExportAsPicture(); return true;
    case kSelectAll: DoEditCommand(5); return true;
    case kShowGuides:
        display_[1] = display_[1] != 0 ? 0 : 1;
        RefreshView();
        return true;
    case kShowNonPrinting:
        display_[4] = display_[4] != 0 ? 0 : 1;
        ComputeMargins();
        RefreshView();
        return true;
    case kGotoPage: DoGotoPage(); return true;
    case kRulerSettings: DoRulerSettings(); return true;
    case kGuideSettings: DoGuideSettings(); return true;
    case kObjectInfo: DoObjectInfo(); return true;
    case kFrameInfo: DoFrameInfo(); return true;
    case kFillInfo: DoFillInfo(); return true;
    case kTextRunaround: DoTextRunaround(); return true;
    case kAlignObjects: DoAlignObjects(); return true;
    case kDuplicate:
        if (HasObjectSelection())
            DuplicateFrames(10, 10);
        return true;
    case kDelete: DeleteSelection(); return true;
    case kGroup:
    case kGroupButton: GroupSelection(); return true;
    case kUngroup:
    case kUngroupButton: UngroupSelection(); return true;
    case kBringToFront:
    case kBringToFrontButton:
        if (HasObjectSelection())
            BringToFront();
        return true;
    case kSendToBack:
    case kSendToBackButton:
        if (HasObjectSelection())
            SendToBack();
        return true;
    case kShuffleForward:
        if (HasObjectSelection())
            ShuffleForward();
        return true;
    case kBarcodeMark:
        if (HasFieldSelection())
            ObjectSelection()->ToggleBarcodeMark();
        return true;
    case kStarInfo: OnStarInfo(); return true;
    case kPowerTextInfo: OnPowerTextInfo(); return true;
    case kBorderShadeOther: DoOtherShade(0); return true;
    case kFillShadeOther: DoOtherShade(1); return true;
    case kTextShadeOther: DoOtherShade(3); return true;
    case kLineWidthOther: DoOtherWidth(); return true;
    case kSizeOther: DoOtherSize(); return true;
    case kFontItem: return true;
    case kLarger:
        SetFontSize(int16_t((IsMixed(textAttrs_.size) ? kMixedSizeBase : textAttrs_.size) + 2));
        return true;
    case kSmaller:
        SetFontSize(int16_t((IsMixed(textAttrs_.size) ? kMixedSizeBase : textAttrs_.size) - 2));
        return true;
    case kPlain: SetFontStyle(0, 1, 0); return true;
    case kBold:
    case kBoldButton: ToggleStyleBit(1); return true;
    case kItalic:
    case kItalicButton: ToggleStyleBit(2); return true;
    case kUnderline:
    case kUnderlineButton: ToggleStyleBit(4); return true;
    case kSmallCaps: SetCaseStyle(1); return true;
    case kSuperscript: SetBaselineStyle(-1); return true;
    case kSubscript: SetBaselineStyle(1); return true;
    case kJustifyButton: SetAlignment(4); return true;
    case kSingleSpacingButton: SetLineSpacing(3); return true;
    case kDoubleSpacingButton: SetLineSpacing(4); return true;
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

    if (In(id, kPlaceFieldFirst, kPlaceFieldLast)) {
        ui.Enable(notText);
        return true;
    }
    if (In(id, kInsertFieldFirst, kInsertFieldLast) || In(id, kSpellWord, kSpellLast) ||
        id == kPageNumberFirst || In(id, kPageNumberFirst + 2, kPageNumberLast)) {
        ui.Enable(IsTextEditing());
        return true;
    }
    if (In(id, kBorderColourFirst, kBorderColourLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.lineColour == int16_t(id - kBorderColourFirst));
        return true;
    }
    if (In(id, kBorderShadeFirst, kBorderShadeLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.lineShade == int16_t(10 * (id - kBorderShadeFirst)));
        return true;
    }
    if (In(id, kFillColourFirst, kFillColourLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.fillColour == int16_t(id - kFillColourFirst));
        return true;
    }
    if (In(id, kFillShadeFirst, kFillShadeLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.fillShade == int16_t(10 * (id - kFillShadeFirst)));
        return true;
    }
    if (In(id, kBackgroundFirst, kBackgroundLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.background == int16_t(id - kBackgroundFirst));
        return true;
    }
    if (In(id, kPatternFirst, kPatternLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.fillPattern == int16_t(id - kPatternFirst));
        return true;
    }
    if (In(id, kLineStyleFirst, kLineStyleLast)) {
        const int16_t style = int16_t(id - kLineStyleFirst + 1);
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
    if (In(id, kLineWidthFirst, kLineWidthLast)) {
        ui.Enable(notText);
        ui.SetCheck(g.lineWidth == kLineWidths[id - kLineWidthFirst]);
        return true;
    }
    if (In(id, kSizeFirst, kSizeLast)) {
        ui.Enable(FontItemsOn());
        ui.SetCheck(t.size == kFontSizes[id - kSizeFirst]);
        return true;
    }
    if (In(id, kTextColourFirst, kTextColourLast)) {
        ui.Enable(IsTextEditing() || HasFieldSelection());
        ui.SetCheck(g.textColour == int16_t(id - kTextColourFirst));
        return true;
    }
    if (In(id, kTextShadeFirst, kTextShadeLast)) {
        ui.Enable(IsTextEditing() || HasFieldSelection());
        ui.SetCheck(g.textShade == int16_t(10 * (id - kTextShadeFirst)));
        return true;
    }
    if (In(id, kAlignFirst, kAlignLast)) {
        ui.Enable(IsTextEditing());
        ui.SetCheck(t.alignment == id - kAlignFirst + 1);
        return true;
    }
    if (In(id, kSpacingSingle, kSpacingLast)) {
        ui.Enable(IsTextEditing());
        ui.SetCheck(t.lineSpacing == kSpacings[id - kSpacingSingle]);
        return true;
    }
    if (In(id, kAlignLeftButton, kAlignRightButton)) {
        ui.Enable(BarItemState(kBarText) || BarItemState(kBarAlignment));
        return true;
    }
    switch (id) {
    case kImportText: ui.Enable(IsTextEditing()); return true;
    case kImportGraphics:
    case kExportPicture:
    case kGotoPage:
    case kRulerSettings:
    case kGuideSettings: return true;
    case kExportDatabase: ui.Enable(false); return true;
    case kSelectAll: ui.Enable(CanDoEditCommand(5)); return true;
    case kShowGuides: ui.SetCheck(display_[1] != 0); return true;
    case kShowNonPrinting: ui.SetCheck(display_[4] != 0); return true;
    case kObjectInfo:
    case kFillInfo:
    case kDuplicate:
    case kDelete:
    case kBringToFront:
    case kBringToFrontButton:
    case kSendToBack:
    case kSendToBackButton:
    case kShuffleForward: ui.Enable(HasObjectSelection()); return true;
    case kFrameInfo: ui.Enable(HasObjectSelection() && SelectionFrameType() != kFrameLine); return true;
    case kTextRunaround: ui.Enable(HasObjectSelection() || IsTextEditing()); return true;
    case kGroup:
    case kGroupButton: {
        SelectionTool* tool = currentTool_ == kToolObject ? SelectionToolOf(this) : nullptr;
        ui.Enable(tool && tool->CanGroup());
        return true;
    }
    case kUngroup:
    case kUngroupButton: {
        SelectionTool* tool = currentTool_ == kToolObject ? SelectionToolOf(this) : nullptr;
        ui.Enable(tool && tool->CanUngroup());
        return true;
    }
    case kAlignObjects: {
        SelectionTool* tool = ObjectSelection();
        ui.Enable(tool && tool->GetSelCount() >= 2);
        return true;
    }
    case kBarcodeMark:
        ui.Enable(HasFieldSelection());
        ui.SetCheck(HasFieldSelection() && ObjectSelection()->AllBarcodeMarked());
        return true;
    case kStarInfo: ui.Enable(CanOpenStarInfo()); return true;
    case kPowerTextInfo: ui.Enable(CanOpenPowerTextInfo()); return true;
    case kBorderShadeOther:
        ui.Enable(notText);
        ui.SetCheck(g.lineShade % 10 != 0);
        return true;
    case kFillShadeOther:
        ui.Enable(notText);
        ui.SetCheck(g.fillShade % 10 != 0);
        return true;
    case kTextShadeOther:
        ui.Enable(IsTextEditing() || HasFieldSelection());
        ui.SetCheck(g.textShade % 10 != 0);
        return true;
    case kLineWidthOther:
        ui.Enable(notText);
        ui.SetCheck(std::find(kLineWidths.begin(), kLineWidths.end(), g.lineWidth) == kLineWidths.end());
        return true;
    case kSizeOther:
        ui.Enable(FontItemsOn());
        ui.SetCheck(std::find(kFontSizes.begin(), kFontSizes.end(), t.size) == kFontSizes.end());
        return true;
    case kFontItem: ui.Enable(FontItemsOn()); return true;
    case kLarger: ui.Enable(FontItemsOn() && (IsMixed(t.size) || t.size < 400)); return true;
    case kSmaller: ui.Enable(FontItemsOn() && (t.size > 6 || IsMixed(t.size))); return true;
    case kPlain:
        ui.Enable(FontItemsOn());
        ui.SetCheck(t.style == 0 && t.baselineStyle == 0 && t.caseStyle == 0);
        return true;
    case kBold:
    case kItalic:
    case kUnderline:
    case kBoldButton:
    case kItalicButton:
    case kUnderlineButton: {
        const int16_t bit = (id == kBold || id == kBoldButton) ? 1 : (id == kItalic || id == kItalicButton) ? 2 : 4;
        ui.Enable(FontItemsOn());
        ui.SetCheck(!IsMixed(t.style) && (t.style & bit) != 0);
        return true;
    }
    case kSmallCaps:
        ui.Enable(FontItemsOn() && !HasFieldSelection());
        ui.SetCheck(t.caseStyle == 1);
        return true;
    case kSuperscript:
        ui.Enable(FontItemsOn() && !HasFieldSelection());
        ui.SetCheck(t.baselineStyle == 255);
        return true;
    case kSubscript:
        ui.Enable(FontItemsOn() && !HasFieldSelection());
        ui.SetCheck(t.baselineStyle == 1);
        return true;
    case kJustifyButton:
    case kSingleSpacingButton:
    case kDoubleSpacingButton: ui.Enable(BarItemState(kBarText)); return true;
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

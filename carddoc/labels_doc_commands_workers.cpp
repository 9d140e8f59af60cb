// The commands of the card window that open a dialog worker, print, place
// a record-driven frame or choose a font by name: carried out and enabled
// here, reached from the document's command map first.
#include <algorithm>

#include "carddoc/card_shell.h"
#include "carddoc/labels_doc.h"
#include "carddoc/print_commands.h"
#include "carddoc/print_manager.h"
#include "carddoc/rect_tool.h"
#include "carddoc/selection_tool.h"
#include "dialogs/print_setup.h"
#include "foundation/byte_order.h"
#include "foundation/paper_table.h"
#include "frames/frame_obj.h"
#include "platform/command_data.h"
#include "platform/command_target.h"
#include "platform/printer_handles.h"
#include "platform/printer_paper.h"
#include "records/command_ids.h"
#include "records/label_stock.h"
#include "records/label_stock_format.h"
#include "typography/font_list.h"
#include "typography/font_table.h"

namespace {

// Bar item state the Info items of the context menus follow.
constexpr int16_t kBarWindowActive = 130;

bool IsPrintCommand(uint32_t id)
{
    return id == kCmdPrintFromDatabase || id == kCmdPrintBulkMail || id == kCmdPrintSheet ||
           id == kCmdPrintDefaultCardInfo || id == kCmdPrintPreview || id == kCmdPrintOptions;
}

QWidget* MainWindow()
{
    CardShell* shell = CurrentCardShell();
    return shell ? shell->MainWindow() : nullptr;
}

// What the text bar handed over with its combo command, if anything.
const CFontChoosen* BarFontChoice()
{
    CardShell* shell = CurrentCardShell();
    return shell ? dynamic_cast<const CFontChoosen*>(shell->PendingCommandData()) : nullptr;
}

// Whether the layout names an orientation and a paper (both), or either.
bool LayoutFixesPaper(const uint8_t* layout, bool both)
{
    const bool orientation = GetU32LE(layout + kLabelTypeOrientationOffset) != 0;
    const bool paper = GetU32LE(layout + kLabelTypePaperOffset) != 0;
    return both ? orientation && paper : orientation || paper;
}

}  // namespace

PageChoice CLabelsDoc::PageSetupChoice() const
{
    uint32_t orientation = 0, paper = 0;
    GetAlternatePaper(&orientation, &paper);
    PageChoice page;
    if (paper > 0 && paper < uint32_t(kPaperTableCount))
        page.paper = int32_t(paper);
    if (orientation != 0 && orientation != kLabelOrientationPortrait)
        page.orientation = 2;
    // What the layout fixes shows fixed; the rest is the card's choice.
    const uint32_t fixedOrientation = GetU32LE(labelLayout_ + kLabelTypeOrientationOffset);
    const uint32_t fixedPaper = GetU32LE(labelLayout_ + kLabelTypePaperOffset);
    page.orientationFixed = fixedOrientation != 0;
    if (page.orientationFixed)
        page.orientation = fixedOrientation == kLabelOrientationPortrait ? 1 : 2;
    page.paperFixed = fixedPaper != 0 && fixedPaper < uint32_t(kPaperTableCount);
    if (page.paperFixed)
        page.paper = int32_t(fixedPaper);
    return page;
}

void CLabelsDoc::KeepOwnPage(const PageChoice& page, uint32_t orientation, uint32_t paper)
{
    uint32_t keptOrientation = 0, keptPaper = 0;
    GetAlternatePaper(&keptOrientation, &keptPaper);
    // What the layout fixes is not the card's to choose: the choice kept
    // for it stays.
    if (page.orientationFixed)
        orientation = keptOrientation;
    if (page.paperFixed)
        paper = keptPaper;
    if (orientation == keptOrientation && paper == keptPaper)
        return;
    SetAlternatePaper(orientation, paper);
    // The card's page is saved with it.
    SetModified(true);
}

void CLabelsDoc::OnFilePrintSetup()
{
    PageChoice page = PageSetupChoice();
    if (!GetPrinterHandles()) {
        // No printer: the card's own page is what its PDF and PostScript
        // files print on.
        if (!DoPrintSetup(MainWindow(), &page))
            return;
        KeepOwnPage(page, uint32_t(page.orientation), uint32_t(page.paper));
        ComputeMargins();
        RefreshView();
        return;
    }
    const OwnPrinterPageAfterwards ownPage;
    Printer().ApplyPaperAndOrientation();
    // Cancel leaves the card's page set-up as it was.
    if (!DoPrintSetup(MainWindow(), &page))
        return;
    int32_t paper = 0;
    GetPrinterPaperIndex(&paper);
    int32_t portrait = 0;
    uint32_t orientation = 0;
    if (GetPrinterPortrait(&portrait) == 0)
        orientation = portrait ? 1 : 2;
    KeepOwnPage(page, orientation, uint32_t(std::max(paper, 0)));
    ComputeMargins();
    RefreshView();
}

void CLabelsDoc::SetFontByName(const FontSpec& face)
{
    const int32_t id = fonts_->GetFontId(&face);
    if (id < 0)
        return;
    textAttrs_.fontId = int16_t(id);
    if (FrameTool* tool = ToolOfKind(currentTool_))
        tool->SetFont(int16_t(id));
}

int32_t CLabelsDoc::CurrentFontListIndex()
{
    const FontList* list = GetGlobalFontList();
    FontSpec face;
    if (!list || textAttrs_.fontId < 0 || !fonts_->Lookup(textAttrs_.fontId, &face))
        return -1;
    return list->FindFont(face.faceName, face.type);
}

bool CLabelsDoc::OnWorkerCommand(uint32_t id)
{
    if (IsPrintCommand(id))
        return OnCardPrintCommand(this, id, MainWindow());
    if (id >= kCmdFontListFirst && id <= kCmdFontListLast) {
        const FontList* list = GetGlobalFontList();
        FontSpec face;
        if (list && int32_t(id - kCmdFontListFirst) < list->GetCount() &&
            list->GetFontSpec(int32_t(id - kCmdFontListFirst), 0, &face))
            SetFontByName(face);
        return true;
    }
    switch (id) {
    case kCmdDocumentSetup: DoDocumentSetup(); return true;
    // The paper may have changed under the layout: the margins follow.
    case kCmdPageSetup:
        if (!GetPrinterHandles()) {
            OnFilePrintSetup();
            return true;
        }
        if (CardShell* shell = CurrentCardShell()) {
            // The dialog shows the card's page: what its layout fixes over
            // the printer's own.
            const OwnPrinterPageAfterwards ownPage;
            Printer().ApplyPaperAndOrientation();
            PageChoice page = PageSetupChoice();
            shell->DoPageSetup(&page);
        }
        ComputeMargins();
        RefreshView();
        return true;
    case kCmdFilePrintSetup: OnFilePrintSetup(); return true;
    case kCmdEditFind: DoFindReplace(); return true;
    case kCmdCreateColor: DoCreateColor(); return true;
    case kCmdPreferences: DoPreferences(); return true;
    case kCmdDefaultCardInfo: DoDefaultCardInfo(); return true;
    case kCmdInsertPage: DoInsertPage(); return true;
    case kCmdDeletePage: DoDeletePages(); return true;
    case kCmdTabs: DoTabs(); return true;
    case kCmdCharacterInfo: DoCharacterInfo(); return true;
    case kCmdParagraphInfo: DoParagraphInfo(); return true;
    case kCmdBarcodeInfo: DoBarcodeInfo(); return true;
    case kCmdQuickCardInfo: DoQuickCardInfo(); return true;
    case kCmdCounterInfo: DoCounterInfo(); return true;
    // A selection of the frame's kind is edited where it stands; without
    // one the placing tool comes first, so that the default it edits is the
    // one the next click uses.
    case kCmdPlaceBarcode:
        if (!SelectionOfType({kFrameBarcode, kFrameCounterBarcode, kFrameFieldBarcode}))
            SetTool(kToolBarcode, 0);
        DoBarcodeInfo();
        return true;
    case kCmdPlaceCounter:
        if (!SelectionOfType({kFrameCounterBarcode}))
            SetTool(kToolCounterBarcode, 0);
        DoCounterInfo();
        return true;
    case kCmdPlaceQuickCard:
        if (!SelectionOfType({kFrameBarcode18}))
            SetTool(kToolBarcode18, 0);
        DoQuickCardInfo();
        return true;
    case kCmdFontNameCombo: {
        if (view_)
            view_->TakeFocus();
        const CFontChoosen* choice = BarFontChoice();
        const FontList* list = GetGlobalFontList();
        FontSpec face;
        if (choice && list && choice->fontIndex >= 0 && choice->fontIndex < list->GetCount() &&
            list->GetFontSpec(choice->fontIndex, 0, &face))
            SetFontByName(face);
        return true;
    }
    case kCmdFontSizeCombo: {
        if (view_)
            view_->TakeFocus();
        if (const CFontChoosen* choice = BarFontChoice(); choice && choice->size > 0)
            SetFontSize(int16_t(std::min<int32_t>(choice->size, 0x7FFF)));
        return true;
    }
    default: return false;
    }
}

bool CLabelsDoc::OnUpdateWorkerCommand(CmdUI& ui)
{
    const uint32_t id = ui.id;
    if (IsPrintCommand(id))
        return OnUpdateCardPrintCommand(this, ui);
    if (id >= kCmdFontListFirst && id <= kCmdFontListLast) {
        ui.Enable(FontItemsOn());
        ui.SetCheck(CurrentFontListIndex() == int32_t(id - kCmdFontListFirst));
        return true;
    }
    switch (id) {
    case kCmdDocumentSetup:
    case kCmdCreateColor:
    case kCmdPreferences:
    case kCmdDefaultCardInfo:
    case kCmdInsertPage:
    case kCmdPlaceBarcode:
    case kCmdPlaceCounter:
    case kCmdPlaceQuickCard:
    case kCmdFontNameCombo:
    case kCmdFontSizeCombo: return true;
    case kCmdEditFind: ui.Enable(IsTextEditing()); return true;
    // A layout that fixes both the paper and the orientation leaves the
    // printer nothing to set up for this card.
    case kCmdPageSetup:
        ui.Enable(!(pageBlock_.sides <= 2 && LayoutFixesPaper(docSetup_ + kDocSetupLabelType, true)));
        return true;
    case kCmdFilePrintSetup: ui.Enable(!(pageBlock_.sides <= 2 && LayoutFixesPaper(labelLayout_, true))); return true;
    case kCmdDeletePage: ui.Enable(GetPageCount() > 1); return true;
    case kCmdTabs:
    case kCmdParagraphInfo: ui.Enable(currentTool_ == kToolText); return true;
    case kCmdCharacterInfo: ui.Enable(IsTextEditing() || HasFieldSelection()); return true;
    case kCmdBarcodeInfo:
    case kCmdQuickCardInfo:
    case kCmdCounterInfo: ui.Enable(BarItemState(kBarWindowActive)); return true;
    default: return false;
    }
}

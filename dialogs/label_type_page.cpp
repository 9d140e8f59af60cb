#include "dialogs/label_type_page.h"

#include <utility>

#include "catalog/wizard_data.h"
#include "dialogs/label_type_dlg.h"
#include "foundation/handle.h"
#include "foundation/paper_table.h"
#include "platform/printer_handles.h"
#include "platform/printer_paper.h"

namespace {

LabelPageReader& Reader()
{
    static LabelPageReader reader;
    return reader;
}

bool SettingsPage(IntSize* paper, IntRect* printable)
{
    IntSize size{int32_t(PaperTable[kPaperEntryLetter].width), int32_t(PaperTable[kPaperEntryLetter].height)};
    bool portrait = true;
    if (const PrinterSettings* printer = GetPrinterHandles()) {
        int32_t index = -1;
        IntSize custom;
        if ((printer->dmFields & DM_PAPERSIZE) && PrinterGetPaperIndex(&index) == 0 && index >= 0) {
            size = IntSize{int32_t(PaperTable[index].width), int32_t(PaperTable[index].height)};
        } else if (PrinterGetCustomSize(&custom) == 0 && custom.width > 0 && custom.height > 0) {
            size = custom;
        }
        int32_t flag = 1;
        if (PrinterGetOrientation(&flag) == 0)
            portrait = flag != 0;
    }
    if (!portrait)
        std::swap(size.width, size.height);
    *paper = size;
    *printable = IntRect{0, 0, size.width, size.height};
    return true;
}

}  // namespace

LabelPageReader SetLabelPageReader(LabelPageReader reader)
{
    LabelPageReader previous = std::move(Reader());
    Reader() = std::move(reader);
    return previous;
}

bool ReadLabelPrinterPage(IntSize* paper, IntRect* printable)
{
    return Reader() ? Reader()(paper, printable) : SettingsPage(paper, printable);
}

void LabelStockPage(const LabelTypeRecord& record, IntSize printerPaper, IntSize* paper, IntRect* printable)
{
    bool landscape = printerPaper.width > printerPaper.height;
    if (record.orientation == kLabelOrientationPortrait)
        landscape = false;
    else if (record.orientation == kLabelOrientationLandscape)
        landscape = true;
    IntSize size = printerPaper;
    if (record.paper > kPaperEntryAnyFormat && record.paper < kPaperTableCount)
        size = IntSize{int32_t(PaperTable[record.paper].width), int32_t(PaperTable[record.paper].height)};
    // Upright first, then turned as the sheet is printed.
    if (size.width > size.height)
        std::swap(size.width, size.height);
    if (landscape)
        std::swap(size.width, size.height);
    *paper = size;
    *printable = IntRect{0, 0, size.width, size.height};
}

SheetLabelLayout LabelSheetLayout(const LabelTypeRecord& r)
{
    SheetLabelLayout layout;
    if (!LabelTypeIsSane(r))
        return layout;
    layout.cardWidth = r.cardWidth;
    layout.cardHeight = r.cardHeight;
    layout.topMargin = r.topMargin;
    layout.leftMargin = r.leftMargin;
    layout.verticalGap = r.verticalSpacing;
    layout.horizontalGap = r.horizontalSpacing;
    layout.columns = r.columns;
    layout.rows = r.rows;
    layout.centred = r.centering;
    return layout;
}

std::vector<LabelTypeRecord> WizardDocumentFormats()
{
    std::vector<LabelTypeRecord> formats;
    Handle layouts = HandleNew(0);
    int32_t count = 0;
    if (layouts && GetWizardDocLayouts(layouts, &count) == 0) {
        const uint8_t* bytes = HandleData<uint8_t>(layouts);
        const uint32_t size = HandleGetSize(layouts);
        for (int32_t i = 0; i < count && uint32_t(i + 1) * kLabelTypeSize <= size; ++i) {
            LabelTypeRecord record;
            LabelTypeDecode(bytes + size_t(i) * kLabelTypeSize, &record);
            formats.push_back(record);
        }
    }
    HandleFree(layouts);
    return formats;
}

void InstallWizardDocumentFormats(bool on)
{
    SetLabelDocFormatSource(on ? LabelDocFormatSource(&WizardDocumentFormats) : LabelDocFormatSource());
}

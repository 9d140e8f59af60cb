// The document set-up after it changed: the pages rebuilt for the new card
// size, and the Document Setup command that edits the layout.
#include <cstring>

#include <QRect>

#include "carddoc/labels_doc.h"
#include "carddoc/print_manager.h"
#include "dialogs/label_type_dlg.h"
#include "frames/curr_page_mng.h"
#include "frames/page_table2.h"
#include "platform/print_printer.h"
#include "platform/printer_handles.h"
#include "records/label_stock.h"

void CLabelsDoc::AfterDocSetup()
{
    const int16_t page = GetCurrentPage();
    ClosePages();
    SetRulerUnits(pageBlock_.unit, pageBlock_.unit);
    ComputePageSize();
    UpdateScrollSizes();
    pages_->Renumber();
    OpenPages(page, 1, 1);
    RefreshView();
    ComputeMargins();
    SetModified(true);
}

void CLabelsDoc::DoDocumentSetup()
{
    CDlgLabelType dialog(nullptr);
    const OwnPrinterPageAfterwards ownPage;
    Printer().ApplyPaperAndOrientation();
    QRect paper, printable;
    JobPrinterPageInfo(&paper, &printable, nullptr, nullptr);
    dialog.SetPreviewParams(IntSize{paper.width(), paper.height()},
                            IntRect{printable.left(), printable.top(), printable.left() + printable.width(),
                                    printable.top() + printable.height()});
    LabelTypeRecord record;
    LabelTypeDecode(labelLayout_, &record);
    dialog.SetLabelType(record);
    dialog.SetMode(kLabelTypeModeDocument);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.GetLabelType(&record);
    // The paper and orientation the dialog shows are the layout's own: what
    // the user chose there is the sheet's, stored with it and shown again
    // the next time. "Any" leaves it to the card's page set-up, which stays
    // as it was.
    uint8_t bytes[kLabelTypeSize];
    LabelTypeEncode(record, bytes);
    ApplyDocSetup(bytes);
    AfterDocSetup();
}

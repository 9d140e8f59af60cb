#include "app/print_setup.h"

#include <memory>

#include <QPageSetupDialog>
#include <QPrinter>

#include "app/print_printer.h"
#include "foundation/alerts.h"
#include "platform/paper_codes.h"
#include "platform/printer_handles.h"

bool DoPrintSetup(QWidget* owner)
{
    PrinterSettings* settings = GetPrinterHandles();
    std::unique_ptr<QPrinter> printer = MakeJobPrinter(QString(), QString());
    if (!settings || !printer) {
        // Print still offers its PDF file; saying only that there is no
        // printer would read as if nothing could be printed.
        AlertNote("No printer is installed, so there is nothing to set up. Print can still write a PDF file: "
                  "choose \"Print to PDF file\" in the Print dialog.",
                  0);
        return false;
    }
    QPageSetupDialog dialog(printer.get(), owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings->deviceName = printer->printerName();
    if (const int32_t code = PaperCodeForPageSize(printer->pageLayout().pageSize()); code != 0) {
        settings->dmPaperSize = int16_t(code);
        settings->dmFields |= DM_PAPERSIZE;
        settings->dmFields &= ~uint32_t(DM_PAPERWIDTH | DM_PAPERLENGTH);
    } else {
        const QSizeF mm = printer->pageLayout().pageSize().size(QPageSize::Millimeter);
        settings->dmPaperWidth = int16_t(mm.width() * 10);
        settings->dmPaperLength = int16_t(mm.height() * 10);
        settings->dmFields = (settings->dmFields & ~uint32_t(DM_PAPERSIZE)) | DM_PAPERWIDTH | DM_PAPERLENGTH;
    }
    settings->dmOrientation = printer->pageLayout().orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE
                                                                                            : DMORIENT_PORTRAIT;
    settings->dmFields |= DM_ORIENTATION;
    return true;
}

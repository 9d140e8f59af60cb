#include "dialogs/print_setup.h"

#include "dialogs/page_setup_dlg.h"
#include "foundation/alerts.h"
#include "platform/printer_handles.h"

bool DoPrintSetup(QWidget* owner, PageChoice* page)
{
    if (!GetPrinterHandles() && !page) {
        // Print still offers its PDF file; saying only that there is no
        // printer would read as if nothing could be printed.
        AlertNote("No printer is installed, so there is nothing to set up. Print can still write a PDF file: "
                  "choose \"Print to PDF file\" in the Print dialog.",
                  0);
        return false;
    }
    // Without a card it is the printer's own page that is set up, not
    // what the card last looked at put over it.
    if (!page)
        UsePrinterOwnPage();
    CDlgPageSetup dialog(owner, page);
    return dialog.exec() == QDialog::Accepted;
}

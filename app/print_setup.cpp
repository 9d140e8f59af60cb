#include "app/print_setup.h"

#include "app/page_setup_dlg.h"
#include "foundation/alerts.h"
#include "platform/printer_handles.h"

bool DoPrintSetup(QWidget* owner)
{
    if (!GetPrinterHandles()) {
        AlertNote("No printer is installed.", 0);
        return false;
    }
    CDlgPageSetup dialog(owner);
    return dialog.exec() == QDialog::Accepted;
}

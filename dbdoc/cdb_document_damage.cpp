// CDBDocument: what the window does once reading a record has found the
// database damaged.

#include <string>

#include "database/verify.h"
#include "dbdoc/cdb_document.h"
#include "foundation/alerts.h"

void CDBDocument::AfterDamageFound()
{
    if (!IsOpen() || !Data().DataMark())
        return;
    const std::string name = Data().DatabaseName();
    // The open checked every record; when they are still sound, what
    // pointed the list past them was its index.
    VerifyReport report;
    if (VerifyDataFile(Data().Handle(), Data().DataStart(), &report)) {
        if (!ReopenWithNewIndex()) {
            ShellCloseWindow();
            return;
        }
        refreshed_ = false;
        RefreshAfterViewsReady();
        AlertNote((name + ": its index did not belong to its records. The index has been built anew from the "
                          "records, and the list shows them all.")
                      .c_str(),
                  0);
        return;
    }
    AlertStop((name + ": its records are damaged. The database has been closed; open it again to repair it.")
                  .c_str(),
              0);
    ShellCloseWindow();
}

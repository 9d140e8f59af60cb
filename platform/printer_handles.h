// The printer settings the application holds, and the printers it asks.
#pragma once

#include "platform/printer_caps.h"
#include "platform/printer_settings.h"

// The application's printer settings, taken from the default printer the
// first time they are asked for; null while no printer is installed.
PrinterSettings* GetPrinterHandles();

// The printer chosen for a job (in the Print dialog, or named on the
// command line) is the application's printer from then on, with the
// settings it starts with (its own paper and orientation), as a print
// dialog hands back the chosen printer's settings. The printer already
// held keeps its settings, with what Page Setup chose. False, changing
// nothing, for a printer that is not there.
bool ChoosePrinter(const QString& device);

// The printers the settings come from and are checked against.
const PrinterCaps& CurrentPrinterCaps();

// Asks another set of printers from now on (tests; the caller keeps it
// alive); null goes back to the printers of this computer. The settings
// held so far are dropped.
void SetPrinterCaps(const PrinterCaps* caps);

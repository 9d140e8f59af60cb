// The printers of this computer: the queue, the paper it starts with and
// the papers it lists, as the print system answers (asked once a job, see
// printqueue/cups_queue.h).
#pragma once

#include "platform/printer_caps.h"

// Printers are named by device alone; there are no ports here. Without a
// GUI application object Qt's print support is not there, and no printer
// is found.
class QtPrinterCaps final : public PrinterCaps {
public:
    bool DefaultSettings(PrinterSettings* out) const override;
    bool NamedSettings(const QString& device, PrinterSettings* out) const override;
    bool PaperCodes(const QString& device, const QString& port, std::vector<int16_t>* out) const override;
    bool PaperExtents(const QString& device, const QString& port, PaperExtentTenths* min,
                      PaperExtentTenths* max) const override;
};

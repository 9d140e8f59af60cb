// What the printers installed on this computer can do. The paper set-up
// asks through this interface, so that it can be tried on a printer that
// does not exist.
#pragma once

#include <cstdint>
#include <vector>

#include <QString>

#include "platform/printer_settings.h"

// A paper extent in tenths of a millimetre.
struct PaperExtentTenths {
    int32_t width = 0;
    int32_t length = 0;
};

class PrinterCaps {
public:
    virtual ~PrinterCaps() = default;

    // The default printer with the settings it starts with; false when no
    // printer is installed.
    virtual bool DefaultSettings(PrinterSettings* out) const = 0;
    // The named printer with the settings it starts with (its own paper
    // and orientation); false when the printer is unknown.
    virtual bool NamedSettings(const QString& device, PrinterSettings* out) const = 0;
    // The paper codes the printer lists; false when the printer is unknown.
    virtual bool PaperCodes(const QString& device, const QString& port, std::vector<int16_t>* out) const = 0;
    // The smallest and largest paper the printer takes; false when the
    // printer is unknown or does not say.
    virtual bool PaperExtents(const QString& device, const QString& port, PaperExtentTenths* min,
                              PaperExtentTenths* max) const = 0;
};

// A printer that exists only in the test. While it lives it is the printer
// the application asks; its settings start from `defaults`.
#pragma once

#include <vector>

#include "platform/printer_handles.h"

class FakePrinterCaps : public PrinterCaps {
public:
    FakePrinterCaps()
    {
        defaults.deviceName = "Fake Printer";
        defaults.portName = "FAKE:";
        SetPrinterCaps(this);
    }
    ~FakePrinterCaps() override { SetPrinterCaps(nullptr); }

    bool installed = true;
    PrinterSettings defaults;
    // Printers besides the default one, with the settings each starts with.
    std::vector<PrinterSettings> others;
    std::vector<int16_t> papers;
    bool hasExtents = false;
    PaperExtentTenths minExtent, maxExtent;

    bool DefaultSettings(PrinterSettings* out) const override
    {
        if (installed)
            *out = defaults;
        return installed;
    }
    bool NamedSettings(const QString& device, PrinterSettings* out) const override
    {
        if (!installed)
            return false;
        if (device == defaults.deviceName) {
            *out = defaults;
            return true;
        }
        for (const PrinterSettings& other : others) {
            if (other.deviceName == device) {
                *out = other;
                return true;
            }
        }
        return false;
    }
    bool PaperCodes(const QString& device, const QString& port, std::vector<int16_t>* out) const override
    {
        if (installed && device == defaults.deviceName && port == defaults.portName)
            *out = papers;
        return installed && device == defaults.deviceName && port == defaults.portName;
    }
    bool PaperExtents(const QString& device, const QString& port, PaperExtentTenths* min,
                      PaperExtentTenths* max) const override
    {
        const bool known = installed && hasExtents && device == defaults.deviceName && port == defaults.portName;
        if (known) {
            *min = minExtent;
            *max = maxExtent;
        }
        return known;
    }
};

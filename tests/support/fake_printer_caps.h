// A printer that exists only in the test: the papers it lists and the
// sizes it takes are whatever the test says. While it lives it is the
// printer the application asks, and the settings it hands out start from
// `defaults`.
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
    FakePrinterCaps(const FakePrinterCaps&) = delete;
    FakePrinterCaps& operator=(const FakePrinterCaps&) = delete;

    bool installed = true;
    PrinterSettings defaults;
    std::vector<int16_t> papers;
    bool hasExtents = false;
    PaperExtentTenths minExtent, maxExtent;

    bool DefaultSettings(PrinterSettings* out) const override
    {
        if (installed)
            *out = defaults;
        return installed;
    }
    bool PaperCodes(const QString& device, const QString& port, std::vector<int16_t>* out) const override
    {
        if (!Known(device, port))
            return false;
        *out = papers;
        return true;
    }
    bool PaperExtents(const QString& device, const QString& port, PaperExtentTenths* min,
                      PaperExtentTenths* max) const override
    {
        if (!Known(device, port) || !hasExtents)
            return false;
        *min = minExtent;
        *max = maxExtent;
        return true;
    }

private:
    bool Known(const QString& device, const QString& port) const
    {
        return installed && device == defaults.deviceName && port == defaults.portName;
    }
};

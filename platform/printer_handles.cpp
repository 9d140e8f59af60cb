#include "platform/printer_handles.h"

#include <optional>

#include "platform/qt_printer_caps.h"

namespace {

struct PrinterState {
    QtPrinterCaps system;
    const PrinterCaps* caps = &system;
    std::optional<PrinterSettings> settings;
};

PrinterState& State()
{
    static PrinterState state;
    return state;
}

}  // namespace

PrinterSettings* GetPrinterHandles()
{
    PrinterState& st = State();
    if (!st.settings) {
        PrinterSettings fetched;
        if (!st.caps->DefaultSettings(&fetched))
            return nullptr;
        st.settings = fetched;
    }
    return &*st.settings;
}

bool ChoosePrinter(const QString& device)
{
    if (const PrinterSettings* held = GetPrinterHandles(); held && held->deviceName == device)
        return true;
    PrinterSettings fetched;
    PrinterState& st = State();
    if (device.isEmpty() || !st.caps->NamedSettings(device, &fetched))
        return false;
    st.settings = fetched;
    return true;
}

const PrinterCaps& CurrentPrinterCaps()
{
    return *State().caps;
}

void SetPrinterCaps(const PrinterCaps* caps)
{
    PrinterState& st = State();
    st.caps = caps ? caps : &st.system;
    st.settings.reset();
}

#include "platform/printer_handles.h"

#include <optional>

#include "platform/qt_printer_caps.h"
#include "printqueue/cups_queue.h"

namespace {

struct PrinterState {
    QtPrinterCaps system;
    const PrinterCaps* caps = &system;
    std::optional<PrinterSettings> settings;
    // The printer's own paper and orientation, which no card changes.
    PrinterSettings own;
};

constexpr uint32_t kPaperFields = DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH;

void CopyPage(const PrinterSettings& from, PrinterSettings* to, bool paper, bool orientation)
{
    if (paper) {
        to->dmFields = (to->dmFields & ~kPaperFields) | (from.dmFields & kPaperFields);
        to->dmPaperSize = from.dmPaperSize;
        to->dmPaperLength = from.dmPaperLength;
        to->dmPaperWidth = from.dmPaperWidth;
    }
    if (orientation) {
        to->dmFields = (to->dmFields & ~DM_ORIENTATION) | (from.dmFields & DM_ORIENTATION);
        to->dmOrientation = from.dmOrientation;
    }
}

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
        if (PrinterAnswerPending())
            return nullptr;
        PrinterSettings fetched;
        if (!st.caps->DefaultSettings(&fetched))
            return nullptr;
        st.settings = fetched;
        st.own = fetched;
    }
    return &*st.settings;
}

bool ChoosePrinter(const QString& device)
{
    // The settings held, without asking for the default queue's first.
    PrinterState& st = State();
    if (st.settings && st.settings->deviceName == device)
        return true;
    PrinterSettings fetched;
    if (device.isEmpty() || !st.caps->NamedSettings(device, &fetched))
        return false;
    st.settings = fetched;
    st.own = fetched;
    return true;
}

void AskPrinterAhead()
{
    if (State().caps == &State().system)
        AskDefaultQueueAhead();
}

bool PrinterAnswerPending()
{
    return State().caps == &State().system && DefaultQueuePending();
}

bool ChoosePrinterForJob(const QString& device)
{
    KeepQueueAnswersForNextJob();
    return device.isEmpty() ? GetPrinterHandles() != nullptr : ChoosePrinter(device);
}

void UsePrinterOwnPage()
{
    PrinterState& st = State();
    if (st.settings)
        CopyPage(st.own, &*st.settings, true, true);
}

void KeepAsPrinterOwnPage(bool paper, bool orientation)
{
    PrinterState& st = State();
    if (st.settings)
        CopyPage(*st.settings, &st.own, paper, orientation);
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
    // And what the print system said of its queues: they are asked again.
    ForgetQueueAnswers();
}

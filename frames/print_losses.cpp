#include "frames/print_losses.h"

#include <utility>

namespace {

PrintLosses g_losses;
// Labels are told apart by a serial number, so that two frames of one
// label count it once.
int32_t g_record = 0;
int64_t g_label = 0;
int64_t g_lastLabelCut = -1;

}  // namespace

void NotePrintedLabel(int32_t record)
{
    g_record = record;
    ++g_label;
}

void NoteBarcodeNotPrinted(const std::string& value, const std::string& why)
{
    if (g_losses.barcodes++ == 0) {
        g_losses.barcodeRecord = g_record;
        g_losses.barcodeValue = value;
        g_losses.barcodeWhy = why;
    }
}

void NoteBarcodeCut(const std::string& value)
{
    if (g_losses.cutBarcodes++ == 0) {
        g_losses.cutRecord = g_record;
        g_losses.cutValue = value;
    }
}

namespace {

// Counts the label once, however many of its frames lost text; true for
// the job's first such label, the one the tally names.
bool FirstLabelCut()
{
    if (g_lastLabelCut == g_label)
        return false;
    g_lastLabelCut = g_label;
    if (g_losses.textLabels++ != 0)
        return false;
    g_losses.textRecord = g_record;
    return true;
}

}  // namespace

void NoteTextCutOff(const std::function<std::string()>& frameBeginning)
{
    if (FirstLabelCut())
        g_losses.textFrame = frameBeginning();
}

void NoteQuickCardCutOff()
{
    if (FirstLabelCut())
        g_losses.textQuickCard = true;
}

PrintLosses TakePrintLosses()
{
    g_record = 0;
    g_lastLabelCut = -1;
    return std::exchange(g_losses, PrintLosses{});
}

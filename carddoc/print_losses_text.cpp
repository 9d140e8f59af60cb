#include "carddoc/print_losses_text.h"

#include <cstdint>

#include "foundation/alerts.h"

namespace {

std::string OnCardOf(int32_t record)
{
    return record > 0 ? ", on the card of record " + std::to_string(record) + "," : std::string();
}

}  // namespace

std::string BarcodesNotPrintedText(const PrintLosses& losses)
{
    if (losses.barcodes <= 0)
        return {};
    const bool one = losses.barcodes == 1;
    return std::to_string(losses.barcodes) + (one ? " barcode" : " barcodes") +
           " could not be made; " + (one ? "it" : "each") +
           " printed as a box saying \"Incorrect Data\". The first" + OnCardOf(losses.barcodeRecord) + " holds \"" +
           losses.barcodeValue + "\": " + losses.barcodeWhy + ".";
}

std::string BarcodesCutText(const PrintLosses& losses)
{
    if (losses.cutBarcodes <= 0)
        return {};
    const bool one = losses.cutBarcodes == 1;
    return std::to_string(losses.cutBarcodes) + (one ? " barcode runs past its" : " barcodes run past their") +
           " label and " + (one ? "was" : "were") + " cut; a scanner can't read " + (one ? "it" : "them") +
           ". The first" + OnCardOf(losses.cutRecord) + " holds \"" + losses.cutValue + "\".";
}

std::string TextCutOffText(const PrintLosses& losses)
{
    if (losses.textLabels <= 0)
        return {};
    const bool one = losses.textLabels == 1;
    std::string text = std::to_string(losses.textLabels) + (one ? " label" : " labels") +
                       " printed without all of " + (one ? "its" : "their") + " text: ";
    if (losses.textQuickCard) {
        // A Quick Card is larger than its label: its lines fit the frame,
        // and the label's edge cuts them.
        text += std::string(one ? "the" : "each") + " label's edge cut lines of its Quick Card.";
        if (losses.textRecord > 0)
            text += " The first is the card of record " + std::to_string(losses.textRecord) + ".";
        return text;
    }
    text += "it did not fit its frame. The first is";
    text += losses.textRecord > 0 ? " the card of record " + std::to_string(losses.textRecord) + "," : "";
    text += losses.textFrame.empty() ? std::string(" in a text frame")
                                     : " in the text frame beginning \"" + losses.textFrame + "\"";
    return text + ".";
}

void SayPrintLosses(const PrintLosses& losses)
{
    for (const std::string& text : {BarcodesNotPrintedText(losses), BarcodesCutText(losses), TextCutOffText(losses)}) {
        if (!text.empty())
            AlertNote(text.c_str(), 0);
    }
}

// The messages of a print job whose labels lost something: barcodes that
// could not be made, barcodes cut at the label's edge and text that did not
// fit its frame. Each is said
// once per job, naming how many and the first. Like every message text
// they are Windows-1252, as the stored values they quote.
#pragma once

#include <string>

#include "frames/print_losses.h"

// Empty when nothing of the kind was lost.
std::string BarcodesNotPrintedText(const PrintLosses& losses);
std::string BarcodesCutText(const PrintLosses& losses);
std::string TextCutOffText(const PrintLosses& losses);

// Shows each message there is, one box each.
void SayPrintLosses(const PrintLosses& losses);

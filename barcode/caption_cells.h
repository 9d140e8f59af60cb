// The caption of Interleaved 2 of 5, Code 39 and Codabar: one character
// centred in each of a row of equal cells along the bars.
#pragma once

#include "barcode/barcode_record.h"

class Dc;

// text is the caption as a PStr; its first and last characters (start and
// stop, or the outer digits) are drawn only when showStartStop is set.
void DrawCaptionCells(Dc* dc, BarcodeRecord* rec, const uint8_t* text);

// The bounds a caption is laid out over: the record's own, from the
// caller's last measuring, or, when those are empty or inverted, measured
// now with the symbology's measurer.
IntRect CaptionBounds(Dc* dc, const BarcodeRecord& rec, void (*measure)(Dc*, BarcodeRecord*));

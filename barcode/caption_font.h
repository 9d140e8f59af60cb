// The caption's font size, fitted to the bars and the module.
#pragma once

#include "barcode/barcode_record.h"

class Dc;

// Picks the caption size from the record's captionSize, never taller than
// half the bars and narrow enough for the module, writes it back into the
// record and sets gCaptionRise and gCaptionBand from the font's ascent.
// The context's font is the one the caption is drawn in; it is restored.
void FitCaptionFont(Dc* dc, BarcodeRecord* rec);

// The caption sizes the engine selects: at least 0 and at most a size no
// device needs, so that no loop over sizes runs for long.
int32_t CaptionSizeFrom(double size);

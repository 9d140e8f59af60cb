// Whether a barcode drawn on a label runs past it: the label's clip cuts
// its bars or the glyphs of its caption, and a scanner can't read what is
// left.
#pragma once

#include <cstdint>

#include "barcode/barcode_record.h"

class Dc;

// The record as it was handed to DrawBarcode (its origin and centre in the
// context's logical units) at num / den device units per point. True when
// its ink (its bars and the glyphs of its caption, without the quiet
// margin around them or the blank of a caption's cell) reaches more than a
// device unit past the context's clip.
bool BarcodeRunsPastClip(Dc* dc, const BarcodeRecord& rec, int16_t num, int16_t den);

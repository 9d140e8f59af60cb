// DrawBarcode: the engine's drawing entry point.
#pragma once

#include <cstdint>

#include "barcode/barcode_record.h"

class Dc;

// Draws the barcode with its box's top-left corner at (originX, originY),
// at num / den device units per point, with the context's brush (bars),
// text colour and font (caption). Data that does not encode in the record's
// symbology draws the outlined failure box instead and returns false; a
// ratio that is not positive draws nothing and returns false. The record is
// not changed.
// `cut`, when given, is set to whether the barcode's ink (its bars and the
// glyphs of its caption, not the quiet margin or the blank of a caption's
// cell) reaches more than a device unit past the context's clip: a label's
// edge cut it, and a scanner may not read what is left.
bool DrawBarcode(Dc* dc, const BarcodeRecord* rec, int16_t num, int16_t den, bool* cut = nullptr);

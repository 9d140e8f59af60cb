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
bool DrawBarcode(Dc* dc, const BarcodeRecord* rec, int16_t num, int16_t den);

// MeasureBarcode: the rectangle a barcode occupies, and the helpers the
// symbologies' measurers share.
#pragma once

#include <cstdint>

#include "barcode/barcode_record.h"
#include "foundation/int_geometry.h"

class Dc;

// The rectangle the barcode occupies at num / den device units per point,
// relative to the bar origin (its left and top are minus the margin).
// Stored in rec->bounds and, when out is given, in *out. Also fits the
// record's caption size. A ratio that is not positive gives an empty
// rectangle.
void MeasureBarcode(Dc* dc, BarcodeRecord* rec, IntRect* out, int16_t num, int16_t den);

// Bounds for an extent of width by height device units with the margin
// around it.
void SetMeasuredBounds(BarcodeRecord* rec, double width, double height);
// Bounds for data that does not encode: as wide as the failure text in the
// caption font, as high as the bars.
void SetFailureBounds(Dc* dc, BarcodeRecord* rec);

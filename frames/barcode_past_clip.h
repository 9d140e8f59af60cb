// Whether a barcode drawn on a label runs past it: the label's clip cuts
// its bars or the glyphs of its caption, and a scanner can't read what is
// left.
#pragma once

#include <cstdint>

#include <QRectF>

#include "barcode/barcode_record.h"

class Dc;

// The record as it was handed to DrawBarcode (its origin and centre in the
// context's logical units) at num / den device units per point. True when
// its ink (its bars and the glyphs of its caption, without the quiet
// margin around them or the blank of a caption's cell) reaches more than a
// device unit past the context's clip.
// `drawn`, when given, is the ink the barcode was just drawn with on `dc`
// (BarcodeInk): it is measured again only where that is empty (a drawing
// the device gave again).
bool BarcodeRunsPastClip(Dc* dc, const BarcodeRecord& rec, int16_t num, int16_t den, const QRectF* drawn = nullptr);
// The box the ink of a barcode drawn on `dc` may fill: its clip with a
// device unit of slack, the label's clip being taken in to whole dots.
QRectF BarcodeInkAllowed(Dc* dc);

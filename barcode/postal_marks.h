// POSTNET, the facing identification marks FIM A, B and C, and the
// horizontal bar field: postal marks whose sizes are fixed fractions of an
// inch rather than the record's module.
#pragma once

#include "barcode/barcode_record.h"

class Dc;

bool DrawPostnet(Dc* dc, BarcodeRecord* rec);
bool DrawFim(Dc* dc, BarcodeRecord* rec);
bool DrawHorBars(Dc* dc, BarcodeRecord* rec);
void MeasurePostnet(Dc* dc, BarcodeRecord* rec);
void MeasureFim(Dc* dc, BarcodeRecord* rec);
void MeasureHorBars(Dc* dc, BarcodeRecord* rec);

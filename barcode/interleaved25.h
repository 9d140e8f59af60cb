// Interleaved 2 of 5: pairs of digits, the first in the bars and the
// second in the spaces between them, wide elements three modules.
#pragma once

#include "barcode/barcode_record.h"

class Dc;

bool DrawInterleaved25(Dc* dc, BarcodeRecord* rec);
void MeasureInterleaved25(Dc* dc, BarcodeRecord* rec);

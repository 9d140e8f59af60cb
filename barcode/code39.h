// Code 39, with the full-ASCII pairs for the characters it lacks and the
// optional mod-43 check character; wide elements two modules.
#pragma once

#include "barcode/barcode_record.h"

class Dc;

bool DrawCode39(Dc* dc, BarcodeRecord* rec);
void MeasureCode39(Dc* dc, BarcodeRecord* rec);

// Code 128: the data encoded by EncodeCode128 and drawn symbol by symbol,
// then the stop symbol and its final bar.
#pragma once

#include "barcode/barcode_record.h"

class Dc;

bool DrawCode128(Dc* dc, BarcodeRecord* rec);
void MeasureCode128(Dc* dc, BarcodeRecord* rec);

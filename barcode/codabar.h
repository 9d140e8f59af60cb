// Codabar: twenty characters of four bars and three spaces each, wide
// elements three modules, with an optional check digit.
#pragma once

#include "barcode/barcode_record.h"

class Dc;

bool DrawCodabar(Dc* dc, BarcodeRecord* rec);
void MeasureCodabar(Dc* dc, BarcodeRecord* rec);

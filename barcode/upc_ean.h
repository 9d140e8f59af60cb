// The retail symbologies: UPC-A, UPC-E, EAN-13, EAN-8, and ISBN and ISSN
// drawn as EAN-13, each with an optional 2- or 5-digit add-on and a caption
// of digits under the bars.
#pragma once

#include "barcode/barcode_record.h"

class Dc;

bool DrawUpcA(Dc* dc, BarcodeRecord* rec);
bool DrawUpcE(Dc* dc, BarcodeRecord* rec);
bool DrawEan13(Dc* dc, BarcodeRecord* rec);
bool DrawEan8(Dc* dc, BarcodeRecord* rec);
bool DrawIsbnIssn(Dc* dc, BarcodeRecord* rec);

// UPC-A, EAN-13, ISBN and ISSN.
void MeasureUpcEan(Dc* dc, BarcodeRecord* rec);
void MeasureUpcE(Dc* dc, BarcodeRecord* rec);
void MeasureEan8(Dc* dc, BarcodeRecord* rec);

// Why a barcode's data did not encode, in words for the user: a print job
// and the barcode tool say it where the drawing shows only the failure box.
#pragma once

#include <string>

#include "barcode/barcode_record.h"

// The symbology's name as users know it, for example "EAN-13".
std::string BarcodeSymbologyName(int16_t type);

// Why the record's data does not encode in its symbology, for example
// "the check digit 7 is wrong: it should be 1". Asked of data that did not
// encode; for data that does it still names what the symbology takes.
std::string BarcodeDataFault(const BarcodeRecord& rec);

// What the engine shows for data that does not encode: the type's name
// followed by "Incorrect Data" in an outlined box.
#pragma once

#include <cstdint>

#include "barcode/barcode_record.h"

class Dc;

// The failure text of a type, for example "Code128 Incorrect Data".
void BarcodeFailureText(int16_t type, uint8_t* out);

// Width of the failure text in a font of the record's caption size.
int32_t FailureTextWidth(Dc* dc, const BarcodeRecord& rec);

// The box of the caller's record as measured, at (originX, originY), with
// the failure text as large as fits inside it, both turned with the
// working record's angle. work is the scaled working copy.
void DrawFailureBox(Dc* dc, const BarcodeRecord& caller, const BarcodeRecord& work, int16_t num, int16_t den);

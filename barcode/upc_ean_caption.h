// The digit captions of the retail symbologies, laid out over the x
// positions the bars were drawn at.
#pragma once

#include <cstdint>

#include "barcode/barcode_record.h"
#include "barcode/upc_ean_encoding.h"

class Dc;

// Where the drawing put the parts of a symbol.
struct UpcEanCaptionLayout {
    double leftStart = 0.0;  // the digits under the left half
    double leftEnd = 0.0;
    double rightStart = 0.0;  // and under the right half
    double rightEnd = 0.0;
    double endGuard = 0.0;  // just after the end guard
    double addOnStart = 0.0;
    double addOnEnd = 0.0;
};

// Width of a digit printed outside the bars (UPC-A, UPC-E), in a font of
// 0.8 times the caption size.
int32_t UpcOutsideDigitWidth(Dc* dc, const BarcodeRecord& rec, uint8_t ch);

void DrawUpcACaption(Dc* dc, const BarcodeRecord& rec, const UpcEanDigits& d, const UpcEanCaptionLayout& layout);
void DrawUpcECaption(Dc* dc, const BarcodeRecord& rec, const UpcEanDigits& d, const UpcEanCaptionLayout& layout);
void DrawEan13Caption(Dc* dc, const BarcodeRecord& rec, const UpcEanDigits& d, const UpcEanCaptionLayout& layout);
void DrawEan8Caption(Dc* dc, const BarcodeRecord& rec, const UpcEanDigits& d, const UpcEanCaptionLayout& layout);

// Paper and orientation in the application's printer settings.
//
// The operations without a settings argument work on the settings the
// application holds (GetPrinterHandles) and return 1 when there are none.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"
#include "platform/printer_settings.h"

struct PaperExtentPoints {
    double width = 0;
    double height = 0;
};

// Puts paper table entry `index` into the settings: its paper code when the
// printer lists it, else its size as a custom paper when the printer takes
// that size, else Letter. 0 when done; 1 for an index outside the table or
// without settings; 2 when the printer took neither the paper nor Letter.
int32_t PrinterSelectPaper(int32_t index);

// Portrait when the flag is set, else landscape.
int32_t PrinterSetOrientation(int32_t portrait);

// The first paper table entry with the settings' paper code. 0 when read,
// also when no entry matches or no code is set; the index is then left
// alone.
int32_t PrinterGetPaperIndex(int32_t* index);

// 1 for portrait, 0 for landscape. 0 when read; 2 when the settings carry
// no orientation; 1 for an orientation that is neither.
int32_t PrinterGetOrientation(int32_t* portrait);

// The custom paper size in points (truncated). 2 when the settings name a
// paper code instead; otherwise 0, plus 10 when the length is missing and
// 20 when the width is missing (each missing side is left alone).
int32_t PrinterGetCustomSize(IntSize* size);

// Dots per inch across and down; 0, or 1 when either is not positive.
int32_t PrinterGetResolution(const PrinterSettings* printer, int32_t* x, int32_t* y);

// The smallest and largest paper the printer takes, in points; 0, or 1
// when the printer does not say.
int32_t PrinterGetPaperExtents(const PrinterSettings* printer, PaperExtentPoints* min, PaperExtentPoints* max);

// The names the card document and the application shell know them by.
inline int32_t GetPrinterPaperIndex(int32_t* index)
{
    return PrinterGetPaperIndex(index);
}
inline int32_t GetPrinterPortrait(int32_t* portrait)
{
    return PrinterGetOrientation(portrait);
}

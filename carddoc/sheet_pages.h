// Which page of the card design a printed page shows, and which record its
// first card takes. A job prints every page of the design for each sheet
// (front, then back), so printed page p of n design pages belongs to sheet
// (p - 1) / n; the cards of the sheets before it have used up their
// records, less the cells the first sheet left empty.
#pragma once

#include <cstdint>

struct SheetPage {
    int16_t page = 0;       // the design page to draw
    int32_t firstRecord = 0;  // the record the first card of the page takes
};

// printedPage is 1-based; pagesPerSheet at least 1; base the first design
// page. firstColumn and firstRow are the 1-based first-card position of the
// page (1, 1 on every page after the first sheet's); skipped the cells the
// first sheet left empty.
SheetPage SheetPageFor(int16_t printedPage, int16_t pagesPerSheet, int16_t base, int16_t columns, int16_t rows,
                       int32_t firstColumn, int32_t firstRow, int16_t skipped, int32_t firstRecord);

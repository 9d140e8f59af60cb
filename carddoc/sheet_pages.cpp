#include "carddoc/sheet_pages.h"

SheetPage SheetPageFor(int16_t printedPage, int16_t pagesPerSheet, int16_t base, int16_t columns, int16_t rows,
                       int32_t firstColumn, int32_t firstRow, int16_t skipped, int32_t firstRecord)
{
    SheetPage out;
    out.firstRecord = firstRecord;
    const int32_t n = pagesPerSheet > 0 ? pagesPerSheet : 1;
    const int32_t p = printedPage;
    if (p <= n) {
        out.page = int16_t(base + p - 1);
        return out;
    }
    int32_t q = p / n;
    const int32_t remainder = p % n;
    int32_t cards = int32_t(columns) * rows;
    if (firstRow > 0)
        cards -= (firstRow - 1) * int32_t(columns);
    if (firstColumn > 0)
        cards -= firstColumn - 1;
    if (remainder > 0) {
        out.page = int16_t(base + remainder - 1);
    } else {
        out.page = int16_t(base + n - 1);
        if (q > 1)
            --q;
    }
    // The sheets before this one took q x cards cells; near the end of a
    // long job with skipped cells that passes 32767, so it is kept whole.
    out.firstRecord = firstRecord + q * cards - skipped;
    return out;
}

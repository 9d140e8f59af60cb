#pragma once

#include "frames/page_table.h"

// The page table the document keeps: it can delete pages and marks its new
// records.
class PageTable2 : public PageTable {
public:
    explicit PageTable2(FrameDocument* document) : PageTable(document) {}

    void InitPage(uint8_t* record, int16_t kind) override;
    // Deletes the pages numbered first to last and renumbers; a first
    // number no page has deletes nothing.
    int32_t DeletePages(int16_t first, int16_t last) override;
};

// Checking and normalising packed bitmaps that arrive from outside: a
// document, the swap file, a caller's buffer, the clipboard, a file.
//
// Nothing behind a header is trusted. A block is accepted when its header
// describes a layout that fits inside the bytes that arrived; the code that
// draws, reads pixels or traces outlines can then rely on it. Blocks that
// are valid but not in the form the program works with (rows top-down, 16
// or 32 bits a pixel) are converted into that form on the way in.
#pragma once

#include <cstdint>

struct DibGeometry {
    int32_t width = 0;
    int32_t height = 0;  // as stored: negative for rows top-down
    uint32_t bits = 0;   // 1, 4, 8, 16, 24 or 32
    uint32_t compression = 0;
    uint32_t colours = 0;       // biClrUsed
    uint64_t stride = 0;        // bytes of one row
    uint64_t pixelOffset = 0;   // first row, from the start of the block
    uint64_t required = 0;      // pixelOffset + stride x rows
};

// Reads the header at block and checks it against size, the bytes of the
// block: header size 40; 1, 4, 8 or 24 bits without compression, or 16 or
// 32 bits plain or with bit-field masks; a colour table no larger than the
// depth allows (256 entries above 8 bits); width above 0; height not 0;
// header, table and rows within size; size within kDibMaxBlockSize. Sizes
// are worked out in 64 bits. size must be at least the header's 40 bytes.
bool DibCheckHeader(const uint8_t* block, uint64_t size, DibGeometry* geometry);

// True when a checked block is already in the working form: 1, 4, 8 or 24
// bits, no compression, rows bottom-up.
bool DibIsWorkingForm(const DibGeometry& geometry);

// A new block in the working form holding the checked block's picture:
// rows bottom-up, 16 and 32 bits turned into 24. With fullTable the colour
// table gets 1 << bits entries up to 8 bits (the entries not stored are
// black) and none above; otherwise the stored table is kept. The block is
// allocated with MemAllocClear; null when memory runs out.
uint8_t* DibConvertToWorkingForm(const uint8_t* block, const DibGeometry& geometry, bool fullTable, uint32_t* size);

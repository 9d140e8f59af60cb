// Device-independent bitmaps as metafile records carry them: a header with
// its colour table (or bit masks) and, apart from it, the pixel rows.
//
// Decoding trusts nothing of the header: sizes are checked in 64 bits
// against the bytes the record holds and against a pixel cap, so a record
// that claims a huge or short bitmap gives a null image, never a read
// outside the record or an absurd allocation.
#pragma once

#include <cstdint>
#include <vector>

#include <QImage>

#include "graphics/metafile_format.h"

// The most pixels a bitmap in a metafile may have.
constexpr int64_t kMetafileMaxBitmapPixels = int64_t(1) << 25;

struct MetafileDibInfo {
    int32_t width = 0;
    int32_t height = 0;  // always positive; topDown tells the row order
    bool topDown = false;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
};

// Reads the header part (BITMAPCOREHEADER, BITMAPINFOHEADER or a longer
// one). False when it is no header this code can draw from.
bool MetafileDibReadInfo(const uint8_t* info, uint32_t infoSize, MetafileDibInfo* out);

// Decodes a bitmap. `usage` is DIB_RGB_COLORS or DIB_PAL_COLORS (palette
// indexes, shown as greys: metafiles here carry no palettes). With
// keepAlpha a 32-bit bitmap keeps its alpha channel (Format_ARGB32);
// otherwise the image is Format_RGB32. Null on any inconsistency.
QImage MetafileDibToImage(const uint8_t* info, uint32_t infoSize, const uint8_t* bits, uint32_t bitsSize,
                          uint32_t usage, bool keepAlpha = false);

// Splits a packed bitmap (header, table, rows in one block) into the size
// of its header with table and the size of its rows as they are stored.
// With DIB_PAL_COLORS the table holds 2-byte palette indexes.
bool MetafileDibSplit(const uint8_t* dib, uint32_t size, uint32_t* infoSize, uint32_t* bitsSize,
                      uint32_t usage = DIB_RGB_COLORS);

// The stored size of a bitmap's rows from its header (0 when unknown);
// for compressed rows the header's image size.
uint64_t MetafileDibBitsSize(const uint8_t* info, uint32_t infoSize);
// The size of the header with its colour table or masks, from the header
// itself (the size a writer of that header meant).
uint32_t MetafileDibInfoSize(const uint8_t* info, uint32_t infoSize, uint32_t usage = DIB_RGB_COLORS);

// A 24-bit bottom-up bitmap of the image: a 40-byte header and the rows.
void MetafileImageToDib(const QImage& image, std::vector<uint8_t>* info, std::vector<uint8_t>* bits);
// A one-bit bitmap: header with a black-and-white table, and the rows;
// `rows` holds one bit a pixel, row 0 on top, bit 7 the leftmost pixel,
// `bytesPerRow` bytes a row.
void MetafileMonoToDib(const uint8_t* rows, int width, int height, int bytesPerRow, std::vector<uint8_t>* info,
                       std::vector<uint8_t>* bits);

// The packed device-independent bitmap: the one raster layout the program
// keeps in memory, stores in documents and the swap file, and exchanges
// with the clipboard and the imaging code.
//
//   header       40 bytes   biSize 40, biWidth, biHeight (positive: the last
//                           image row comes first), biPlanes 1, biBitCount,
//                           biCompression 0, biSizeImage = stride x height,
//                           two resolutions 0, biClrUsed = colour-table
//                           entries, biClrImportant 0
//   colour table 4 x biClrUsed  blue, green, red, 0
//   pixel rows   stride x height, each row padded to 4 bytes
//
// All fields are little-endian and are read and written one at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"

constexpr uint32_t kDibHeaderSize = 40;
constexpr uint32_t kDibQuadSize = 4;

// Field offsets in the header.
enum : size_t {
    kBiSize = 0,
    kBiWidth = 4,
    kBiHeight = 8,
    kBiPlanes = 12,
    kBiBitCount = 14,
    kBiCompression = 16,
    kBiSizeImage = 20,
    kBiXPelsPerMeter = 24,
    kBiYPelsPerMeter = 28,
    kBiClrUsed = 32,
    kBiClrImportant = 36,
};

// biCompression values. Three channel masks follow the header of a
// bit-field block, before any colour table.
enum : uint32_t {
    kBiRgb = 0,
    kBiBitfields = 3,
};
constexpr uint32_t kDibBitfieldMasksSize = 12;

// Larger blocks are refused wherever a block arrives from outside: no card
// picture comes near it, and a corrupt size word must not reserve gigabytes.
constexpr uint64_t kDibMaxBlockSize = 512ull * 1024 * 1024;

// Bytes of one pixel row.
constexpr uint64_t DibRowStride(uint64_t width, uint32_t bits) { return (width * bits + 31) / 32 * 4; }

// Colour-table entries of a bitmap made here: 1 << bits below 24 bits.
constexpr uint32_t DibTableSizeAtCreation(uint32_t bits) { return bits < 24 ? 1u << bits : 0; }

// Writes the header of a bitmap made here at the start of block: rows
// bottom-up, no compression, the image size worked out from the depth.
// The caller has checked that the block's size fits in 32 bits.
inline void DibPutHeader(uint8_t* block, int32_t width, int32_t height, uint32_t bits, uint32_t colours)
{
    PutU32LE(block + kBiSize, kDibHeaderSize);
    PutI32LE(block + kBiWidth, width);
    PutI32LE(block + kBiHeight, height);
    PutU16LE(block + kBiPlanes, 1);
    PutU16LE(block + kBiBitCount, uint16_t(bits));
    PutU32LE(block + kBiCompression, kBiRgb);
    PutU32LE(block + kBiSizeImage, uint32_t(DibRowStride(uint64_t(width), bits) * uint64_t(height)));
    PutU32LE(block + kBiXPelsPerMeter, 0);
    PutU32LE(block + kBiYPelsPerMeter, 0);
    PutU32LE(block + kBiClrUsed, colours);
    PutU32LE(block + kBiClrImportant, 0);
}

// Colour-table entries a block copied in from elsewhere (the clipboard, a
// packed Handle, a resource) is given: the full table up to 8 bits.
constexpr uint32_t DibTableSizeOnCopyIn(uint32_t bits) { return bits <= 8 ? 1u << bits : 0; }

// A bitmap file is the packed block behind a 14-byte file header: "BM", the
// file size, two reserved words and the offset of the pixel rows.
constexpr uint32_t kBmpFileHeaderSize = 14;
constexpr uint16_t kBmpMagic = 0x4D42;
enum : size_t {
    kBfType = 0,
    kBfSize = 2,
    kBfReserved1 = 6,
    kBfReserved2 = 8,
    kBfOffBits = 10,
};

// PCX files as the picture export writes them: a 128-byte header, then for
// every row the red, green and blue planes of bytesPerLine bytes each
// (the width rounded up to even), each plane's row run-length encoded on
// its own. Little-endian.
#pragma once

#include <cstdint>

constexpr uint32_t kPcxHeaderSize = 128;
constexpr uint32_t kPcxManufacturerOffset = 0;   // u8, always 10
constexpr uint32_t kPcxVersionOffset = 1;        // u8
constexpr uint32_t kPcxEncodingOffset = 2;       // u8, 1: run-length
constexpr uint32_t kPcxPixelBitsOffset = 3;      // u8, bits per pixel in a plane
constexpr uint32_t kPcxXMinOffset = 4;           // u16
constexpr uint32_t kPcxYMinOffset = 6;           // u16
constexpr uint32_t kPcxXMaxOffset = 8;           // u16, included
constexpr uint32_t kPcxYMaxOffset = 10;          // u16, included
constexpr uint32_t kPcxXDpiOffset = 12;          // u16
constexpr uint32_t kPcxYDpiOffset = 14;          // u16
constexpr uint32_t kPcxEgaPaletteOffset = 16;    // 48 bytes, unused at 24 bits
constexpr uint32_t kPcxReservedOffset = 64;      // u8, 0
constexpr uint32_t kPcxPlanesOffset = 65;        // u8
constexpr uint32_t kPcxBytesPerLineOffset = 66;  // u16, even
constexpr uint32_t kPcxPaletteInfoOffset = 68;   // u16, 1: colour
constexpr uint32_t kPcxScreenWidthOffset = 70;   // u16
constexpr uint32_t kPcxScreenHeightOffset = 72;  // u16
// 74-127: zero.

constexpr uint8_t kPcxManufacturer = 10;
constexpr uint8_t kPcxVersion = 5;
constexpr uint8_t kPcxRunLength = 1;
constexpr uint8_t kPcxPlanes = 3;
constexpr uint16_t kPcxColourPalette = 1;
// The pictures are one pixel a point.
constexpr uint16_t kPcxDpi = 72;
constexpr uint32_t kPcxMaxSide = 0xFFFF;

// A byte with both top bits set starts a run of (byte & 0x3F) copies of the
// next byte; such a byte is therefore written as a run even when alone.
constexpr uint8_t kPcxRunFlag = 0xC0;
constexpr uint8_t kPcxLongestRun = 0x3F;

// Targa files as the picture export writes them: an 18-byte header,
// uncompressed true-colour rows (blue, green, red) from the bottom row up,
// and the 26-byte footer of version 2 files. Little-endian.
#pragma once

#include <cstdint>

constexpr uint32_t kTgaHeaderSize = 18;
constexpr uint32_t kTgaIdLengthOffset = 0;       // u8, 0: no image id
constexpr uint32_t kTgaColourMapTypeOffset = 1;  // u8, 0: no colour map
constexpr uint32_t kTgaImageTypeOffset = 2;      // u8
constexpr uint32_t kTgaMapFirstOffset = 3;       // u16
constexpr uint32_t kTgaMapLengthOffset = 5;      // u16
constexpr uint32_t kTgaMapEntryBitsOffset = 7;   // u8
constexpr uint32_t kTgaXOriginOffset = 8;        // u16
constexpr uint32_t kTgaYOriginOffset = 10;       // u16
constexpr uint32_t kTgaWidthOffset = 12;         // u16
constexpr uint32_t kTgaHeightOffset = 14;        // u16
constexpr uint32_t kTgaPixelBitsOffset = 16;     // u8
constexpr uint32_t kTgaDescriptorOffset = 17;    // u8: bits 0-3 alpha bits, bit 5 rows from the top

constexpr uint8_t kTgaTrueColour = 2;
constexpr uint8_t kTgaPixelBits = 24;
constexpr uint32_t kTgaMaxSide = 0xFFFF;

// The footer: extension area and developer directory offsets (u32, 0 for
// none), then the signature with its full stop and terminator.
constexpr uint32_t kTgaFooterSize = 26;
constexpr uint32_t kTgaExtensionOffset = 0;
constexpr uint32_t kTgaDeveloperOffset = 4;
constexpr uint32_t kTgaSignatureOffset = 8;
constexpr char kTgaSignature[18] = "TRUEVISION-XFILE.";  // 17 characters and the NUL

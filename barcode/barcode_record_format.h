// The stored barcode record: 348 bytes, little-endian, kept unchanged in
// card documents by the barcode frames and edited by the Barcode Info
// dialog. The f64 at 340 is only 4-aligned, so the record is read and
// written field by field, never through a struct.
#pragma once

#include <cstdint>

constexpr uint32_t kBarcodeRecordSize = 348;

// The text to encode: a length byte and up to 255 Windows-1252 characters.
constexpr uint32_t kBarcodeDataOffset = 0;
constexpr uint32_t kBarcodeDataSize = 256;
// Lengths in points (1/72 inch), f64.
constexpr uint32_t kBarcodeBarHeightOffset = 256;
constexpr uint32_t kBarcodeModuleOffset = 264;
constexpr uint32_t kBarcodeSpaceOffset = 272;
constexpr uint32_t kBarcodeCharGapOffset = 280;
// Degrees, counter-clockwise, f64.
constexpr uint32_t kBarcodeAngleOffset = 288;
// Symbology 1-15, i16.
constexpr uint32_t kBarcodeTypeOffset = 296;
// Option bytes, 0 or 1.
constexpr uint32_t kBarcodeShowTextOffset = 298;
constexpr uint32_t kBarcodeShowSystemDigitOffset = 299;
constexpr uint32_t kBarcodeShowCheckDigitOffset = 300;
constexpr uint32_t kBarcodeShowStartStopOffset = 301;
constexpr uint32_t kBarcodeAddCheckDigitOffset = 302;
constexpr uint32_t kBarcodeBearersOffset = 303;
// Not read by the engine; the barcode frames keep their re-measure flag here.
constexpr uint32_t kBarcodeReservedOffset = 304;
// ISBN: 1 "978", 2 "979", otherwise "977".
constexpr uint32_t kBarcodeBookPrefixOffset = 305;
constexpr uint32_t kBarcodePaddingOffset = 306;
constexpr uint32_t kBarcodePaddingSize = 2;
// Left, top, right, bottom of the measured barcode, i32 each.
constexpr uint32_t kBarcodeBoundsOffset = 308;
// Device units, i32 each.
constexpr uint32_t kBarcodeOriginXOffset = 324;
constexpr uint32_t kBarcodeOriginYOffset = 328;
constexpr uint32_t kBarcodeCentreXOffset = 332;
constexpr uint32_t kBarcodeCentreYOffset = 336;
// Caption font size in points, f64.
constexpr uint32_t kBarcodeCaptionSizeOffset = 340;

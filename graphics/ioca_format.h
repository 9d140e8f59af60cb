// IOCA image segments, bilevel and uncompressed. A run of self-defining
// fields, each a one-byte code (two bytes for the long ones, 0xFE first),
// then its length (one byte; two for the long ones) and its data, all
// big-endian:
//   0x70 0x00                         begin segment, without a name
//   0x91 0x01 0xFF                    begin image content, image object
//   0x94 0x09 unit h-res v-res w h    image size; resolutions per ten inches
//   0x95 0x03 0x03 0x01 0x00          encoding: none, rows from the top,
//                                     the first pixel in the high bit
//   0x96 0x01 0x01                    one bit a pixel; 1 is ink
//   0xFE 0x92 length bytes ...        image data, as many as needed
//   0x93 0x00                         end image content
//   0x71 0x00                         end segment
// Each row of data is padded with 0 to a whole byte.
#pragma once

#include <cstdint>

constexpr uint8_t kIocaBeginSegment = 0x70;
constexpr uint8_t kIocaEndSegment = 0x71;
constexpr uint8_t kIocaBeginImageContent = 0x91;
constexpr uint8_t kIocaEndImageContent = 0x93;
constexpr uint8_t kIocaImageObject = 0xFF;
constexpr uint8_t kIocaImageSize = 0x94;
constexpr uint8_t kIocaImageSizeLength = 9;
constexpr uint8_t kIocaUnitTenInches = 0x00;
constexpr uint8_t kIocaImageEncoding = 0x95;
constexpr uint8_t kIocaNoCompression = 0x03;
constexpr uint8_t kIocaRecordingRidic = 0x01;
constexpr uint8_t kIocaLeftToRight = 0x00;
constexpr uint8_t kIocaIdeSize = 0x96;
constexpr uint8_t kIocaBilevel = 0x01;
constexpr uint8_t kIocaLongCode = 0xFE;
constexpr uint8_t kIocaImageData = 0x92;
// Data is cut into pieces of this size; readers join them.
constexpr uint32_t kIocaDataPiece = 8192;
// Sizes and resolutions are two-byte fields that readers take as signed.
constexpr int kIocaMaxSide = 0x7FFF;
constexpr long kIocaMaxResolution = 0x7FFF;

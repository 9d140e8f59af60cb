// The print settings record of a card document: 48 bytes, little-endian,
// the first section of the document file (at offset 7000), read and
// written whole.
//
//   0    i16   reserved, stored
//   2    i16   reserved, stored (a tiling option without effect)
//   4    i16   reserved, stored
//   6    i16   reserved, stored
//   8    i16   reserved, stored (a second such option)
//  10    2     reserved
//  12    i16   stored, not read (2 in a new record)
//  14    2     reserved
//  16    f64   overlap of tiled pages, points (25.0)
//  24    i16   tile a page larger than the paper over several sheets (1)
//              or print only its first part (0)
//  26    22    reserved
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kPrintSettingsSize = 48;

enum : size_t {
    kPrintSettingsWord12 = 12,
    kPrintSettingsOverlap = 16,
    kPrintSettingsTile = 24,
};

constexpr int16_t kPrintSettingsWord12Default = 2;
constexpr double kPrintSettingsOverlapDefault = 25.0;
constexpr int16_t kPrintSettingsTileDefault = 1;

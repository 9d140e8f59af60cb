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
//  26    2     reserved
//  28    u32   the card's own orientation, for a label layout that leaves
//              it open: 0 none chosen, 1 portrait, other values landscape
//  32    u32   the card's own paper likewise: an entry of the paper table,
//              0 none chosen
//  36    12    reserved
//
// A file written before the card's own page was kept holds zeros at 28 and
// 32: no choice, as it opened then.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kPrintSettingsSize = 48;

enum : size_t {
    kPrintSettingsWord12 = 12,
    kPrintSettingsOverlap = 16,
    kPrintSettingsTile = 24,
    kPrintSettingsOwnOrientation = 28,
    kPrintSettingsOwnPaper = 32,
};

constexpr int16_t kPrintSettingsWord12Default = 2;
constexpr double kPrintSettingsOverlapDefault = 25.0;
constexpr int16_t kPrintSettingsTileDefault = 1;

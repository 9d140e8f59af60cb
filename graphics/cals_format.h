// CALS raster files of type 1: a header of sixteen 128-byte text records,
// each a "name: value" line padded with spaces (the records not used all
// spaces), then the picture as one CCITT Group 4 (T.6) code stream of its
// rows from the top, the first pixel in the high bit. 1 is black.
#pragma once

#include <cstdint>

constexpr uint32_t kCalsRecordSize = 128;
constexpr uint32_t kCalsHeaderRecords = 16;
constexpr uint32_t kCalsHeaderSize = kCalsRecordSize * kCalsHeaderRecords;
constexpr int kCalsMaxSide = 999999;  // the pel count has six digits

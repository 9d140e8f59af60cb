// The star frame's record, written behind the frame's block: 12 bytes,
// little-endian.
//
//   0  i16  number of points
//   2  i16  shape (star or plain polygon)
//   4  f64  acuteness (4-aligned)
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"

constexpr size_t kStarRecordSize = 12;

struct StarParams {
    int16_t points = 3;
    int16_t shape = 0;
    double acuteness = 0.75;

    bool operator==(const StarParams&) const = default;
};

inline StarParams GetStarParams(const uint8_t* p)
{
    StarParams s;
    s.points = GetI16LE(p);
    s.shape = GetI16LE(p + 2);
    s.acuteness = GetF64LE(p + 4);
    return s;
}

inline void PutStarParams(uint8_t* p, const StarParams& s)
{
    PutI16LE(p, s.points);
    PutI16LE(p + 2, s.shape);
    PutF64LE(p + 4, s.acuteness);
}

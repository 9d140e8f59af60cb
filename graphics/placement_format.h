// Stored byte layouts of the placement records: packed, little-endian, no
// gaps. Callers make sure the buffer holds the record's size.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/byte_order.h"
#include "graphics/placement_records.h"

constexpr size_t kFramePlacementSize = 16;
constexpr size_t kPlacementBlockSize = 25;
constexpr size_t kLineRecordSize = 22;

inline FramePlacement GetFramePlacement(const uint8_t* p)
{
    FramePlacement v;
    v.x = GetI32LE(p + 0);
    v.y = GetI32LE(p + 4);
    v.height = GetI16LE(p + 8);
    v.width = GetI16LE(p + 10);
    v.angle = GetF32LE(p + 12);
    return v;
}

inline void PutFramePlacement(uint8_t* p, const FramePlacement& v)
{
    PutI32LE(p + 0, v.x);
    PutI32LE(p + 4, v.y);
    PutI16LE(p + 8, v.height);
    PutI16LE(p + 10, v.width);
    PutF32LE(p + 12, v.angle);
}

inline PlacementBlock GetPlacementBlock(const uint8_t* p)
{
    PlacementBlock v;
    static_cast<FramePlacement&>(v) = GetFramePlacement(p);
    v.length = GetF32LE(p + 16);
    v.lineWidth = GetI16LE(p + 20);
    v.lineStyle = GetI16LE(p + 22);
    v.sides = p[24];
    return v;
}

inline void PutPlacementBlock(uint8_t* p, const PlacementBlock& v)
{
    PutFramePlacement(p, v);
    PutF32LE(p + 16, v.length);
    PutI16LE(p + 20, v.lineWidth);
    PutI16LE(p + 22, v.lineStyle);
    p[24] = v.sides;
}

inline LineRecord GetLineRecord(const uint8_t* p)
{
    LineRecord v;
    v.start.x = GetI32LE(p + 0);
    v.start.y = GetI32LE(p + 4);
    v.end.x = GetI32LE(p + 8);
    v.end.y = GetI32LE(p + 12);
    v.leftCap = p[16];
    v.rightCap = p[17];
    v.lineWidth = GetI16LE(p + 18);
    v.lineStyle = GetI16LE(p + 20);
    return v;
}

inline void PutLineRecord(uint8_t* p, const LineRecord& v)
{
    PutI32LE(p + 0, v.start.x);
    PutI32LE(p + 4, v.start.y);
    PutI32LE(p + 8, v.end.x);
    PutI32LE(p + 12, v.end.y);
    p[16] = v.leftCap;
    p[17] = v.rightCap;
    PutI16LE(p + 18, v.lineWidth);
    PutI16LE(p + 20, v.lineStyle);
}

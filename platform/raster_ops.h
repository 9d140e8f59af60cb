// Raster operations: how a pen, brush or source image combines with the
// pixels already on a surface, bit by bit over the 24 colour bits.
//
// A binary operation (R2_*) is a truth table over (pen, destination); a
// ternary one (the high word of a blit code) over (pattern, source,
// destination). Both are evaluated as whole-word bit logic, so every code
// works, not only the ones the drawing code happens to use today.
#pragma once

#include <cstdint>

// The result of binary operation `rop2` (1-16) for pen bits `p` over
// destination bits `d`. Codes outside 1-16 act as R2_COPYPEN.
inline uint32_t Rop2Apply(int32_t rop2, uint32_t p, uint32_t d)
{
    if (rop2 < 1 || rop2 > 16)
        rop2 = 13;
    const uint32_t t = uint32_t(rop2 - 1);
    uint32_t r = 0;
    if (t & 1)
        r |= ~p & ~d;
    if (t & 2)
        r |= ~p & d;
    if (t & 4)
        r |= p & ~d;
    if (t & 8)
        r |= p & d;
    return r & 0xFFFFFFu;
}

// The truth table of a ternary blit code: bit (p*4 + s*2 + d).
constexpr uint8_t Rop3Table(uint32_t rop) { return uint8_t(rop >> 16); }

inline uint32_t Rop3Apply(uint8_t table, uint32_t p, uint32_t s, uint32_t d)
{
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(table & (1u << i)))
            continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r & 0xFFFFFFu;
}

// Whether a ternary code reads the pattern, the source or the destination.
constexpr bool Rop3UsesPattern(uint8_t t) { return ((t >> 4) & 0x0F) != (t & 0x0F); }
constexpr bool Rop3UsesSource(uint8_t t) { return ((t >> 2) & 0x33) != (t & 0x33); }
constexpr bool Rop3UsesDest(uint8_t t) { return ((t >> 1) & 0x55) != (t & 0x55); }

// Whether a binary code reads the destination (everything but black,
// white, copy and not-copy does).
constexpr bool Rop2UsesDest(int32_t rop2) { return rop2 != 1 && rop2 != 4 && rop2 != 13 && rop2 != 16; }

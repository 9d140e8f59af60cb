// The stripe tables of the nine line styles.
//
// A styled line or border is drawn as up to three parallel stripes with
// gaps between them: stripe, gap, stripe, gap, stripe, from the outer edge
// (for a line, the upper edge before rotation) inward. The table is the
// one thing every styled drawing shares, so the widths it gives decide how
// a double or thin-thick border looks at every size.
#pragma once

#include <cstdint>

// Line styles of frames and borders.
enum : int16_t {
    kLineSingle = 1,
    kLineDouble = 2,
    kLineThinThick = 3,
    kLineThickThin = 4,
    kLineThinThickThin = 5,
    kLineThickThinThick = 6,
    kLineLongDashes = 7,
    kLineShortDashes = 8,
    kLineDots = 9,
};

// Five values: stripe, gap, stripe, gap, stripe; -1 where absent. A stripe
// of 0 draws nothing.
struct StripeTable {
    int16_t s[5] = {-1, -1, -1, -1, -1};
};

// The table of a style (1-9) at a width (its absolute value is used).
// Width 0 or another style gives five times -1.
void BorderStripeWidths(int32_t style, int32_t width, StripeTable* out);

// Dashed and dotted styles draw as one solid stripe on every shape but the
// line and the rectangle border.
inline int32_t SolidForDashes(int32_t style) { return style >= kLineLongDashes && style <= kLineDots ? 1 : style; }

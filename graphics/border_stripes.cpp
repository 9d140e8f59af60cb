#include "graphics/border_stripes.h"

#include <algorithm>
#include <cstdlib>

void BorderStripeWidths(int32_t style, int32_t width, StripeTable* out)
{
    *out = StripeTable{};
    // The table holds 16-bit values; a width beyond them is a damaged
    // record, drawn at the widest width that still fits.
    const int32_t w = std::min(std::abs(int64_t(width)), int64_t(INT16_MAX));
    if (w == 0 || style < 1 || style > 9)
        return;
    const int32_t t = w / 16 + 1;
    const int32_t r = w - t;
    int32_t s[5] = {-1, -1, -1, -1, -1};
    switch (style) {
    case kLineDouble: {
        const int32_t edge = w / 8 + 1;
        s[0] = edge;
        s[1] = std::max(w - 2 * edge, 0);
        s[2] = edge;
        break;
    }
    case kLineThinThick:
        s[0] = t;
        s[1] = std::max(r, 0) >> 1;
        s[2] = std::max(r - (std::max(r, 0) >> 1), 0);
        break;
    case kLineThickThin: {
        const int32_t m = w < 3 ? 0 : t;
        const int32_t g = (w - m) >> 1;
        s[0] = std::max(w - g - m, 0);
        if (s[0] == 0)
            s[0] = 1;
        s[1] = g;
        s[2] = m;
        break;
    }
    case kLineThinThickThin: {
        const int32_t e = w >= 5 ? t : 0;
        const int32_t q = (r - e) / 3;
        s[0] = t;
        s[1] = q;
        s[2] = std::max(w - 2 * q - t - e, 0);
        s[3] = q;
        s[4] = e;
        break;
    }
    case kLineThickThinThick: {
        // The gaps are measured from the outer stripes before a stripe of
        // no width is widened to one unit, so that a narrow line keeps its
        // total width.
        const int32_t m = w >= 5 ? t : 0;
        const int32_t k = (w - m) / 3;
        const int32_t h = (w - 2 * k - m) >> 1;
        s[0] = k == 0 ? 1 : k;
        s[1] = h;
        s[2] = m;
        s[3] = w - 2 * k - m - h;
        s[4] = k;
        break;
    }
    default:  // single, dashes and dots
        s[0] = w;
        break;
    }
    for (int i = 0; i < 5; ++i)
        out->s[i] = int16_t(s[i]);
}

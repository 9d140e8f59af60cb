// The work buffers of one document's text layout, kept between lines so
// that laying out a line allocates nothing: the wrap outline of the frame
// being laid out, the crossings of one band with it, the tabs of the line
// being built and the advance of each of its characters. Each document has
// its own, so documents never share layout state.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "foundation/int_geometry.h"

constexpr int32_t kWrapPointLimit = 600;
constexpr int32_t kCrossingLimit = 600;

struct WrapCrossing {
    int32_t x = 0;
    int32_t y = 0;
    int8_t tag = 0;  // -1 entering an outline, +1 leaving it
};

struct LayoutContext {
    // The edges of the outlines that lie over the frame, as point pairs.
    std::array<IntPoint, kWrapPointLimit> wrapPoints{};
    int32_t wrapCount = 0;

    std::array<WrapCrossing, kCrossingLimit> crossings{};
    int32_t crossingCount = 0;

    // The line being laid out: the x of each of its characters from the
    // slot's left edge (entry i before character first + i).
    std::vector<int32_t> advances;
};

// A place in a story: a paragraph index and a character offset in that
// paragraph.
#pragma once

#include <cstdint>

struct TextPosition {
    uint32_t paragraph = 0;
    uint16_t character = 0;

    bool operator==(const TextPosition&) const = default;
};

// A word as the spelling dictionary takes it, a length-prefixed string.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "foundation/pstr.h"

struct Word {
    PStr p;
    explicit Word(const std::string& s)
    {
        p[0] = uint8_t(s.size());
        std::memcpy(p + 1, s.data(), s.size());
    }
};

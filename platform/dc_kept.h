// The drawings a Dc keeps to give its device again (Dc::beginKept).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dc_device.h"
#include "platform/dc_state.h"

struct Dc::Kept {
    // A print job's repeated pieces are few (one per card position on the
    // sheet for each repeated frame); more are not worth their memory.
    static constexpr size_t kDrawings = 64;

    // A drawing seen once has no output yet.
    struct Drawing {
        std::string key;
        State before;
        State after;
        int32_t result = 0;
        std::shared_ptr<const KeptOutput> output;
    };
    std::vector<Drawing> drawings;
    size_t replaceNext = 0;

    // The pair in progress: how deep, whether its output is being kept and
    // for which drawing seen before, and whether it reached back past the
    // state it began with (a restoreDc below the saved states it began
    // with).
    int depth = 0;
    bool keeping = false;
    bool spoilt = false;
    size_t savedDepth = 0;
    size_t seen = 0;

    // Into the ring, in place of the oldest when it is full.
    void add(Drawing d);

    // Everything a drawing call reads from the state. The font's face is
    // made from the font and the mapping, so it needs no comparing of its
    // own.
    static bool SameState(const State& a, const State& b);
};

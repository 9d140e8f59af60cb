// The drawings a Dc keeps to give its device again (Dc::beginKept).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
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

    // Answers remembered (Dc::remember), by key. As with drawings, an answer
    // is kept the second time its key comes: a key that changes card by card
    // (a barcode of each record's own data) is only noted, by its hash. A job
    // asks a few for each place on its sheet; one that asks more starts
    // again.
    static constexpr size_t kAnswers = 1024;
    struct Answer {
        State state;
        int32_t answer = 0;
    };
    struct KeyHash {
        using is_transparent = void;
        size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };
    std::unordered_map<std::string, std::vector<Answer>, KeyHash, std::equal_to<>> answers;
    size_t answerCount = 0;
    std::unordered_set<size_t> keysSeenOnce;

    // Into the ring, in place of the oldest when it is full.
    void add(Drawing d);

    // Everything a drawing call reads from the state. The font's face is
    // made from the font and the mapping, so it needs no comparing of its
    // own.
    static bool SameState(const State& a, const State& b);
};

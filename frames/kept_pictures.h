// Pictures of frames that left memory, kept decoded with their masks by the
// swap file they are stored in. A frame swapped out and read back (a print
// job does so for every sheet) takes its picture again instead of reading
// and converting every pixel anew. Each is known by the stretch of the swap
// file its picture is stored at, and is forgotten when any of that stretch
// is written or given back.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/dib_handle.h"

class KeptPictures {
public:
    KeptPictures() = default;
    KeptPictures(const KeptPictures&) = delete;
    KeptPictures& operator=(const KeptPictures&) = delete;
    ~KeptPictures();

    // Takes over image (and mask, made with maskKey; may be null) stored at
    // [position, position + length), with the hash of its pixels; frees
    // them when they would take more than the few kept.
    void Keep(uint32_t position, uint32_t length, DibHandle image, DibHandle mask, uint32_t maskKey,
              uint64_t hash);
    // Hands back the picture stored at position, its hash and its mask made
    // with maskKey (null for another key), or false when none is kept.
    bool Take(uint32_t position, uint32_t maskKey, DibHandle* image, DibHandle* mask, uint64_t* hash);
    // Forgets those whose stretch meets [position, position + length).
    void Forget(uint64_t position, uint64_t length);
    void Clear();

private:
    struct Kept {
        uint32_t position;
        uint32_t length;
        DibHandle image;
        DibHandle mask;
        uint32_t maskKey;
        uint64_t hash;
    };
    static constexpr size_t kKept = 4;
    static constexpr uint64_t kKeptBytes = 128ull << 20;
    void Free(Kept& k);
    std::vector<Kept> kept_;
};

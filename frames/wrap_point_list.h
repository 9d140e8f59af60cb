// The points text wraps around: the outlines of the frames that overlap a
// text frame, gathered one frame after the other into one list of fixed
// size. Every frame checks the room it needs against the caller's limit
// before it adds anything, so a frame's outline is either all there or not
// at all.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"

class WrapPointList {
public:
    static constexpr int32_t kCapacity = 600;

    int32_t Count() const { return count_; }
    const IntPoint& At(int32_t i) const { return points_[i]; }
    void Clear() { count_ = 0; }
    // Whether n more points fit below limit (itself at most the capacity):
    // the list never reaches the limit.
    bool HasRoom(int32_t n, int32_t limit) const
    {
        const int32_t cap = limit < kCapacity ? limit : kCapacity;
        return n >= 0 && count_ + n < cap;
    }
    // False, with nothing added, when the list is full.
    bool Add(const IntPoint& p)
    {
        if (count_ >= kCapacity)
            return false;
        points_[count_++] = p;
        return true;
    }

private:
    int32_t count_ = 0;
    IntPoint points_[kCapacity];
};

// The pasteboard's frames and groups: frames that lie on no page and show
// with every page. One list per document.
#pragma once

#include <cstdint>

#include "foundation/int_geometry.h"

class FrameObj;

class SharedFrameList {
public:
    static constexpr int16_t kCapacity = 300;

    // Refused when the list already holds capacity - 1 frames (message 601;
    // this check comes first, so a null frame is refused the same way),
    // then for null; true when the frame is listed already. A new frame's
    // page word becomes its place in the list.
    bool AddFrame(FrameObj* frame);
    // The same for groups (message 602), whose page word is not set.
    bool AddGroup(FrameObj* group);
    void Clear();
    int16_t FrameCount() const { return frameCount_; }
    int16_t GroupCount() const { return groupCount_; }
    FrameObj* FrameAt(int16_t index) const;
    FrameObj* GroupAt(int16_t index) const;

    // Moves every listed frame and group that overlaps one of the shown
    // pages (handle not -1; the first such page counts) beside it: left of
    // the first page, right of the second.
    void PlaceOnPages(const uint32_t pages[2], const IntRect rects[2]);
    // The horizontal move that puts bounds beside page side's rectangle.
    static int32_t PageOffset(int side, const IntRect& page, const IntRect& bounds);

private:
    void Place(FrameObj* frame, const uint32_t pages[2], const IntRect rects[2]);

    int16_t frameCount_ = 0;
    int16_t groupCount_ = 0;
    FrameObj* frames_[kCapacity] = {};
    FrameObj* groups_[kCapacity] = {};
};

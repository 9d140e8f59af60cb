#include "frames/shared_frame_list.h"

#include "foundation/alerts.h"
#include "frames/frame_obj.h"
#include "frames/page_record_format.h"
#include "graphics/rect_ops.h"

namespace {

constexpr int32_t kFrameMngBase = 600;
constexpr int32_t kMsgFramesFull = 1;
constexpr int32_t kMsgGroupsFull = 2;

}  // namespace

bool SharedFrameList::AddFrame(FrameObj* frame)
{
    if (frameCount_ >= kCapacity - 1) {
        AlertNoteById(kFrameMngBase, kMsgFramesFull, 0);
        return false;
    }
    if (!frame)
        return false;
    for (int16_t i = 0; i < frameCount_; ++i) {
        if (frames_[i] == frame)
            return true;
    }
    frame->SetPageWord(frameCount_, 0);
    frames_[frameCount_++] = frame;
    return true;
}

bool SharedFrameList::AddGroup(FrameObj* group)
{
    if (!group)
        return false;
    if (groupCount_ >= kCapacity - 1) {
        AlertNoteById(kFrameMngBase, kMsgGroupsFull, 0);
        return false;
    }
    for (int16_t i = 0; i < groupCount_; ++i) {
        if (groups_[i] == group)
            return true;
    }
    groups_[groupCount_++] = group;
    return true;
}

void SharedFrameList::Clear()
{
    frameCount_ = 0;
    groupCount_ = 0;
}

FrameObj* SharedFrameList::FrameAt(int16_t index) const
{
    return index >= 0 && index < frameCount_ ? frames_[index] : nullptr;
}

FrameObj* SharedFrameList::GroupAt(int16_t index) const
{
    return index >= 0 && index < groupCount_ ? groups_[index] : nullptr;
}

int32_t SharedFrameList::PageOffset(int side, const IntRect& page, const IntRect& bounds)
{
    return side == 1 ? page.right - bounds.left : page.left - bounds.right;
}

void SharedFrameList::Place(FrameObj* frame, const uint32_t pages[2], const IntRect rects[2])
{
    if (!frame)
        return;
    IntRect bounds;
    frame->GetBounds(&bounds, kGeometryCurrent);
    for (int side = 0; side < 2; ++side) {
        IntRect common;
        if (pages[side] == kNoPageHandle || !RectIntersect(rects[side], bounds, &common))
            continue;
        frame->MoveBy(IntPoint{PageOffset(side, rects[side], bounds), 0}, 0, 1);
        return;
    }
}

void SharedFrameList::PlaceOnPages(const uint32_t pages[2], const IntRect rects[2])
{
    for (int16_t i = 0; i < frameCount_; ++i)
        Place(frames_[i], pages, rects);
    for (int16_t g = 0; g < groupCount_; ++g)
        Place(groups_[g], pages, rects);
}

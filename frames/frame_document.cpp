#include "frames/frame_document.h"

#include "foundation/int_math.h"
#include <algorithm>

#include "frames/curr_page_mng.h"

int16_t FrameDocument::GetVisiblePageCount()
{
    CurrPageMng* manager = PageManager();
    return manager && manager->PageHandleOfSlot(0) != kNoPageHandle ? 1 : 0;
}

int16_t FrameDocument::GetPageSlot(int16_t n)
{
    CurrPageMng* manager = PageManager();
    if (!manager || n < 1)
        return -1;
    int16_t seen = 0;
    for (int16_t slot = 0; slot < 2; ++slot) {
        if (manager->PageHandleOfSlot(slot) != kNoPageHandle && ++seen == n)
            return slot;
    }
    return -1;
}

int16_t FrameDocument::PageSlotAtPoint(const IntPoint& viewPoint, IntPoint* pagePoint)
{
    CurrPageMng* manager = PageManager();
    if (!manager)
        return 0;
    int16_t num = 1, den = 1, mode = 0;
    manager->GetZoom(&num, &den, &mode);
    IntPoint p = viewPoint;
    if (num != 0) {
        p.x = ScaleTrunc(p.x, den, num);
        p.y = ScaleTrunc(p.y, den, num);
    }
    const int16_t count = GetVisiblePageCount();
    for (int16_t i = 1; i <= count; ++i) {
        const int16_t slot = GetPageSlot(i);
        if (slot < 0)
            continue;
        IntRect r;
        GetPageSlotRect(slot, &r);
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) {
            *pagePoint = IntPoint{p.x - r.left, p.y - r.top};
            return i;
        }
    }
    return 0;
}

FrameObj* FrameDocument::FindTextFrameFrom(int32_t* index)
{
    CurrPageMng* manager = PageManager();
    if (!manager)
        return nullptr;
    const int16_t start = int16_t(std::clamp<int32_t>(*index, 0, INT16_MAX));
    FrameObj* frame = manager->FindTextFrameFrom(&start);
    if (frame)
        *index = manager->IndexOfFrame(frame) + 1;
    return frame;
}

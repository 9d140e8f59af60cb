#include "toolbase/new_frame_tracker.h"

#include <algorithm>

#include "graphics/rect_ops.h"

namespace {

// One axis of Fit: the span from a to b, no longer than low..high, moved
// within it.
void FitSpan(int32_t* a, int32_t* b, int32_t low, int32_t high)
{
    const bool forward = *a <= *b;
    const int32_t size = std::min(std::max(*a, *b) - std::min(*a, *b), high - low);
    const int32_t first = std::clamp(std::min(*a, *b), low, high - size);
    *a = forward ? first : first + size;
    *b = forward ? first + size : first;
}

}  // namespace

CNewFrameTracker::CNewFrameTracker(TrackerView* view, FrameTool* owner, uint16_t mode)
    : CTracker(view, owner, mode, 1)
{
}

void CNewFrameTracker::ConstrainPoint(int16_t /*phase*/, IntPoint* /*point*/, IntPoint* /*anchor*/) {}

void CNewFrameTracker::Fit(IntPoint* from, IntPoint* to) const
{
    IntRect page = limit_;
    RectNormalize(&page);
    if (page.right <= page.left || page.bottom <= page.top)
        return;
    FitSpan(&from->x, &to->x, page.left, page.right);
    FitSpan(&from->y, &to->y, page.top, page.bottom);
}

void CNewFrameTracker::DrawFeedback(const IntPoint& from, const IntPoint& to)
{
    IntPoint a = from;
    IntPoint b = to;
    Fit(&a, &b);
    CTracker::DrawFeedback(a, b);
}

void CNewFrameTracker::Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor)
{
    CTracker::Finish(end, previous, anchor);
    IntPoint a = anchor;
    IntPoint b = end;
    Fit(&a, &b);
    result_ = IntRect{a.x, a.y, b.x, b.y};
}

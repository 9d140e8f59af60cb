// The tracker of a frame drawn new with a tool. The rubber band follows the
// pointer wherever it goes, also into the white beyond the pasteboard, and
// the frame comes where the band shows it: as large as it was drawn, moved
// onto the pasteboard, and no larger than the pasteboard. Holding each
// corner to the pasteboard instead would flatten a frame drawn beyond it to
// nothing.
#pragma once

#include <cstdint>

#include "toolbase/tracker.h"

class CNewFrameTracker : public CTracker {
public:
    CNewFrameTracker(TrackerView* view, FrameTool* owner, uint16_t mode);

    void ConstrainPoint(int16_t phase, IntPoint* point, IntPoint* anchor) override;
    void DrawFeedback(const IntPoint& from, const IntPoint& to) override;
    void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor) override;

private:
    // The corners moved (and brought closer where the pasteboard is
    // smaller) onto the pasteboard, each keeping its side of the other.
    void Fit(IntPoint* from, IntPoint* to) const;
};

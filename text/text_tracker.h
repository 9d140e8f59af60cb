// The drag that selects text in the frame in edit: from the place the
// button went down to the place under the pointer, line by line, the
// selection's area is inverted on the view while the mouse moves; only what
// changed since the last pass is painted.
#pragma once

#include <cstdint>

#include "frames/text_position.h"
#include "platform/dc.h"
#include "toolbase/tracker.h"

class TextContext;

// The mode the text tool makes its tracker with.
constexpr uint16_t kTextTrackerMode = 4;

class CTextTracker : public CTracker {
public:
    CTextTracker(TrackerView* view, FrameTool* owner, uint16_t mode, TextContext* ctx);

    void Begin(IntPoint* start) override;
    void UpdateFeedback(IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                        bool drawNew) override;
    void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor) override;
    void AdjustPoint(int16_t phase, IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                     bool doNotSnap) override;

    // Where the drag began and where it is now.
    const TextPosition& AnchorPosition() const { return anchorPosition_; }
    const TextPosition& EndPosition() const { return endPosition_; }

private:
    // The text position under a view point.
    TextPosition PositionAt(const IntPoint& viewPoint);
    // The area of the text between the two positions, in either order.
    Region AreaBetween(const TextPosition& a, const TextPosition& b);

    TextContext* ctx_;
    Region drawn_;
    uint32_t nothingDrawn_ = 0;
    TextPosition anchorPosition_;
    TextPosition endPosition_;
};

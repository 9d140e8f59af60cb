// The trackers made for particular drags: the barcode tool's click, the
// line tool's constrained line, the hand's grab of the page, and the
// frames' own resize, line-end and picture crop drags. The frames ask the
// view for theirs by kind (MakeFrameTracker).
#pragma once

#include <cstdint>

#include "graphics/placement_records.h"
#include "toolbase/tracker.h"

// A click: no feedback; the result is the 5 x 5 square whose top left is
// where the button was let go.
class CBarcodeTracker : public CTracker {
public:
    using CTracker::CTracker;
    void DrawFeedback(const IntPoint& from, const IntPoint& to) override;
    void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor) override;
};

// The band is a line; with Shift held it keeps to 0, 45 or 90 degrees.
class CLineTracker : public CTracker {
public:
    using CTracker::CTracker;
    void UpdateFeedback(IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                        bool drawNew) override;
    void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor) override;
    void DrawFeedback(const IntPoint& from, const IntPoint& to) override;
    virtual void ConstrainLine(const IntPoint& start, IntPoint* end);
    const IntPoint& EndPoint() const { return end_; }

protected:
    IntPoint end_;
};

// Grabs the page: the spot under the pointer stays under it while the
// view scrolls; always reports that it moved and scrolled.
class CDragTracker : public CTracker {
public:
    CDragTracker(TrackerView* view, FrameTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove);
    void Begin(IntPoint* start) override;
    void UpdateFeedback(IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                        bool drawNew) override;
    void AdjustPoint(int16_t phase, IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                     bool doNotSnap) override;
    void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor) override;
};

// Moves one end of a line frame (the handle set by the frame).
class CLineObjTracker : public CLineTracker {
public:
    using CLineTracker::CLineTracker;
    void Begin(IntPoint* start) override;
    void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor) override;

private:
    IntPoint fixed_;
};

// Resizes a frame by one of its handles (1-4 corners, 5-8 side midpoints)
// with an outline of its shape; Shift keeps the proportions.
class CObjTracker : public CTracker {
public:
    CObjTracker(TrackerView* view, FrameTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove);
    void Begin(IntPoint* start) override;
    void UpdateFeedback(IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                        bool drawNew) override;
    void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor) override;
    // The NOT-XOR outline of the frame's shape over the quad (view units).
    void DrawOutline(const CornerQuad& viewQuad);
    const CornerQuad& CurrentQuad() const { return current_; }

protected:
    CornerQuad ViewQuad(const CornerQuad& documentQuad) const;
    // Takes the drag's outline off and keeps its bounds as the result;
    // true when the frame was moved and is to take the new place.
    bool EndOutline();

    CornerQuad current_;
    CornerQuad starting_;
};

// Moves or crops a picture frame: without Alt the picture stays where it is
// on the page while the frame moves over it; with Alt it follows the frame
// and is scaled with it.
class CPictureTracker : public CObjTracker {
public:
    CPictureTracker(TrackerView* view, FrameTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove);
    void UpdateFeedback(IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                        bool drawNew) override;
    void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor) override;
    int16_t WidthChange() const { return widthChange_; }
    int16_t HeightChange() const { return heightChange_; }

private:
    CornerQuad previousQuad_;
    int16_t widthChange_ = 0;
    int16_t heightChange_ = 0;
};

// The tracker of the kind for a frame's own drag, or null.
FrameTracker* MakeFrameTracker(TrackerView* view, TrackerKind kind, FrameObj* frame, int16_t mode);

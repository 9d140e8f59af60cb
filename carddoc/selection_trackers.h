// The trackers that drive the selection: moving the selected frames and
// turning them about a centre.
#pragma once

#include <cstdint>

#include "carddoc/trackers.h"
#include "toolbase/tracker.h"

class SelectionTool;

// Moves the selection. Moved at once, an outline of the selection follows
// the pointer and the frames jump when the button is let go; held still
// for a second first, the frames themselves follow the pointer.
class CObjectTracker : public CTracker {
public:
    CObjectTracker(TrackerView* view, SelectionTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove);
    void Begin(IntPoint* start) override;
    void UpdateFeedback(IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                        bool drawNew) override;
    void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor) override;
    void AdjustPoint(int16_t phase, IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                     bool doNotSnap) override;
    void ShowInRulers(const IntPoint& point, const IntPoint* second) override;

    bool Held() const { return hold_ != 0; }
    // The distance the selection went, document units.
    const IntPoint& Applied() const { return applied_; }

private:
    // Moves the selection so that it stands at the pointer's distance from
    // the anchor.
    void Follow(const IntPoint& point, const IntPoint& anchor);

    SelectionTool* tool_;
    uint8_t hold_ = 0;
    bool started_ = false;
    IntPoint applied_;
};

// What the rotate tool gives the rotate tracker: the turn shown while the
// pointer moves, and the turn made when the button is let go.
class RotationTarget {
public:
    virtual ~RotationTarget() = default;
    // angle in degrees about centre (document units).
    virtual void PreviewRotation(double angle, const IntPoint& centre) = 0;
    virtual void CommitRotation() = 0;
};

// A line from the rotation centre (the press point, marked) to the pointer.
class CRotateTracker : public CLineTracker {
public:
    static constexpr int32_t kCenterMarkSize = 14;
    static constexpr int32_t kCursorRotateDone = 18;

    CRotateTracker(TrackerView* view, FrameTool* owner, RotationTarget* target, uint16_t mode,
                   uint8_t redrawOnlyOnMove);
    void Begin(IntPoint* start) override;
    void UpdateFeedback(IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                        bool drawNew) override;
    void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor) override;
    double Angle() const { return angle_; }

private:
    void DrawCentre(const IntPoint& centre);

    RotationTarget* target_;
    IntPoint centre_;
    double angle_ = 0;
};

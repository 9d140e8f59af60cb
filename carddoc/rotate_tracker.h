// The rotate tool's drag: a centre mark where the button went down, a line
// from it to the pointer, and the selection's outlines turned by the angle
// of that line; letting go turns the selection by it.
#pragma once

#include "carddoc/trackers.h"

class RotateTool;

class CRotateTracker : public CLineTracker {
public:
    CRotateTracker(TrackerView* view, RotateTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove);
    void Begin(IntPoint* start) override;
    void UpdateFeedback(IntPoint* point, const IntPoint& previous, const IntPoint& anchor, int16_t code,
                        bool drawNew) override;
    void Finish(const IntPoint& end, const IntPoint& previous, const IntPoint& anchor) override;

    // The angle of the last line drawn, degrees.
    double Angle() const { return angle_; }

private:
    void DrawCentre(const IntPoint& at);

    RotateTool* tool_;
    double angle_ = 0.0;
    bool previewShown_ = false;
    IntPoint centre_;
};

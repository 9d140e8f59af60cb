// The Rotate tool: turns the selected frames about the point where the drag
// starts, by the angle of the line dragged from it. It is an Object tool
// with a selection of its own, taken over from the Object tool when it
// follows it and handed back the same way.
#pragma once

#include "carddoc/rect_tool.h"
#include "carddoc/selection_tool.h"
#include "carddoc/selection_trackers.h"

enum : int32_t {
    kCursorRotated = 18,
};

class RotateTool : public SelectionTool, public RotationTarget {
public:
    using SelectionTool::SelectionTool;
    int16_t GetKind() override { return kToolRotate; }
    void Activate(FrameTool* previous, int16_t kind) override;
    // Selects the frame under the point when nothing is selected (or, with
    // Shift, instead of the selection), then follows the turn.
    int32_t MouseDown(const IntPoint& viewPoint) override;
    // Null when nothing is selected, or any selected frame is locked, fixed
    // or cannot turn.
    CTracker* CreateTracker(int16_t mode) override;
    int32_t GetCursor(const IntPoint& viewPoint) override;

    // Every selected frame and group turns about the point (document units);
    // so does the selection's bounding placement.
    void RotateSelectionAbout(const IntPoint& point, double angle, int16_t mode, uint8_t flag);
    // Every selected frame takes the turn that fits on the page.
    void RotateSelectionStep(double a, double b, uint8_t flag);

    // The tracker's preview: NOT-XOR outlines of the selection turned by
    // the angle about the centre, the last one taken away first.
    void PreviewRotation(double angle, const IntPoint& centre) override;
    // The last turn previewed is made.
    void CommitRotation() override;

private:
    void DrawPreview();

    bool previewShown_ = false;
    double previewAngle_ = 0.0;
    IntPoint previewCentre_;
};

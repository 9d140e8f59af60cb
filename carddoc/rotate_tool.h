// The Rotate tool: turns the selected frames about the point where the drag
// starts, by the angle of the line dragged from it. It keeps a selection of
// its own, taken over from the Object tool when it follows it and handed
// back the same way.
#pragma once

#include <functional>
#include <vector>

#include "carddoc/rect_tool.h"
#include "graphics/placement_records.h"

enum : int32_t {
    kCursorRotated = 18,
};

// The frames the Object tool held when it was last deactivated. The Object
// tool installs its own; until it does, the document's view of the Object
// tool's selection (ToolDocument::SelectionCount, SelectedFrame) stands in.
using SavedSelectionSource = std::function<std::vector<FrameObj*>(ToolDocument* document)>;
SavedSelectionSource SetSavedSelectionSource(SavedSelectionSource source);

class RotateTool : public FrameTool {
public:
    using FrameTool::FrameTool;
    int16_t GetKind() override { return kToolRotate; }
    void Activate(FrameTool* previous, int16_t kind) override;
    void Deactivate() override;
    void PagesClosing() override;
    // Selects the frame under the point when nothing is selected (or, with
    // Shift, instead of the selection), then follows the turn.
    int32_t MouseDown(const IntPoint& viewPoint) override;
    // Null when nothing is selected, or any selected frame is locked, fixed
    // or cannot turn.
    CTracker* CreateTracker(int16_t mode) override;
    int32_t GetCursor(const IntPoint& viewPoint) override;
    // Records every selected frame.
    bool SaveUndo(int16_t action) override;

    // Every selected frame and group turns about the point (document units);
    // so does the selection's bounding placement.
    void RotateSelectionAbout(const IntPoint& point, double angle, int16_t mode, uint8_t flag);
    // Every selected frame takes the turn step within the page.
    void RotateSelectionStep(double a, double b, uint8_t flag);

    // The tracker's preview (NOT-XOR outlines of the selection turned by the
    // angle about the centre; drawing it twice takes it away) and its end.
    void DrawRotationPreview(double angle, const IntPoint& centre);
    void CommitRotation(double angle, const IntPoint& centre);

    // ---- the selection ----
    void SelectWithGroup(FrameObj* frame);
    void DeselectAll(bool redraw);
    int16_t SelectedCount() const { return int16_t(selected_.size()); }
    FrameObj* Selected(int16_t i) const { return selected_[size_t(i)]; }
    // What the Object tool takes back when it follows this tool.
    int16_t SavedCount() const { return int16_t(saved_.size()); }
    FrameObj* SavedFrame(int16_t i) const { return saved_[size_t(i)]; }

private:
    void ComputeBounds();
    void RedrawSelection();

    std::vector<FrameObj*> selected_;
    std::vector<FrameObj*> groups_;
    std::vector<FrameObj*> saved_;
    FramePlacement bounds_;
};

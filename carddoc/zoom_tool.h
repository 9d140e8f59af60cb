// The Zoom tool: a click zooms in (out with Ctrl, or with the right button)
// by a step around the click; a drag zooms so that the dragged rectangle
// fills the window. It makes no frame and stays current.
#pragma once

#include "carddoc/rect_tool.h"

enum : int32_t {
    kCursorZoomIn = 8,
    kCursorZoomOut = 9,
};

class ZoomTool : public FrameTool {
public:
    static constexpr int32_t kMinPercent = 10;
    static constexpr int32_t kMaxPercent = 400;

    using FrameTool::FrameTool;
    int16_t GetKind() override { return kToolZoom; }
    void Activate(FrameTool* previous, int16_t kind) override;
    int32_t RightButtonUp(const IntPoint& viewPoint) override;
    // Zooms to the dragged rectangle (view units) and returns no frame.
    FrameObj* CreateFrame(const IntRect& viewRect) override;
    // Fields: 0 and 1 the zoom point, 2 the step, 3 the percent.
    void SetFramePlacement(int16_t field, int32_t value, int32_t unused, bool redraw) override;
    void GetGraphicAttrs(GraphicAttrs* out) override;
    int32_t GetCursor(const IntPoint& viewPoint) override;

    int16_t Step() const { return step_; }
    int32_t Percent() const { return percent_; }
    IntPoint ZoomPoint() const { return point_; }

private:
    bool ZoomingOut();
    int32_t CurrentPercent();
    void ApplyZoom();

    int16_t step_ = 25;
    int32_t percent_ = 100;
    IntPoint point_;
    uint8_t zoomOut_ = 0;
};

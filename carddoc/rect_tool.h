// The tools that draw a plain shape by dragging a rectangle: rectangle,
// rounded rectangle, ellipse, arc and line. They differ from the base tool
// only in the frame they make, the rubber band and a few defaults.
#pragma once

#include "toolbase/frame_tool.h"

// Application cursors of the drawing tools.
enum : int32_t {
    kCursorDrawShape = 10,
};

// Kinds of the tools in the document's table.
enum : int16_t {
    kToolPowerText = 3,
    kToolHand = 4,
    kToolRect = 5,
    kToolRoundRect = 6,
    kToolEllipse = 7,
    kToolStar = 8,
    kToolLine = 9,
    kToolArc = 10,
    kToolRotate = 11,
    kToolZoom = 12,
    kToolPreview = 13,
    kToolBarcode = 14,
    kToolCounterBarcode = 15,
    kToolBarcode18 = 16,
    kToolPicture = 17,
    kToolDatabaseField = 18,
    kToolBarcode13 = 19,
};

class RectTool : public FrameTool {
public:
    explicit RectTool(ToolDocument* document);
    int16_t GetKind() override { return kToolRect; }
    int16_t GetFrameType() override;
    int32_t GetCursor(const IntPoint& viewPoint) override;
};

// Kept in table slot 6, but it answers the rectangle's kind: whoever asks a
// tool for its kind cannot tell the two apart.
class RoundRectTool : public RectTool {
public:
    using RectTool::RectTool;
    int16_t GetFrameType() override;
};

class EllipseTool : public RectTool {
public:
    using RectTool::RectTool;
    int16_t GetKind() override { return kToolEllipse; }
    int16_t GetFrameType() override;
};

class ArcTool : public RectTool {
public:
    using RectTool::RectTool;
    int16_t GetKind() override { return kToolArc; }
    int16_t GetFrameType() override;
};

// The drag draws a line from the press point; Shift keeps it to 0, 45 or 90
// degrees.
class LineTool : public RectTool {
public:
    explicit LineTool(ToolDocument* document);
    int16_t GetKind() override { return kToolLine; }
    int16_t GetFrameType() override;
    CTracker* CreateTracker(int16_t mode) override;
};

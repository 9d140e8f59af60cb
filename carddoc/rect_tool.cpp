#include "carddoc/rect_tool.h"

#include <new>

#include "carddoc/trackers.h"
#include "frames/frame_obj.h"

RectTool::RectTool(ToolDocument* document) : FrameTool(document)
{
    defaults_.geometry.lineWidth = 2;
    defaults_.geometry.sides = kAllSides;
}

int16_t RectTool::GetFrameType() { return kFrameRect; }

int32_t RectTool::GetCursor(const IntPoint& /*viewPoint*/) { return kCursorDrawShape; }

int16_t RoundRectTool::GetFrameType() { return kFrameRoundRect; }

int16_t EllipseTool::GetFrameType() { return kFrameEllipse; }

int16_t ArcTool::GetFrameType() { return kFrameArc; }

LineTool::LineTool(ToolDocument* document) : RectTool(document) { defaults_.geometry.sides = 0; }

int16_t LineTool::GetFrameType() { return kFrameLine; }

CTracker* LineTool::CreateTracker(int16_t mode)
{
    return new (std::nothrow) CLineTracker(document_->CardView(), this, uint16_t(mode), 1);
}

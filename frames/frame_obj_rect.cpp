#include "frames/frame_obj_rect.h"

#include "graphics/rect_shape.h"

void FrameObjRect::PathGeometry(Dc* dc, const FrameGeometry& g)
{
    FrameGeometry copy = g;
    copy.lineWidth = 1;
    FrameObj::PathGeometry(dc, copy);
}

void FrameObjRect::StrokeBorder(Dc* dc, int16_t width)
{
    FrameGeometry copy = viewGeometry_;
    copy.lineWidth = width;
    DrawRectShape(dc, copy);
}

void FrameObjRect::StrokeOutline(Dc* dc, const FrameGeometry& g)
{
    FrameGeometry copy = g;
    copy.lineWidth = 1;
    copy.sides = kAllSides;
    DrawRectShape(dc, copy);
}

#include "graphics/placement_outline.h"

#include "graphics/placement.h"
#include "platform/dc.h"

void DrawPlacementOutline(Dc* dc, const FramePlacement& p)
{
    CornerQuad q;
    PlacementCorners(p, &q);
    const IntPoint* c = q.corners;
    dc->moveTo(c[0].x, c[0].y);
    dc->lineTo(c[1].x, c[1].y);
    dc->lineTo(c[2].x, c[2].y);
    dc->lineTo(c[3].x, c[3].y);
    dc->lineTo(c[0].x, c[0].y);
}

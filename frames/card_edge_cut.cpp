#include "frames/card_edge_cut.h"

#include "graphics/rect_ops.h"
#include "platform/dc.h"

bool CardEdgeCuts(const IntRect& content, const IntRect& area, IntRect* shown)
{
    if (content.right <= content.left || content.bottom <= content.top)
        return false;
    const bool cut = content.left < area.left - 1 || content.top < area.top - 1 || content.right > area.right + 1 ||
                     content.bottom > area.bottom + 1;
    if (cut)
        RectIntersect(content, area, shown);
    return cut;
}

void DrawOverflowMark(Dc* dc, const IntRect& shown)
{
    const Brush oldBrush = dc->selectBrush(Brush::Solid(kBlack));
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    const int32_t rop = dc->setRop2(R2_COPYPEN);
    dc->ellipse(shown.right - 12, shown.bottom - 12, shown.right - 4, shown.bottom - 4);
    dc->setRop2(rop);
    dc->selectPen(oldPen);
    dc->selectBrush(oldBrush);
}

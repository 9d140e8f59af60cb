#include "frames/card_edge_cut.h"

#include "graphics/rect_ops.h"

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

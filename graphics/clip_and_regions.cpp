#include "graphics/clip_and_regions.h"

void SetClipRect(Dc* dc, const IntRect* r)
{
    if (!dc)
        return;
    if (!r) {
        dc->selectClipRgn(nullptr);
        return;
    }
    const Region rgn = Region::FromRect(*r);
    dc->selectClipRgn(&rgn);
}

Region NewEmptyRegion() { return Region(); }

void RegionSetRect(Region* variable, const IntRect& r)
{
    if (variable)
        *variable = Region::FromRect(r);
}

void RegionCopy(const Region& source, Region* destination)
{
    if (destination)
        destination->combine(source, source, RGN_COPY);
}

void RegionUnion(const Region& a, const Region& b, Region* destination)
{
    if (destination)
        destination->combine(a, b, RGN_OR);
}

void RegionXor(const Region& a, const Region& b, Region* destination)
{
    if (destination)
        destination->combine(a, b, RGN_XOR);
}

void RegionPaint(Dc* dc, const Region& r)
{
    if (dc)
        dc->paintRgn(r);
}

#include "frames/frame_view_services.h"

#include "platform/dc.h"

void FrameView::LPtoDPPoint(IntPoint* p)
{
    if (Dc* dc = GetViewDC())
        dc->lpToDp(p, 1);
}

void FrameView::LPtoDPRect(IntRect* r)
{
    Dc* dc = GetViewDC();
    if (!dc)
        return;
    IntPoint pts[2] = {{r->left, r->top}, {r->right, r->bottom}};
    dc->lpToDp(pts, 2);
    *r = IntRect{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
}

void FrameView::DPtoLPRect(IntRect* r)
{
    Dc* dc = GetViewDC();
    if (!dc)
        return;
    IntPoint pts[2] = {{r->left, r->top}, {r->right, r->bottom}};
    dc->dpToLp(pts, 2);
    *r = IntRect{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
}

void FrameView::LogicalToDeviceRgn(Region* rgn)
{
    Dc* dc = GetViewDC();
    if (!dc)
        return;
    IntPoint origin{0, 0};
    dc->lpToDp(&origin, 1);
    rgn->offset(origin.x, origin.y);
}

void FrameView::DeviceToLogicalRgn(Region* rgn)
{
    Dc* dc = GetViewDC();
    if (!dc)
        return;
    IntPoint origin{0, 0};
    dc->dpToLp(&origin, 1);
    rgn->offset(origin.x, origin.y);
}

#include "frames/content_frame_host.h"

#include "frames/frame_document.h"
#include "frames/frame_font.h"
#include "frames/frame_obj.h"
#include "frames/frame_view_services.h"

ContentFrameHost* ContentHostOf(const FrameObj* frame)
{
    static ContentFrameHost defaults;
    if (frame) {
        if (auto* host = dynamic_cast<ContentFrameHost*>(frame->Document()))
            return host;
    }
    return &defaults;
}

FrameView* ContentViewOf(const FrameObj* frame)
{
    return frame && frame->Document() ? frame->Document()->View() : nullptr;
}

Dc* ContentViewDc(const FrameObj* frame)
{
    FrameView* view = ContentViewOf(frame);
    return view ? view->GetViewDC() : nullptr;
}

Dc* ContentMeasureDc(const FrameObj* frame)
{
    Dc* dc = ContentViewDc(frame);
    return dc ? dc : MeasuringDc();
}

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

Dc* ContentMeasureDc(const FrameObj* frame)
{
    FrameView* view = frame && frame->Document() ? frame->Document()->View() : nullptr;
    Dc* dc = view ? view->GetViewDC() : nullptr;
    return dc ? dc : MeasuringDc();
}

#include "frames/content_frame_host.h"

#include "frames/detached_content_host.h"
#include "frames/frame_document.h"
#include "frames/frame_font.h"
#include "frames/frame_obj.h"
#include "frames/frame_view_services.h"

namespace {

// A frame on its own has no document to ask.
DetachedContentHostOf<ContentFrameHost> gDefaults;
ContentFrameHost* gFallback = nullptr;

}  // namespace

ContentFrameHost* ContentHostOf(const FrameObj* frame)
{
    if (frame) {
        if (auto* host = dynamic_cast<ContentFrameHost*>(frame->Document()))
            return host;
    }
    return gFallback ? gFallback : &gDefaults;
}

ContentFrameHost* SetFallbackContentHost(ContentFrameHost* host)
{
    ContentFrameHost* previous = gFallback;
    gFallback = host;
    return previous;
}

Dc* ContentMeasureDc(const FrameObj* frame)
{
    FrameView* view = frame && frame->Document() ? frame->Document()->View() : nullptr;
    Dc* dc = view ? view->GetViewDC() : nullptr;
    return dc ? dc : MeasuringDc();
}

#include "frames/content_frame_host.h"

#include "frames/frame_document.h"
#include "frames/frame_obj.h"

ContentFrameHost* ContentHostOf(const FrameObj* frame)
{
    static ContentFrameHost defaults;
    if (frame) {
        if (auto* host = dynamic_cast<ContentFrameHost*>(frame->Document()))
            return host;
    }
    return &defaults;
}

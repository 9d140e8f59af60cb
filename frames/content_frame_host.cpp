#include "frames/content_frame_host.h"

#include "frames/frame_document.h"
#include "frames/frame_font.h"
#include "frames/frame_obj.h"
#include "frames/frame_view_services.h"

namespace {

// A frame on its own has no document to ask: nothing is looked up, shown
// as a placeholder, edited or run.
class DetachedContentHost final : public ContentFrameHost {
public:
    bool LookupFont(int16_t, FontSpec*) override { return false; }
    int32_t FontIdFor(const FontSpec&) override { return -1; }
    bool InPrintPreview() override { return false; }
    bool PrintPlaceholders() override { return false; }
    bool PlaceholderText() override { return false; }
    FrameObj* TextToolFrame() override { return nullptr; }
    TextFrameEngine* TextEngine() override { return nullptr; }
    void DoBarcodeInfo() override {}
    void DoCounterInfo() override {}
    void DoQuickCardSpec() override {}
    void DoQuickCardInfo() override {}
    PassThroughSink* PostScriptSink() override { return nullptr; }
};

DetachedContentHost gDefaults;
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

#include "text/text_host.h"

#include <memory>

#include <QWidget>

#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/wrap_point_list.h"
#include "platform/dc.h"

bool TextHost::ViewHasFocus()
{
    QWidget* view = ViewWidget();
    return view && view->hasFocus();
}

std::array<int16_t, kAttributeCount> DefaultTypingAttributes() { return {0, 0, 0, 12, 0, 15, 100, 0, 0, 0}; }

void TextHost::CollectWrapOutlines(FrameObjText* frame, IntPoint* points, int32_t* count, int32_t limit)
{
    FrameDocument* document = frame ? frame->Document() : nullptr;
    CurrPageMng* pages = document ? document->PageManager() : nullptr;
    if (!pages)
        return;
    pages->CollectOverlaps(frame);
    // Curved outlines are traced on a context; without a view any context
    // measures the same in document units.
    std::unique_ptr<Dc> own;
    Dc* dc = ViewDc();
    if (!dc) {
        own = Dc::ForMeasuring();
        dc = own.get();
    }
    auto list = std::make_unique<WrapPointList>();
    for (int16_t i = 0; i < CurrPageMng::GetOverlapCount(); ++i) {
        if (FrameObj* over = CurrPageMng::OverlapAt(i))
            over->AddOutlinePoints(dc, list.get(), limit);
    }
    for (int32_t i = 0; i < list->Count() && *count < limit; ++i)
        points[(*count)++] = list->At(i);
}

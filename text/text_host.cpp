#include "text/text_host.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <QWidget>

#include "foundation/int_math.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/wrap_point_list.h"
#include "graphics/hls.h"
#include "platform/dc.h"
#include "typography/font_spec.h"

namespace {

// The sixteen colours a new document's colour table starts with.
constexpr ColorRef kDefaultColours[16] = {
    MakeRgb(255, 255, 255), MakeRgb(255, 255, 0), MakeRgb(255, 128, 64), MakeRgb(255, 0, 0),
    MakeRgb(255, 0, 128),   MakeRgb(0, 0, 160),   MakeRgb(0, 0, 255),    MakeRgb(2, 180, 255),
    MakeRgb(0, 255, 0),     MakeRgb(0, 160, 0),   MakeRgb(128, 64, 0),   MakeRgb(180, 64, 0),
    MakeRgb(192, 192, 192), MakeRgb(128, 128, 128), MakeRgb(80, 80, 80), MakeRgb(0, 0, 0),
};

}  // namespace

bool TextHost::GetFontSpec(int16_t font, FontSpec* out)
{
    if (font != 0)
        return false;
    *out = FontSpec{};
    out->type = kFontTypeTrueType;
    std::strcpy(out->faceName, "Arial");
    return true;
}

bool TextHost::ViewHasFocus()
{
    QWidget* view = ViewWidget();
    return view && view->hasFocus();
}

ColorRef TextHost::TintColour(int16_t index, int16_t shade)
{
    const ColorRef c = index >= 0 && index < 16 ? kDefaultColours[index] : MakeRgb(255, 255, 255);
    if (shade == 100)
        return c;
    int16_t hue = 0, lightness = 0, saturation = 0;
    RgbToHls(c, &hue, &lightness, &saturation);
    double l = 0;
    if (c == MakeRgb(255, 255, 255))
        l = (double(lightness) / 100.0) * shade;
    else
        l = lightness + ((double(kHlsScale) - lightness) / 100.0) * (100 - shade);
    return HlsToRgb(hue, int16_t(std::clamp(TruncToInt32(l), 0, int32_t(kHlsScale))), saturation);
}

std::array<int16_t, kAttributeCount> TextHost::TypingAttributes() { return {0, 0, 0, 12, 0, 15, 100, 0, 0, 0}; }

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

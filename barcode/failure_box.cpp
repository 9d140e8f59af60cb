#include "barcode/failure_box.h"

#include <algorithm>
#include <string_view>

#include "barcode/bar_drawing.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_scale.h"
#include "barcode/caption_font.h"
#include "graphics/font_state.h"
#include "platform/dc.h"

namespace {

std::string_view AsText(const uint8_t* p) { return std::string_view(reinterpret_cast<const char*>(p + 1), p[0]); }

}  // namespace

void BarcodeFailureText(int16_t type, uint8_t* out)
{
    BarcodeTypeName(type, out);
    PStrAppendCStr(out, "Incorrect Data");
}

int32_t FailureTextWidth(Dc* dc, const BarcodeRecord& rec)
{
    PStr text;
    BarcodeFailureText(rec.type, text);
    FontState font(dc);
    font.SetHeight(CaptionSizeFrom(rec.captionSize));
    return dc->getTextExtent(AsText(text)).width;
}

void DrawFailureBox(Dc* dc, const BarcodeRecord& caller, const BarcodeRecord& work, int16_t num, int16_t den)
{
    BarcodeRecord measured = caller;
    IntRect r;
    MeasureBarcode(dc, &measured, &r, num, den);
    const int32_t w = r.right - r.left;
    const int32_t h = r.bottom - r.top;
    r.left = BarcodeTrunc(caller.originX);
    r.top = BarcodeTrunc(caller.originY);
    r.right = r.left + w;
    r.bottom = r.top + h;
    const int32_t inset = std::min(w, h) / 12;

    PStr text;
    BarcodeFailureText(caller.type, text);
    FontState font(dc);
    // Size 0 would be the device's default font, not a small one, so the
    // text shrinks no further than 1.
    int32_t size = std::max(CaptionSizeFrom(work.captionSize), 1);
    font.SetHeightAndAngle(size, work.angle);
    IntSize extent = dc->getTextExtent(AsText(text));
    auto fits = [&] { return extent.width <= w - 2 * inset && extent.height <= h - 2 * inset; };
    while (!fits() && size > 1) {
        font.SetHeightAndAngle(--size, work.angle);
        extent = dc->getTextExtent(AsText(text));
    }

    IntPoint p[6] = {
        {r.left, r.top}, {r.left, r.bottom}, {r.right, r.bottom}, {r.right, r.top}, {r.left, r.top},
        {(r.left + r.right - extent.width) / 2, (r.top + r.bottom + extent.height) / 2},
    };
    const int32_t centre[2] = {work.centreX, work.centreY};
    RotateBarcodePoints(p, 6, centre, work.angle);
    DrawBarcodePolyline(dc, p, 5);
    if (fits()) {
        dc->textOut(p[5].x, p[5].y, AsText(text));
        return;
    }
    // Even the smallest text is larger than the box: it is cut to the box
    // (to the box's bounds when the box is turned).
    IntRect clip{p[0].x, p[0].y, p[0].x, p[0].y};
    for (int i = 1; i < 4; ++i) {
        clip.left = std::min(clip.left, p[i].x);
        clip.top = std::min(clip.top, p[i].y);
        clip.right = std::max(clip.right, p[i].x);
        clip.bottom = std::max(clip.bottom, p[i].y);
    }
    dc->extTextOut(p[5].x, p[5].y, ETO_CLIPPED, &clip, AsText(text));
}

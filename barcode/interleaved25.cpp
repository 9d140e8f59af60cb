#include "barcode/interleaved25.h"

#include "barcode/bar_drawing.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_scale.h"
#include "barcode/caption_cells.h"
#include "barcode/interleaved25_encoding.h"

namespace {

// Bearer bars along the top and the bottom of the bars, one module past
// each end.
void DrawBearerBars(Dc* dc, const BarcodeRecord& rec, int digits)
{
    const double m = rec.module;
    const double length = 9.0 * m * (digits + 1);
    double lowerTop = BarcodeTrunc(rec.barHeight - 2.0 * m);
    if (rec.showText)
        lowerTop -= rec.captionSize;
    const int32_t centre[2] = {rec.centreX, rec.centreY};
    const double x = rec.originX - m;
    const double width = length + 2.0 * m;
    const double height = 3.0 * m;
    DrawBar(dc, x, rec.originY, width, height, rec.angle, centre);
    DrawBar(dc, x, rec.originY + lowerTop, width, height, rec.angle, centre);
}

}  // namespace

bool DrawInterleaved25(Dc* dc, BarcodeRecord* rec)
{
    PStr digits;
    if (!Interleaved25Digits(rec->data, rec->addCheckDigit, digits))
        return false;
    rec->space = rec->module;
    const int n = digits[0];
    if (rec->bearers)
        DrawBearerBars(dc, *rec, n);

    const double m = rec->module;
    const int32_t y = rec->originY;
    const int32_t height = BarcodeTrunc(rec->showText ? rec->barHeight - rec->captionSize : rec->barHeight);
    BarTrack track(dc, *rec, rec->originX + m);
    track.Bar(m, y, height);
    track.Space(m);
    track.Bar(m, y, height);
    track.Space(m);
    if (rec->showText)
        DrawCaptionCells(dc, rec, digits);
    for (int i = 1; i + 1 <= n; i += 2) {
        const int barDigit = digits[i] - '0';
        const int spaceDigit = digits[i + 1] - '0';
        for (int e = 0; e < 5; ++e) {
            track.Bar(Interleaved25IsWide(barDigit, e) ? 3.0 * m : m, y, height);
            track.Space(Interleaved25IsWide(spaceDigit, e) ? 3.0 * rec->space : rec->space);
        }
    }
    track.Bar(3.0 * m, y, height);
    track.Space(m);
    track.Bar(m, y, height);
    return true;
}

void MeasureInterleaved25(Dc* dc, BarcodeRecord* rec)
{
    PStr digits;
    if (!Interleaved25Digits(rec->data, rec->addCheckDigit, digits)) {
        SetFailureBounds(dc, rec);
        return;
    }
    SetMeasuredBounds(rec, 9.0 * rec->module * (digits[0] + 1), rec->barHeight);
}

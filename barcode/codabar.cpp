#include "barcode/codabar.h"

#include "barcode/bar_drawing.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_scale.h"
#include "barcode/caption_cells.h"
#include "barcode/codabar_encoding.h"

namespace {

// Four bars, each followed by a space; the fourth space, between this
// character and the next, is always narrow.
void DrawCodabarChar(BarTrack& track, uint8_t ch, const BarcodeRecord& rec, int32_t height)
{
    const int value = CodabarValue(ch);
    const double m = rec.module;
    for (int i = 0; i < 4; ++i) {
        track.Bar(CodabarBarIsWide(value, i) ? 3.0 * m : m, rec.originY, height);
        track.Space(i < 3 && CodabarSpaceIsWide(value, i) ? 3.0 * rec.space : rec.space);
    }
}

}  // namespace

bool DrawCodabar(Dc* dc, BarcodeRecord* rec)
{
    PStr text;
    if (!BuildCodabarString(rec->data, rec->addCheckDigit, text))
        return false;
    rec->space = rec->module;
    if (rec->showText)
        DrawCaptionCells(dc, rec, text);
    const int32_t height = BarcodeTrunc(rec->showText ? rec->barHeight - rec->captionSize : rec->barHeight);
    BarTrack track(dc, *rec, rec->originX);
    for (int i = 1; i <= text[0]; ++i)
        DrawCodabarChar(track, text[i], *rec, height);
    return true;
}

void MeasureCodabar(Dc* dc, BarcodeRecord* rec)
{
    PStr text;
    if (!BuildCodabarString(rec->data, rec->addCheckDigit, text)) {
        SetFailureBounds(dc, rec);
        return;
    }
    SetMeasuredBounds(rec, 12.0 * rec->module * text[0], rec->barHeight);
}

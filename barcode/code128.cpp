#include "barcode/code128.h"

#include "barcode/bar_drawing.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_scale.h"
#include "barcode/caption_cells.h"
#include "barcode/caption_font.h"
#include "barcode/code128_encoding.h"
#include "graphics/font_state.h"

namespace {

// The symbol values of the record's data, start and check included.
bool Code128Values(const BarcodeRecord& rec, int* values, int* count)
{
    PStr symbols;
    return EncodeCode128(&rec, symbols) && Code128SymbolValues(symbols, values, count);
}

void DrawCode128Symbol(BarTrack& track, int value, const BarcodeRecord& rec, int32_t height)
{
    for (int e = 0; e < 6; e += 2) {
        track.Bar(Code128ElementWidth(value, e) * rec.module, rec.originY, height);
        track.Space(Code128ElementWidth(value, e + 1) * rec.module);
    }
}

void DrawCode128Caption(Dc* dc, const BarcodeRecord& rec)
{
    const int n = rec.data[0];
    const IntRect b = CaptionBounds(dc, rec, MeasureCode128);
    const double cell = (b.right - b.left - 2 * gBarcodeMargin) / n;
    FontState font(dc);
    font.SetHeightAndAngle(CaptionSizeFrom(rec.captionSize), rec.angle);
    const double y = rec.originY + rec.barHeight;
    CaptionRun run(dc, rec);
    for (int i = 0; i < n; ++i) {
        const uint8_t ch = rec.data[1 + i];
        run.Add(rec.originX + i * cell + (cell - BarcodeCharWidth(dc, ch)) / 2.0, y, ch);
    }
    run.Draw();
}

}  // namespace

bool DrawCode128(Dc* dc, BarcodeRecord* rec)
{
    int values[kCode128MaxSymbols];
    int count = 0;
    if (!Code128Values(*rec, values, &count))
        return false;
    if (rec->showText)
        DrawCode128Caption(dc, *rec);
    const int32_t height = BarcodeTrunc(rec->showText ? rec->barHeight - rec->captionSize : rec->barHeight);
    BarTrack track(dc, *rec, rec->originX);
    for (int i = 0; i < count; ++i)
        DrawCode128Symbol(track, values[i], *rec, height);
    DrawCode128Symbol(track, kCode128Stop, *rec, height);
    track.Bar(2.0 * rec->module, rec->originY, height);
    return true;
}

void MeasureCode128(Dc* dc, BarcodeRecord* rec)
{
    int values[kCode128MaxSymbols];
    int count = 0;
    if (!Code128Values(*rec, values, &count)) {
        SetFailureBounds(dc, rec);
        return;
    }
    SetMeasuredBounds(rec, 11.0 * rec->module * (count + 1) + 2.0 * rec->module, rec->barHeight);
}

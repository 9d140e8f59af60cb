#include "barcode/caption_cells.h"

#include "barcode/bar_drawing.h"
#include "barcode/barcode_scale.h"
#include "barcode/caption_font.h"
#include "barcode/code39.h"
#include "graphics/font_state.h"

IntRect CaptionBounds(Dc* dc, const BarcodeRecord& rec, void (*measure)(Dc*, BarcodeRecord*))
{
    if (rec.bounds.right > rec.bounds.left && rec.bounds.bottom > rec.bounds.top)
        return rec.bounds;
    BarcodeRecord measured = rec;
    measure(dc, &measured);
    return measured.bounds;
}

void DrawCaptionCells(Dc* dc, BarcodeRecord* rec, const uint8_t* text)
{
    const int n = text[0];
    if (n == 0)
        return;
    double start = rec->originX;
    double cell = 0.0;
    switch (rec->type) {
    case kBarcodeInterleaved25:
        start += 4.0 * rec->module;
        cell = BarcodeTrunc(9.0 * rec->module);
        break;
    case kBarcodeCodabar:
        cell = 12.0 * rec->module;
        break;
    default: {
        const IntRect b = CaptionBounds(dc, *rec, MeasureCode39);
        cell = (b.right - b.left) / n;
        break;
    }
    }

    FontState font(dc);
    font.SetHeightAndAngle(CaptionSizeFrom(rec->captionSize), rec->angle);
    const double y = rec->originY + rec->barHeight;
    CaptionRun run(dc, *rec);
    for (int i = 0; i < n; ++i) {
        if ((i == 0 || i == n - 1) && !rec->showStartStop)
            continue;
        const uint8_t ch = text[1 + i];
        run.Add(start + i * cell + (cell - BarcodeCharWidth(dc, ch)) / 2.0, y, ch);
    }
    run.Draw();
}

#include "barcode/code39.h"

#include <cmath>

#include "barcode/bar_drawing.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_scale.h"
#include "barcode/caption_cells.h"
#include "barcode/code39_encoding.h"

namespace {

// The space between two characters. Without one the characters run into
// each other and no reader finds where one ends, so a gap of 0 is taken as
// the narrow space.
double CharacterGap(const BarcodeRecord& rec)
{
    if (rec.charGap > 0.0)
        return rec.charGap;
    return rec.space > 0.0 ? rec.space : rec.module;
}

void DrawCode39Char(BarTrack& track, uint8_t ch, const BarcodeRecord& rec, int32_t height, double gap)
{
    const int column = Code39Column(ch);
    const double m = rec.module;
    for (int i = 0; i < 5; ++i) {
        track.Bar(Code39BarIsWide(column, i) ? 2.0 * m : m, rec.originY, height);
        if (i < 4)
            track.Space(Code39SpaceIsWide(column, i) ? 2.0 * m : m);
    }
    track.Space(gap);
}

}  // namespace

bool DrawCode39(Dc* dc, BarcodeRecord* rec)
{
    PStr symbols;
    PStr caption;
    if (!BuildCode39Strings(rec->data, rec->addCheckDigit, symbols, caption))
        return false;
    if (rec->showText)
        DrawCaptionCells(dc, rec, caption);
    const int32_t height = BarcodeTrunc(rec->showText ? rec->barHeight - rec->captionSize : rec->barHeight);
    const double gap = CharacterGap(*rec);
    BarTrack track(dc, *rec, rec->originX);
    for (int i = 1; i <= symbols[0]; ++i)
        DrawCode39Char(track, symbols[i], *rec, height, gap);
    return true;
}

void MeasureCode39(Dc* dc, BarcodeRecord* rec)
{
    const int k = Code39SymbolCount(rec->data, rec->addCheckDigit);
    if (k < 0) {
        SetFailureBounds(dc, rec);
        return;
    }
    SetMeasuredBounds(rec, 12.0 * rec->module * k + (k - 1) * CharacterGap(*rec), rec->barHeight);
}

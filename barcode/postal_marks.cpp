#include "barcode/postal_marks.h"

#include "barcode/bar_drawing.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_scale.h"
#include "barcode/postal_patterns.h"

namespace {

// The five bars of one digit; x advances past each bar and its space.
void DrawPostnetDigit(BarTrack& track, int digit, const BarcodeRecord& rec)
{
    const int32_t tall = BarcodeTrunc(rec.barHeight);
    const int32_t shortBar = BarcodeTrunc(rec.barHeight - gPostnetShortCut);
    for (int i = 0; i < kPostnetBarsPerDigit; ++i) {
        if (PostnetBarIsTall(digit, i))
            track.Bar(rec.module, rec.originY, tall);
        else
            track.Bar(rec.module, rec.originY + (tall - shortBar), shortBar);
        track.Space(rec.space);
    }
}

}  // namespace

bool DrawPostnet(Dc* dc, BarcodeRecord* rec)
{
    if (!PostnetDataIsValid(rec->data))
        return false;
    rec->barHeight = gPostnetTall;
    rec->module = gPostnetBar;
    rec->space = gPostnetSpace;

    BarTrack track(dc, *rec, rec->originX);
    const int32_t frameHeight = BarcodeTrunc(rec->barHeight);
    track.Bar(rec->module, rec->originY, frameHeight);
    track.Space(rec->space);
    for (int i = 1; i <= rec->data[0]; ++i)
        DrawPostnetDigit(track, rec->data[i] - '0', *rec);
    DrawPostnetDigit(track, PostnetCheckDigit(rec->data), *rec);
    track.Bar(rec->module, rec->originY, frameHeight);
    return true;
}

void MeasurePostnet(Dc*, BarcodeRecord* rec)
{
    const int n = (rec->data[0] == 9 || rec->data[0] == 11) ? rec->data[0] : 5;
    const double width = (n + 1) * kPostnetBarsPerDigit * (gPostnetBar + gPostnetSpace) + 2 * gPostnetBar + gPostnetSpace;
    SetMeasuredBounds(rec, width, gPostnetTall);
}

bool DrawFim(Dc* dc, BarcodeRecord* rec)
{
    int count = 0;
    const int16_t* positions = FimBarPositions(rec->type, &count);
    const int32_t centre[2] = {rec->centreX, rec->centreY};
    for (int i = 0; i < count; ++i) {
        DrawBar(dc, rec->originX + positions[i] / 300.0 * gBarcodeBase, rec->originY, gFimBar, gFimHeight,
                rec->angle, centre);
    }
    return true;
}

void MeasureFim(Dc*, BarcodeRecord* rec) { SetMeasuredBounds(rec, gFimWidth, gFimHeight); }

bool DrawHorBars(Dc* dc, BarcodeRecord* rec)
{
    const double t = gHorBarThickness;
    const double h = rec->barHeight;
    const int32_t n = HorBarsCount(h, t);
    // A field too low for two bars holds one, at its top.
    const double gap = n > 1 ? (h - t) / (n - 1) - t : 0.0;
    const int32_t centre[2] = {rec->centreX, rec->centreY};
    double y = rec->originY;
    for (int32_t i = 0; i < n; ++i) {
        DrawBar(dc, rec->originX, y, gBarcodeBase, t, rec->angle, centre);
        y = BarcodeTrunc(y + t + gap);
    }
    return true;
}

void MeasureHorBars(Dc*, BarcodeRecord* rec) { SetMeasuredBounds(rec, gBarcodeBase, rec->barHeight); }

#include "barcode/barcode_measure.h"

#include "barcode/barcode_scale.h"
#include "barcode/caption_font.h"
#include "barcode/codabar.h"
#include "barcode/code128.h"
#include "barcode/code39.h"
#include "barcode/failure_box.h"
#include "barcode/interleaved25.h"
#include "barcode/postal_marks.h"
#include "barcode/upc_ean.h"

namespace {

using MeasureRoutine = void (*)(Dc*, BarcodeRecord*);

// Indexed by type - 1.
const MeasureRoutine kMeasureRoutines[] = {
    MeasurePostnet, MeasureFim,    MeasureFim,    MeasureFim,  MeasureHorBars,
    MeasureInterleaved25, MeasureCode39, MeasureCode128, MeasureUpcEan, MeasureUpcE,
    MeasureUpcEan,  MeasureEan8,   MeasureUpcEan, MeasureUpcEan, MeasureCodabar,
};
static_assert(sizeof(kMeasureRoutines) / sizeof(kMeasureRoutines[0]) == kBarcodeLastType);

}  // namespace

void SetMeasuredBounds(BarcodeRecord* rec, double width, double height)
{
    rec->bounds.left = -gBarcodeMargin;
    rec->bounds.top = -gBarcodeMargin;
    rec->bounds.right = BarcodeTrunc(width) + gBarcodeMargin;
    rec->bounds.bottom = BarcodeTrunc(height) + gBarcodeMargin;
}

void SetFailureBounds(Dc* dc, BarcodeRecord* rec) { SetMeasuredBounds(rec, FailureTextWidth(dc, *rec), rec->barHeight); }

void MeasureBarcode(Dc* dc, BarcodeRecord* rec, IntRect* out, int16_t num, int16_t den)
{
    if (!rec)
        return;
    BarcodeRecord work;
    if (!dc || !PrepareWorkingRecord(*rec, &work, num, den)) {
        rec->bounds = IntRect{};
        if (out)
            *out = IntRect{};
        return;
    }
    // The caller's record gets the fitted caption size; the measurers read
    // the scaled copy.
    FitCaptionFont(dc, rec);
    if (work.type >= kBarcodeFirstType && work.type <= kBarcodeLastType)
        kMeasureRoutines[work.type - kBarcodeFirstType](dc, &work);
    else
        SetFailureBounds(dc, &work);
    rec->bounds = work.bounds;
    if (out)
        *out = work.bounds;
}

#include "barcode/barcode_draw.h"

#include "barcode/barcode_scale.h"
#include "barcode/caption_font.h"
#include "barcode/codabar.h"
#include "barcode/code128.h"
#include "barcode/code39.h"
#include "barcode/failure_box.h"
#include "barcode/interleaved25.h"
#include "barcode/postal_marks.h"
#include "barcode/upc_ean.h"
#include "graphics/font_state.h"
#include "platform/dc.h"

namespace {

using DrawRoutine = bool (*)(Dc*, BarcodeRecord*);

// Indexed by type - 1.
const DrawRoutine kDrawRoutines[] = {
    DrawPostnet, DrawFim,  DrawFim,   DrawFim,      DrawHorBars,  DrawInterleaved25, DrawCode39,  DrawCode128,
    DrawUpcA,    DrawUpcE, DrawEan13, DrawEan8,     DrawIsbnIssn, DrawIsbnIssn,      DrawCodabar,
};
static_assert(sizeof(kDrawRoutines) / sizeof(kDrawRoutines[0]) == kBarcodeLastType);

}  // namespace

bool DrawBarcode(Dc* dc, const BarcodeRecord* rec, int16_t num, int16_t den)
{
    BarcodeRecord work;
    if (!dc || !rec || !PrepareWorkingRecord(*rec, &work, num, den))
        return false;
    FitCaptionFont(dc, &work);

    FontState font(dc);
    const uint32_t oldAlign = dc->setTextAlign(TA_BOTTOM);
    const int32_t oldMode = dc->setBkMode(TRANSPARENT);

    work.originX += gBarcodeMargin;
    work.originY += gBarcodeMargin;
    bool ok = false;
    if (work.type >= kBarcodeFirstType && work.type <= kBarcodeLastType)
        ok = kDrawRoutines[work.type - kBarcodeFirstType](dc, &work);
    if (!ok)
        DrawFailureBox(dc, *rec, work, num, den);

    dc->setTextAlign(oldAlign);
    dc->setBkMode(oldMode);
    return ok;
}

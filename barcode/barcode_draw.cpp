#include "barcode/barcode_draw.h"

#include <cstring>

#include "barcode/barcode_record_format.h"
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

bool DrawNow(Dc* dc, const BarcodeRecord* rec, int16_t num, int16_t den)
{
    BarcodeRecord work;
    if (!PrepareWorkingRecord(*rec, &work, num, den))
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

}  // namespace

bool DrawBarcode(Dc* dc, const BarcodeRecord* rec, int16_t num, int16_t den)
{
    if (!dc || !rec)
        return false;
    // What is drawn follows from the record, the ratio and the context
    // alone: a barcode printed at the same place of every card is encoded
    // and laid out once, and its output given again.
    char key[8 + kBarcodeRecordSize + 4] = "barcode";
    BarcodeRecordWrite(*rec, reinterpret_cast<uint8_t*>(key + 8));
    std::memcpy(key + 8 + kBarcodeRecordSize, &num, 2);
    std::memcpy(key + 8 + kBarcodeRecordSize + 2, &den, 2);
    int32_t drawn = 0;
    if (dc->beginKept(std::string_view(key, sizeof key), &drawn))
        return drawn != 0;
    const bool ok = DrawNow(dc, rec, num, den);
    dc->endKept(ok ? 1 : 0);
    return ok;
}

#include "barcode/barcode_draw.h"

#include <cstddef>
#include <cstring>

#include "barcode/barcode_ink.h"
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

// What a kept drawing's result holds.
constexpr int32_t kKeptDrawn = 1, kKeptCut = 2;

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

bool DrawBarcode(Dc* dc, const BarcodeRecord* rec, int16_t num, int16_t den, bool* cut)
{
    if (cut)
        *cut = false;
    if (!dc || !rec)
        return false;
    // What is drawn follows from the record, the ratio and the context
    // alone: a barcode printed at the same place of every card is encoded
    // and laid out once, and its output given again. A drawing whose ink
    // was tallied keeps its answer beside it, so its key says so.
    constexpr size_t kRecordAt = 8, kRatioAt = kRecordAt + kBarcodeRecordSize, kAsksAt = kRatioAt + 4;
    char key[kAsksAt + 1] = "barcode";
    BarcodeRecordWrite(*rec, reinterpret_cast<uint8_t*>(key + kRecordAt));
    std::memcpy(key + kRatioAt, &num, 2);
    std::memcpy(key + kRatioAt + 2, &den, 2);
    key[kAsksAt] = cut ? 1 : 0;
    int32_t kept = 0;
    if (dc->beginKept(std::string_view(key, sizeof key), &kept)) {
        if (cut)
            *cut = (kept & kKeptCut) != 0;
        return (kept & kKeptDrawn) != 0;
    }
    bool ok = false;
    bool past = false;
    if (cut) {
        const QRectF allowed = BarcodeInk::Allowed(dc);
        const BarcodeInk tally(dc, allowed);
        ok = DrawNow(dc, rec, num, den);
        past = ok && tally.Past(allowed);
        *cut = past;
    } else {
        ok = DrawNow(dc, rec, num, den);
    }
    dc->endKept((ok ? kKeptDrawn : 0) | (past ? kKeptCut : 0));
    return ok;
}

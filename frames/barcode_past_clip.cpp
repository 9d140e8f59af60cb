#include "frames/barcode_past_clip.h"

#include <cstring>
#include <memory>
#include <string_view>

#include <QRectF>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_measure.h"
#include "frames/barcode_frame_format.h"
#include "foundation/int_math.h"
#include "platform/dc.h"
#include "platform/ink_bounds_recorder.h"

namespace {

// Where the barcode can put ink: however it is turned about its corner,
// within its measured width and height (margin and all) of its origin, and
// a little more for what a symbology draws past its measure.
IntRect ReachOf(Dc* dc, const BarcodeRecord& rec, int16_t num, int16_t den)
{
    BarcodeRecord measured = rec;
    IntRect bounds;
    MeasureBarcode(dc, &measured, &bounds, num, den);
    const int32_t r = Add32(Add32(Sub32(bounds.right, bounds.left), Sub32(bounds.bottom, bounds.top)), 64);
    return IntRect{Sub32(rec.originX, r), Sub32(rec.originY, r), Add32(rec.originX, r), Add32(rec.originY, r)};
}

bool Past(const QRectF& ink, const QRectF& allowed)
{
    return !ink.isNull() && (ink.left() < allowed.left() || ink.top() < allowed.top() ||
                             ink.right() > allowed.right() || ink.bottom() > allowed.bottom());
}

bool InkRunsPastClip(Dc* dc, const BarcodeRecord& rec, int16_t num, int16_t den, const QRectF& allowed)
{
    // The barcode drawn again where only its ink is measured: its bars and
    // the glyphs of its caption, not the blank space measured around them.
    const IntRect reach = ReachOf(dc, rec, num, den);
    InkBoundsRecorder recorder;
    recorder.OnlyPast(allowed);
    std::unique_ptr<Dc> probe = Dc::ForRecording(&recorder, dc->getDeviceCaps(LOGPIXELSX),
                                                 IntSize{Sub32(reach.right, reach.left), Sub32(reach.bottom, reach.top)});
    if (!probe)
        return false;
    recorder.Attach(probe.get());
    probe->setWindowOrg(reach.left, reach.top);
    probe->selectFont(dc->font());
    DrawBarcode(probe.get(), &rec, num, den);
    return Past(recorder.Ink(), allowed);
}

}  // namespace

QRectF BarcodeInkAllowed(Dc* dc)
{
    IntRect clip;
    dc->getClipBox(&clip);
    return QRectF(clip.left - 1.0, clip.top - 1.0, clip.right - clip.left + 2.0, clip.bottom - clip.top + 2.0);
}

bool BarcodeRunsPastClip(Dc* dc, const BarcodeRecord& rec, int16_t num, int16_t den, const QRectF* drawn)
{
    // The answer follows from the record, the ratio and the context's
    // state (its clip, mapping and font): the same barcode at the same
    // place of every card is measured once a job.
    // Its stored bytes without the unused end of its text.
    uint8_t bytes[kBarcodeRecordSize];
    BarcodeRecordWrite(rec, bytes);
    char key[12 + kBarcodeRecordSize + 4] = "barcode-cut";
    size_t used = 12;
    const size_t text = 1 + size_t(bytes[kBarcodeDataOffset]);
    std::memcpy(key + used, bytes + kBarcodeDataOffset, text);
    used += text;
    const size_t rest = kBarcodeRecordSize - kBarcodeEngineValuesOffset;
    std::memcpy(key + used, bytes + kBarcodeEngineValuesOffset, rest);
    used += rest;
    std::memcpy(key + used, &num, 2);
    std::memcpy(key + used + 2, &den, 2);
    const std::string_view asked(key, used + 4);
    int32_t known = 0;
    if (dc->recall(asked, &known))
        return known != 0;
    const QRectF allowed = BarcodeInkAllowed(dc);
    const bool cut = drawn && !drawn->isNull() ? Past(*drawn, allowed) : InkRunsPastClip(dc, rec, num, den, allowed);
    dc->remember(asked, cut ? 1 : 0);
    return cut;
}

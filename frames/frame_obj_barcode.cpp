#include "frames/frame_obj_barcode.h"

#include <cstring>
#include <string>

#include "barcode/barcode_draw.h"
#include "barcode/barcode_fault.h"
#include "barcode/barcode_measure.h"
#include "barcode/barcode_record.h"
#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "foundation/keys.h"
#include "frames/content_frame_host.h"
#include "frames/frame_document.h"
#include "frames/frame_font.h"
#include "frames/own_record_io.h"
#include "frames/print_losses.h"
#include "graphics/brush_state.h"
#include "graphics/font_state.h"
#include "graphics/pen_state.h"
#include "graphics/rotation.h"
#include "platform/dc.h"

FrameObjBarcode::FrameObjBarcode()
{
    static const char kData[] = "01234567890123";
    record_[kBarcodeDataOffset] = uint8_t(sizeof kData - 1);
    std::memcpy(record_ + kBarcodeDataOffset + 1, kData, sizeof kData - 1);
    PutF64LE(record_ + kBarcodeEngineValuesOffset, 72.0);
    PutF64LE(record_ + kBarcodeEngineValuesOffset + 8, 1.0);
    PutF64LE(record_ + kBarcodeEngineValuesOffset + 16, 1.0);
    PutF64LE(record_ + kBarcodeEngineValuesOffset + 24, 1.0);
    PutF64LE(record_ + kBarcodeAngleOffset, 0.0);
    SetSymbology(9);
    std::memset(record_ + kBarcodeOptionsOffset, 1, kBarcodeOptionCount);
    PutF64LE(record_ + kBarcodeCaptionSizeOffset, 10.0);

    block_.attr.fontId = 0;
    block_.attr.fontSize = 12;
    block_.attr.fontStyle = 0;
    block_.handleCount = 4;
    block_.resizable = 0;
    block_.textInset = 0;
    block_.barcodeOption = 1;
    block_.autoSize = 1;
}

uint16_t FrameObjBarcode::Symbology() const { return GetU16LE(record_ + kBarcodeSymbologyOffset); }

void FrameObjBarcode::SetSymbology(uint16_t symbology) { PutU16LE(record_ + kBarcodeSymbologyOffset, symbology); }

uint32_t FrameObjBarcode::DataSize() const { return FrameObjText::DataSize() + kBarcodeRecordSize; }

int32_t FrameObjBarcode::ReadBody(FileHandle file, BlockTarget target)
{
    return ReadOwnRecord(FrameObjText::ReadBody(file, target), file, record_, sizeof record_);
}

int32_t FrameObjBarcode::WriteBody(FileHandle file, BlockTarget target)
{
    return WriteOwnRecord(FrameObjText::WriteBody(file, target), file, record_, sizeof record_);
}

int32_t FrameObjBarcode::CopyTo(FrameObj* destination)
{
    if (auto* d = dynamic_cast<FrameObjBarcode*>(destination))
        std::memcpy(d->record_, record_, kBarcodeRecordSize);
    return FrameObjText::CopyTo(destination);
}

void FrameObjBarcode::SetBarcodeRecord(const uint8_t* record)
{
    MarkChanged(1, 0);
    std::memcpy(record_, record, kBarcodeRecordSize);
    Recompute(0);
}

void FrameObjBarcode::GetBarcodeData(uint8_t* out) { PStrCopy(out, record_ + kBarcodeDataOffset); }

void FrameObjBarcode::FetchData()
{
    PStr data = {};
    GetBarcodeData(data);
    PStrCopy(record_ + kBarcodeDataOffset, data);
}

void FrameObjBarcode::SetColour(uint8_t value, uint8_t selector)
{
    FrameObjText::SetColour(value, selector);
    if (selector == 3)
        SetRemeasure();
}

void FrameObjBarcode::SetTint(uint8_t value, uint8_t selector)
{
    FrameObjText::SetTint(value, selector);
    if (selector == 3)
        SetRemeasure();
}

void FrameObjBarcode::SetPattern(uint8_t value, uint8_t selector)
{
    FrameObjText::SetPattern(value, selector);
    if (selector == 3)
        SetRemeasure();
}

void FrameObjBarcode::SetBorderWidth(int16_t width)
{
    FrameObjText::SetBorderWidth(width);
    SetRemeasure();
}

void FrameObjBarcode::SetFont(int16_t font)
{
    FrameObjText::SetFont(font);
    SetRemeasure();
}

void FrameObjBarcode::SetFontSize(int16_t size)
{
    FrameObjText::SetFontSize(size);
    SetRemeasure();
}

void FrameObjBarcode::SetFontStyle(int16_t style, int32_t arg2, int32_t arg3)
{
    FrameObjText::SetFontStyle(style, arg2, arg3);
    SetRemeasure();
}

void FrameObjBarcode::ToggleSaved()
{
    FrameObjText::ToggleSaved();
    SetRemeasure();
}

// ---- drawing and measuring ----

bool FrameObjBarcode::DrawsBars() const { return ShownAsBarcode(); }

void FrameObjBarcode::DrawContent(Dc* dc)
{
    if (DrawsBars() && !ghost_) {
        SetRemeasure();
        if (image_ && block_.attr.geometry.angle == 0 && imageAngle_ == 0)
            DibHandleFree(&image_);
        DrawBars(dc);
    } else {
        DrawTextContent(dc);
    }
}

void FrameObjBarcode::DrawBars(Dc* dc)
{
    BrushState brush(dc);
    FontState font(dc);
    const FrameAttributes& a = block_.attr;
    int16_t numerator = 1;
    int16_t denominator = 1;
    GetZoom(&numerator, &denominator);
    const ColorRef text = Tint(uint8_t(a.textColour), uint8_t(a.textTint));
    SelectFrameFont(&font, this, FrameFontSize(a.fontSize), text);
    const ColorRef background = dc->setBkColor(Tint(a.fillColour, 100));

    FetchData();
    const FrameGeometry& g = a.geometry;
    IntPoint origin{Add32(g.x, g.lineWidth), Add32(g.y, g.lineWidth)};
    RotatePoint(&origin, 1, g.x, g.y, g.angle);
    PutI32LE(record_ + kBarcodeOriginOffset, origin.x);
    PutI32LE(record_ + kBarcodeOriginOffset + 4, origin.y);
    PutF64LE(record_ + kBarcodeAngleOffset, viewGeometry_.angle);

    BarcodeRecord work;
    BarcodeRecordRead(record_, &work);
    work.originX = Add32(viewGeometry_.x, viewGeometry_.lineWidth);
    work.originY = Add32(viewGeometry_.y, viewGeometry_.lineWidth);
    work.centreX = viewGeometry_.x;
    work.centreY = viewGeometry_.y;
    work.captionSize = FrameFontSize(a.fontSize);
    // On paper a failure box stands where bars were wanted, or the label's
    // edge cuts the bars: the job says so.
    if (!IsOutputShift()) {
        DrawBarcode(dc, &work, numerator, denominator);
    } else {
        bool cut = false;
        const bool drawn = DrawBarcode(dc, &work, numerator, denominator, &cut);
        const std::string value(reinterpret_cast<const char*>(work.data + 1), work.data[0]);
        if (!drawn)
            NoteBarcodeNotPrinted(value, BarcodeDataFault(work));
        else if (cut)
            NoteBarcodeCut(value);
    }

    record_[kBarcodeRemeasureOffset] = 0;
    lastAngle_ = g.angle;
    dc->setBkColor(background);
}

void FrameObjBarcode::DrawTextInto(Dc* dc)
{
    if (DrawsBars())
        DrawBars(dc);
    else
        DrawText(dc);
}

void FrameObjBarcode::DrawText(Dc* dc)
{
    const FrameAttributes& a = block_.attr;
    FontState font(dc);
    const ColorRef text = Tint(uint8_t(a.textColour), uint8_t(a.textTint));
    SelectFrameFont(&font, this, DocToViewLength(FrameFontSize(a.fontSize)), text);
    const TextMetrics m = dc->getTextMetrics();
    const int32_t x = viewGeometry_.x + viewGeometry_.lineWidth + m.descent / 2;
    const int32_t y = viewGeometry_.y + viewGeometry_.lineWidth + m.ascent +
                      (m.externalLeading != 0 ? m.externalLeading : 1);
    const ColorRef background = dc->bkColor();
    const int32_t mode = dc->setBkMode(TRANSPARENT);
    const uint32_t align = dc->setTextAlign(TA_BASELINE | TA_UPDATECP);
    const IntPoint previous = dc->moveTo(x, y);
    if (outputShift_) {
        PenState pen(dc);
        pen.SetPen(text, 0, PenState::kSetColour | PenState::kSetWidth);
        dc->lineTo(x, y);
    }
    PStr data = {};
    GetBarcodeData(data);
    PStrCopy(record_ + kBarcodeDataOffset, data);
    dc->textOut(x, y, std::string_view(reinterpret_cast<const char*>(data + 1), data[0]));
    dc->moveTo(previous.x, previous.y);
    dc->setTextAlign(align);
    dc->setBkMode(mode);
    dc->setBkColor(background);
}

void FrameObjBarcode::MeasureText(Dc* dc, IntRect* out)
{
    const FrameAttributes& a = block_.attr;
    FontState font(dc);
    SelectFrameFont(&font, this, FrameFontSize(a.fontSize), kBlack);
    const TextMetrics m = dc->getTextMetrics();
    const PStr& data = *reinterpret_cast<const PStr*>(record_ + kBarcodeDataOffset);
    int32_t w = dc->getTextExtent(std::string_view(reinterpret_cast<const char*>(data + 1), data[0])).width +
                m.descent;
    const int32_t h = m.ascent + m.descent + 2 * m.externalLeading + (m.externalLeading == 0 ? 2 : 0);
    if (FrameFontStyle(a.fontStyle) & kFontStyleItalic)
        w += m.descent;
    *out = IntRect{0, 0, w, h};
}

void FrameObjBarcode::MeasureBars(IntRect* out)
{
    Dc* dc = ContentMeasureDc(this);
    FontState font(dc);
    SelectFrameFont(&font, this, FrameFontSize(block_.attr.fontSize), kBlack);
    BarcodeRecord rec;
    BarcodeRecordRead(record_, &rec);
    rec.captionSize = FrameFontSize(block_.attr.fontSize);
    MeasureBarcode(dc, &rec, out, 1, 1);
    PutI32LE(record_ + kBarcodeBoundsOffset, rec.bounds.left);
    PutI32LE(record_ + kBarcodeBoundsOffset + 4, rec.bounds.top);
    PutI32LE(record_ + kBarcodeBoundsOffset + 8, rec.bounds.right);
    PutI32LE(record_ + kBarcodeBoundsOffset + 12, rec.bounds.bottom);
}

void FrameObjBarcode::MeasureContent(IntRect* out)
{
    FetchData();
    if (DrawsBars())
        MeasureBars(out);
    else
        MeasureText(ContentMeasureDc(this), out);
    const int32_t border = block_.attr.geometry.lineWidth;
    out->left = Sub32(out->left, border);
    out->top = Sub32(out->top, border);
    out->right = Add32(out->right, border);
    out->bottom = Add32(out->bottom, border);
}

void FrameObjBarcode::Recompute(uint8_t withRegion)
{
    IntRect content;
    MeasureContent(&content);
    ApplyAutoSize(content);
    FrameObjText::Recompute(withRegion);
}

int32_t FrameObjBarcode::ShiftForOutput(uint8_t on, uint8_t mode, int32_t dx, int32_t dy)
{
    const int32_t result = FrameObjText::ShiftForOutput(on, mode, dx, dy);
    SetRemeasure();
    return result;
}

void FrameObjBarcode::EditInfo(int32_t arg)
{
    if (IsKeyDown(kVkShift))
        FrameObjText::EditInfo(arg);
    else if (ShownAsBarcode())
        ContentHostOf(this)->DoBarcodeInfo();
}

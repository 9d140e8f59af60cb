#include "frames/frame_obj_barcode13.h"

#include <cstring>

#include "database/field_table.h"
#include "foundation/byte_order.h"
#include "frames/content_frame_host.h"
#include "frames/frame_font.h"
#include "frames/own_record_io.h"
#include "graphics/field_text_provider.h"
#include "graphics/font_state.h"
#include "platform/dc.h"

FrameObjBarcode13::FrameObjBarcode13()
{
    PutI32LE(spec_ + kQuickCardCloseUpOffset, 1);
    PutI32LE(spec_ + kQuickCardSkipEmptyOffset, 1);
    for (size_t field = 1; field <= kQuickCardFieldCount; ++field) {
        PutI32LE(spec_ + kQuickCardIncludeOffset + 4 * (field - 1), field == 1 ? 0 : 1);
        PutI32LE(spec_ + kQuickCardNewLineOffset + 4 * (field - 1), field >= 4 && field <= 8 ? 1 : 0);
    }
}

uint32_t FrameObjBarcode13::DataSize() const { return FrameObjQuickCardBarcode::DataSize() + kQuickCardSpecSize; }

int32_t FrameObjBarcode13::ReadBody(FileHandle file, BlockTarget target)
{
    return ReadOwnRecord(FrameObjQuickCardBarcode::ReadBody(file, target), file, spec_, sizeof spec_);
}

int32_t FrameObjBarcode13::WriteBody(FileHandle file, BlockTarget target)
{
    return WriteOwnRecord(FrameObjQuickCardBarcode::WriteBody(file, target), file, spec_, sizeof spec_);
}

int32_t FrameObjBarcode13::CopyTo(FrameObj* destination)
{
    if (destination->GetType() == kFrameBarcode13)
        std::memcpy(static_cast<FrameObjBarcode13*>(destination)->spec_, spec_, kQuickCardSpecSize);
    return FrameObjQuickCardBarcode::CopyTo(destination);
}

void FrameObjBarcode13::SetQuickCardSpec(const uint8_t* settings)
{
    MarkChanged(1, 0);
    std::memcpy(spec_, settings, kQuickCardSpecSize);
    Recompute(0);
}

void FrameObjBarcode13::FieldTexts(std::array<std::string, kAddressFieldCount>* texts) const
{
    FieldTextProvider* provider = InstalledFieldTextProvider();
    for (int32_t i = 1; i <= kAddressFieldCount; ++i) {
        std::string& text = (*texts)[size_t(i - 1)];
        if (UsesRecord()) {
            text = provider ? provider->MergeFieldText(i, outputShift_ != 0) : std::string();
        } else {
            char name[kFieldTypeNameSize] = {};
            FieldTypeName(i, name, false, true);
            text = name;
        }
    }
}

void FrameObjBarcode13::DrawText(Dc* dc)
{
    const ViewBars bars = BarsAtViewZoom(dc);
    FontState font(dc);
    SelectViewFont(&font);
    const TextMetrics m = dc->getTextMetrics();
    std::array<std::string, kAddressFieldCount> texts;
    FieldTexts(&texts);
    const AddressLayout layout = LayOutAddressBlock(spec_, texts, dc);
    const int32_t left = viewGeometry_.x + viewGeometry_.lineWidth + m.descent;
    const int32_t top = viewGeometry_.y + viewGeometry_.lineWidth + bars.height + m.externalLeading + m.ascent;
    const int32_t lineHeight = m.externalLeading + m.ascent + m.descent;
    const int32_t mode = dc->setBkMode(TRANSPARENT);
    const uint32_t align = dc->setTextAlign(TA_BASELINE | TA_LEFT);
    for (const AddressPiece& piece : layout.pieces)
        dc->textOut(left + piece.x, top + piece.line * lineHeight, piece.text);
    dc->setTextAlign(align);
    dc->setBkMode(mode);
}

void FrameObjBarcode13::MeasureContent(IntRect* out)
{
    Dc* dc = ContentMeasureDc(this);
    int32_t barsWidth = 0;
    const int32_t bars = BarsHeight(dc, 1, 1, &barsWidth);
    const FrameAttributes& a = block_.attr;
    FontState font(dc);
    SelectFrameFont(&font, this, FrameFontSize(a.fontSize), kBlack);
    const TextMetrics m = dc->getTextMetrics();
    std::array<std::string, kAddressFieldCount> texts;
    FieldTexts(&texts);
    const AddressLayout layout = LayOutAddressBlock(spec_, texts, dc);
    const int32_t lineHeight = m.externalLeading + m.ascent + m.descent;
    const int32_t height = m.descent + bars + layout.lines * lineHeight;
    int32_t width = std::max(m.descent + barsWidth, m.descent + layout.widest);
    if (FrameFontStyle(a.fontStyle) & kFontStyleItalic)
        width += FrameFontSize(a.fontSize) / 2;
    const int32_t border = a.geometry.lineWidth;
    *out = IntRect{-border, -border, width + border, height + border};
}

void FrameObjBarcode13::EditBlock() { ContentHostOf(this)->DoQuickCardSpec(); }

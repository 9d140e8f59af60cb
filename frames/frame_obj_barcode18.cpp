#include "frames/frame_obj_barcode18.h"

#include <cstring>

#include <algorithm>

#include "foundation/byte_order.h"
#include "foundation/win_error.h"
#include "frames/address_block_layout.h"
#include "frames/content_frame_host.h"
#include "frames/frame_font.h"
#include "graphics/font_state.h"
#include "graphics/quick_card_block.h"
#include "graphics/quick_card_draw.h"
#include "platform/dc.h"

FrameObjBarcode18::FrameObjBarcode18() { PutI32LE(header_ + kQuickCardFrameWord8Offset, 1); }

FrameObjBarcode18::~FrameObjBarcode18() { HandleFree(block18_); }

uint32_t FrameObjBarcode18::DataSize() const
{
    return FrameObjQuickCardBarcode::DataSize() + kQuickCardFrameHeaderSize + HandleGetSize(block18_);
}

int32_t FrameObjBarcode18::ReadBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjQuickCardBarcode::ReadBody(file, target);
    if (result != 0)
        return result;
    uint8_t bytes[kQuickCardFrameHeaderSize];
    int32_t err = FileRead(file, bytes, sizeof bytes);
    if (err != 0)
        return err;
    const uint32_t size = GetU32LE(bytes + kQuickCardFrameBlockSizeOffset);
    Handle block = nullptr;
    if (size != 0) {
        err = ReadHandleFromFile(file, size, &block);
        if (err == 0 && QuickCardBlockConvertOld(block) != 0)
            err = kErrInvalidParameter;
        if (err != 0) {
            HandleFree(block);
            block = QuickCardBlockNew();
        }
    }
    std::memcpy(header_, bytes, sizeof bytes);
    PutU32LE(header_ + kQuickCardFrameBlockSizeOffset, 0);
    HandleFree(block18_);
    block18_ = block;
    return err;
}

int32_t FrameObjBarcode18::WriteBody(FileHandle file, BlockTarget target)
{
    const int32_t result = FrameObjQuickCardBarcode::WriteBody(file, target);
    if (result != 0)
        return result;
    uint8_t bytes[kQuickCardFrameHeaderSize];
    std::memcpy(bytes, header_, sizeof bytes);
    const uint32_t size = HandleGetSize(block18_);
    PutU32LE(bytes + kQuickCardFrameBlockSizeOffset, size);
    int32_t err = FileWrite(file, bytes, sizeof bytes);
    if (size)
        err += FileWrite(file, HandleData(block18_), size);
    return err;
}

int32_t FrameObjBarcode18::CopyTo(FrameObj* destination)
{
    if (destination->GetType() == kFrameBarcode18) {
        auto* d = static_cast<FrameObjBarcode18*>(destination);
        std::memcpy(d->header_, header_, kQuickCardFrameHeaderSize);
        Handle copy = block18_;
        if (copy && HandleDuplicate(&copy) != 0)
            copy = nullptr;
        HandleFree(d->block18_);
        d->block18_ = copy;
    }
    return FrameObjQuickCardBarcode::CopyTo(destination);
}

void FrameObjBarcode18::SetQuickCardBlock(Handle block)
{
    MarkChanged(1, 0);
    Handle copy = block;
    if (copy && HandleDuplicate(&copy) != 0)
        copy = nullptr;
    HandleFree(block18_);
    block18_ = copy;
    Recompute(0);
}

void FrameObjBarcode18::DrawText(Dc* dc)
{
    if (!block18_)
        return;
    const ViewBars bars = BarsAtViewZoom(dc);
    FontState font(dc);
    SelectViewFont(&font);
    // The unturned rectangle: a turned frame draws its block into an image
    // that is turned afterwards.
    const FrameGeometry& v = viewGeometry_;
    const int32_t border = v.lineWidth;
    IntRect rect{v.x + border, v.y + border, v.x + v.width - border, v.y + v.height - border};
    if (bars.height > 0)
        rect.top += bars.height + dc->getTextMetrics().descent;
    const double scale = bars.denominator != 0 ? double(bars.numerator) / bars.denominator : 1.0;
    QuickCardBlockDraw(dc, rect, UsesRecord(), scale, scale, block18_, outputShift_ != 0);
}

void FrameObjBarcode18::MeasureContent(IntRect* out)
{
    Dc* dc = ContentMeasureDc(this);
    const FrameAttributes& a = block_.attr;
    int16_t numerator = 1;
    int16_t denominator = 1;
    GetZoom(&numerator, &denominator);
    int32_t barsWidth = 0;
    const int32_t bars = BarsHeight(dc, 1, 1, &barsWidth);
    FontState font(dc);
    SelectFrameFont(&font, this, FrameFontSize(a.fontSize), kBlack);
    const int32_t descent = dc->getTextMetrics().descent;
    font.SetHeight(DocToViewLength(FrameFontSize(a.fontSize)));
    int32_t width = 0;
    int32_t height = 0;
    const double scale = denominator != 0 ? double(numerator) / denominator : 1.0;
    if (block18_)
        QuickCardBlockMeasure(dc, UsesRecord(), scale, scale, block18_, &width, &height, outputShift_ != 0);
    if (numerator > 0 && denominator > 0) {
        width = int32_t(int64_t(width) * denominator / numerator);
        height = int32_t(int64_t(height) * denominator / numerator);
    }
    if (width == 0)
        width = descent;
    if (height == 0)
        height = descent;
    if (bars > 0) {
        width = std::max(width, barsWidth);
        height += bars + descent;
    }
    const int32_t border = a.geometry.lineWidth;
    *out = IntRect{-border, -border, width + border, height + border};
}

void FrameObjBarcode18::SetFontStyle(int16_t style, int32_t arg2, int32_t arg3)
{
    const uint16_t bits = uint16_t(style);
    if (block18_)
        QuickCardBlockSetItemFlags(block18_, uint16_t(bits & ~0x4000u), (bits & 0x4000u) != 0);
    FrameObjQuickCardBarcode::SetFontStyle(int16_t(bits & ~0x4000u), arg2, arg3);
}

void FrameObjBarcode18::SetAutoSizeAnchor(int16_t anchor)
{
    FrameObjQuickCardBarcode::SetAutoSizeAnchor(anchor);
    if (block18_)
        QuickCardBlockSetAlign(block18_, std::max<int16_t>(anchor, 1));
}

void FrameObjBarcode18::EditBlock() { ContentHostOf(this)->DoQuickCardInfo(); }

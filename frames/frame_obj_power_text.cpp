#include "frames/frame_obj_power_text.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/keys.h"
#include "frames/content_frame_host.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_document.h"
#include "frames/frame_font.h"
#include "frames/glyph_effect_renderer.h"
#include "frames/own_record_io.h"
#include "graphics/placement.h"
#include "platform/dc.h"
#include "typography/glyph_layout.h"

FrameObjPowerText::FrameObjPowerText()
{
    // The record's values at creation; every other byte is 0.
    static const struct {
        size_t offset;
        uint16_t value;
    } kInitial[] = {
        {130, 1},   {132, 0},   {142, 1}, {144, 16}, {146, 100}, {148, 1}, {150, 16},
        {152, 100}, {154, 1},   {156, 100}, {158, 1}, {160, 1},  {162, 1}, {164, 13},
        {166, 100}, {168, 1},   {170, 100},
    };
    for (const auto& v : kInitial)
        PutU16LE(effect_ + v.offset, v.value);
}

uint32_t FrameObjPowerText::DataSize() const { return FrameObjRect::DataSize() + kGlyphRecordSize; }

int32_t FrameObjPowerText::ReadBody(FileHandle file, BlockTarget target)
{
    return ReadOwnRecord(FrameObjRect::ReadBody(file, target), file, effect_, sizeof effect_);
}

int32_t FrameObjPowerText::WriteBody(FileHandle file, BlockTarget target)
{
    return WriteOwnRecord(FrameObjRect::WriteBody(file, target), file, effect_, sizeof effect_);
}

int32_t FrameObjPowerText::CopyTo(FrameObj* destination)
{
    FrameObjRect::CopyTo(destination);
    if (destination->GetType() == kFramePowerText)
        static_cast<FrameObjPowerText*>(destination)->SetEffect(effect_);
    return 0;
}

void FrameObjPowerText::SetEffect(const uint8_t* record)
{
    MarkChanged(1, 0);
    std::memcpy(effect_, record, kGlyphRecordSize);
    Recompute(0);
}

bool FrameObjPowerText::HasContent() const
{
    return effect_[kGlyphLine1Offset] != 0 || GetI32LE(effect_ + kGlyphLine2Offset) != 0;
}

void FrameObjPowerText::DrawContent(Dc* dc)
{
    FramePlacement inner = block_.attr.geometry;
    PlacementInsetSides(&inner, block_.attr.geometry.lineWidth, block_.attr.geometry.sides);
    inner.angle = 0;
    IntRect rect;
    PlacementToRect(inner, &rect);
    DocToViewRect(&rect);
    if (!HasContent())
        return;
    const IntRect inPlace = rect;
    rect = IntRect{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    const FontSpec font = FrameFontSpec(this, int16_t(GetU16LE(effect_ + kGlyphFontIdOffset)));
    const bool postScript = outputShift_ && outputMode_ == kOutputPostScript;
    const double angle = postScript ? 0.0 : double(block_.attr.geometry.angle);
    GlyphEffectRenderer* renderer = InstalledGlyphEffectRenderer();
    if (!dc->beginPath())
        return;
    // The margin round the text is part of the design: it grows with the
    // zoom and the printer's resolution as the frame does, so that the text
    // keeps its size and place on every device.
    const int32_t inset = DocToViewLength(kGlyphTextInset);
    if (renderer->BuildPath(dc, effect_, font, rect, inset, angle) != 0 || !dc->endPath()) {
        dc->abortPath();
        return;
    }
    int16_t numerator = 1;
    int16_t denominator = 1;
    GetZoom(&numerator, &denominator);
    const int32_t thickness = denominator != 0 ? int32_t(numerator * 0.75 / denominator) : 0;
    if (postScript) {
        dc->abortPath();
        // The PostScript is written in device pixels where it is to print,
        // so the effect is laid out in the frame's own place (at the origin
        // it would print in the page's corner), and turned there. The
        // outline is as thick as on the other devices at this scale.
        renderer->Output(dc, effect_, inPlace, double(block_.attr.geometry.angle), document_, thickness);
        return;
    }
    Region region = dc->pathToRegion();
    if (region.isEmpty())
        return;
    RegionToLogical(dc, &region);
    const IntRect placed = region.bounds();
    region.offset(int32_t((int64_t(viewRect_.left) + viewRect_.right - placed.left - placed.right) / 2),
                  int32_t((int64_t(viewRect_.top) + viewRect_.bottom - placed.top - placed.bottom) / 2));
    if (ghost_) {
        dc->frameRgn(region, dc->brush(), 1, 1);
        return;
    }
    renderer->Paint(dc, region, effect_ + kGlyphStyleOffset, rect, angle, document_, thickness);
}

void FrameObjPowerText::EditInfo(int32_t arg)
{
    if (IsKeyDown(kVkShift)) {
        FrameObjRect::EditInfo(arg);
        return;
    }
    uint8_t edited[kGlyphRecordSize];
    std::memcpy(edited, effect_, sizeof edited);
    HandleOwner styles(HandleNew(0));
    if (!InstalledGlyphEffectRenderer()->RunStylesDialog(edited, styles.get(), document_))
        return;
    SetEffect(edited);
    if (CurrPageMng* manager = document_ ? document_->PageManager() : nullptr) {
        manager->ResetFrameStates(kDrawNeeded);
        manager->RedrawCurrentPage(1, 0, 0);
    }
}

#include "carddoc/power_text_tool.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "frames/frame_obj_power_text.h"
#include "frames/glyph_effect_renderer.h"

namespace {

// The effect a new tool starts from: words at their byte offsets.
constexpr struct {
    size_t offset;
    uint16_t value;
} kEffectDefaults[] = {
    {130, 1}, {132, 1}, {134, 1}, {142, 1}, {144, 15}, {146, 100}, {148, 1}, {150, 15}, {152, 100},
    {154, 1}, {156, 100}, {158, 1}, {160, 1}, {162, 1}, {164, 13}, {166, 100}, {168, 1}, {170, 100},
};

}  // namespace

PowerTextTool::PowerTextTool(ToolDocument* document) : FrameTool(document)
{
    for (const auto& d : kEffectDefaults)
        PutU16LE(effect_ + d.offset, d.value);
    defaults_.geometry.lineWidth = 0;
    defaults_.geometry.sides = 0xFF;
    defaults_.locked = 0;
}

int16_t PowerTextTool::GetFrameType() { return kFramePowerText; }

void PowerTextTool::Activate(FrameTool* previous, int16_t kind)
{
    FrameTool::Activate(previous, kind);
    frame_ = nullptr;
    uint8_t edited[kGlyphRecordSize];
    std::memcpy(edited, effect_, sizeof edited);
    HandleOwner styles(HandleNew(0));
    if (InstalledGlyphEffectRenderer()->RunStylesDialog(edited, styles.get(), document_))
        std::memcpy(effect_, edited, sizeof effect_);
    else
        document_->SelectTool(kToolObject);
}

void PowerTextTool::ApplyDefaults()
{
    FrameTool::ApplyDefaults();
    if (auto* power = dynamic_cast<FrameObjPowerText*>(frame_))
        power->SetEffect(effect_);
}

int32_t PowerTextTool::GetCursor(const IntPoint& /*viewPoint*/) { return kCursorDrawShape; }

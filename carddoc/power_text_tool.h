// The Power Text tool: asks for the effect (the power text styles dialog)
// when it is chosen and draws frames showing it until another is asked for.
#pragma once

#include "carddoc/rect_tool.h"
#include "typography/glyph_effect_format.h"

class PowerTextTool : public FrameTool {
public:
    explicit PowerTextTool(ToolDocument* document);
    int16_t GetKind() override { return kToolPowerText; }
    int16_t GetFrameType() override;
    // Cancelling the dialog returns to the Object tool.
    void Activate(FrameTool* previous, int16_t kind) override;
    void ApplyDefaults() override;
    int32_t GetCursor(const IntPoint& viewPoint) override;

    const uint8_t* Effect() const { return effect_; }

private:
    uint8_t effect_[kGlyphRecordSize] = {};
};

// The power-text frame: a rectangle frame whose text is drawn as decorated
// glyph outlines, all described by one 172-byte glyph-effect record
// (typography/glyph_effect_format.h) stored behind the root's block.
#pragma once

#include "frames/frame_obj_rect.h"
#include "typography/glyph_effect_format.h"

class FrameObjPowerText : public FrameObjRect {
public:
    FrameObjPowerText();
    int16_t GetType() const override { return kFramePowerText; }
    uint32_t DataSize() const override;
    int32_t CopyTo(FrameObj* destination) override;

    // The effect text's outlines, placed in the middle of the frame and
    // painted by the glyph-effect renderer.
    void DrawContent(Dc* dc) override;
    // Shift: object info; else the Power text styles dialog.
    void EditInfo(int32_t arg) override;

    const uint8_t* Effect() const { return effect_; }
    // Whether the record has anything to draw.
    bool HasContent() const;
    // Marks the change, takes the record and recomputes.
    void SetEffect(const uint8_t* record);

protected:
    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;

    uint8_t effect_[kGlyphRecordSize] = {};
};

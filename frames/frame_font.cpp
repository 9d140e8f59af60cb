#include "frames/frame_font.h"

#include <cstring>
#include <memory>

#include "frames/content_frame_host.h"
#include "frames/frame_obj.h"
#include "graphics/font_state.h"
#include "platform/dc.h"

FontSpec FrameFontSpec(const FrameObj* frame, int16_t fontId)
{
    ContentFrameHost* host = ContentHostOf(frame);
    FontSpec spec;
    if (host->LookupFont(fontId, &spec) || host->LookupFont(0, &spec))
        return spec;
    spec = FontSpec{};
    spec.type = kFontTypeTrueType;
    std::strncpy(spec.faceName, "Arial", sizeof spec.faceName - 1);
    return spec;
}

uint32_t FrameFontStyle(int16_t style)
{
    if (style == kAttrNotSet)
        return 0;
    return uint32_t(uint16_t(style)) & (kFontStyleBold | kFontStyleItalic | kFontStyleUnderline);
}

int32_t FrameFontSize(int16_t size) { return size > 0 ? size : 12; }

void SelectFrameFont(FontState* state, const FrameObj* frame, int32_t height, ColorRef colour)
{
    const FontSpec spec = FrameFontSpec(frame, frame->Attributes().fontId);
    state->SetFont(&spec, height, FrameFontStyle(frame->Attributes().fontStyle), colour, 0,
                   kFontSetFace | kFontSetHeight | kFontSetStyle | kFontSetColour);
}

Dc* MeasuringDc()
{
    // Kept for the life of the process: it only measures.
    static Dc* dc = Dc::ForMeasuring().release();
    return dc;
}

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
    FontSpec font;
    if (host->LookupFont(fontId, &font) || host->LookupFont(0, &font))
        return font;
    font = FontSpec{};
    font.type = kFontTypeTrueType;
    std::strncpy(font.faceName, "Arial", sizeof font.faceName - 1);
    return font;
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
    const FontSpec font = FrameFontSpec(frame, frame->Attributes().fontId);
    state->SetFont(&font, height, FrameFontStyle(frame->Attributes().fontStyle), colour, 0,
                   kFontSetFace | kFontSetHeight | kFontSetStyle | kFontSetColour);
}

Dc* MeasuringDc()
{
    // Kept for the life of the process: it only measures.
    static Dc* dc = Dc::ForMeasuring().release();
    return dc;
}

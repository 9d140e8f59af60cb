// Reads arbitrary bytes as the glyph effect of a power-text frame, as a
// document hands one over, followed by the frame's size, position and
// angle and the font's em square. Whatever they hold, the record must come
// back byte for byte, its lines must stay within their fields, and laying
// the text out, painting it and writing it as PostScript must stay within
// bounds and end.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <QImage>

#include "foundation/byte_order.h"
#include "graphics/postscript.h"
#include "offscreen_gui.h"
#include "platform/dc.h"
#include "typography/glyph_effect.h"
#include "typography/glyph_layout.h"
#include "typography/glyph_postscript.h"
#include "typography/glyph_render.h"
#include "typography/glyph_sources.h"

namespace {

class CountingSink : public PassThroughSink {
public:
    int32_t Escape(const uint8_t*, uint32_t size) override
    {
        bytes += size;
        return 1;
    }
    uint64_t bytes = 0;
};

// Frames as large as a view shows them, either way round.
int32_t Side(const uint8_t* p) { return int32_t(GetI16LE(p) % 1500); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartOffscreenGui(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    GlyphEffect effect;
    if (!DecodeGlyphEffect(data, size, &effect))
        return size < kGlyphRecordSize ? 0 : (std::abort(), 0);
    uint8_t back[kGlyphRecordSize];
    PutGlyphEffect(back, effect);
    if (std::memcmp(back, data, kGlyphRecordSize) != 0)
        std::abort();
    if (GlyphLineText(effect.line1).size() > kGlyphLineMax || GlyphLineText(effect.line2).size() > kGlyphLineMax)
        std::abort();

    uint8_t extra[16] = {};
    std::memcpy(extra, data + kGlyphRecordSize, std::min(sizeof extra, size - kGlyphRecordSize));
    const IntRect frame{Side(extra) / 10, Side(extra + 2) / 10, Side(extra) / 10 + Side(extra + 4),
                        Side(extra + 2) / 10 + Side(extra + 6)};
    const double angle = GetF32LE(extra + 8);
    FontSpec face;
    face.type = kFontTypeTrueType;
    face.emSize = GetU16LE(extra + 12);
    std::strcpy(face.faceName, extra[14] & 1 ? "Times New Roman" : "Arial");
    LogFont font;
    GetEffectLogFont(face, &font);
    const DefaultGlyphTints tints;

    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto dc = Dc::ForImage(&image);
    dc->setViewportOrg(-int32_t(extra[15]), -int32_t(extra[15] / 3));
    RenderGlyphEffect(dc.get(), effect, font, frame, angle, extra[14] >> 4, tints);
    if (dc->hasClip())
        std::abort();

    if (!dc->beginPath())
        return 0;
    if (DrawGlyphText(dc.get(), effect, font, frame, IntPoint{frame.left, frame.top}, 0, extra[14] & 2,
                      extra[14] & 4) != 0) {
        if (!dc->getPath().empty())
            std::abort();
        return 0;
    }
    dc->endPath();
    CountingSink sink;
    WriteGlyphEffectPostScript(dc.get(), &sink, effect, IntPoint{3, 4}, frame, angle, extra[14] >> 4, tints);
    if (!dc->getPath().empty())
        std::abort();
    return 0;
}

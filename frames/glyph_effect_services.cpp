#include "frames/glyph_effect_services.h"

#include <algorithm>

#include "frames/content_frame_host.h"
#include "frames/frame_document.h"
#include "platform/dc.h"
#include "typography/glyph_effect.h"
#include "typography/glyph_layout.h"
#include "typography/glyph_paint.h"
#include "typography/glyph_postscript.h"
#include "typography/glyph_sources.h"
#include "typography/power_text_styles_dlg.h"

namespace {

// The document's colours as the effects ask for them: an index outside the
// table reads as white.
class DocumentTints : public GlyphTints {
public:
    explicit DocumentTints(FrameDocument* document) : document_(document) {}
    ColorRef Tint(int32_t index, int32_t percent) const override
    {
        if (!document_)
            return fallback_.Tint(index, percent);
        const uint8_t i = index >= 0 && index < kGlyphColorCount ? uint8_t(index) : uint8_t(255);
        return document_->GetTint(i, uint8_t(std::clamp(percent, 0, 255)));
    }
    std::string Name(int32_t) const override { return std::string(); }

private:
    FrameDocument* document_;
    DefaultGlyphTints fallback_;
};

// The document's fonts by id, through the frames' host.
class DocumentFonts : public GlyphFontTable {
public:
    explicit DocumentFonts(ContentFrameHost* host) : host_(host) {}
    bool Lookup(int32_t id, FontSpec* face) const override
    {
        return host_ && id >= INT16_MIN && id <= INT16_MAX && host_->LookupFont(int16_t(id), face);
    }
    int32_t GetFontId(const FontSpec& face) override { return host_ ? host_->FontIdFor(face) : -1; }

private:
    ContentFrameHost* host_;
};

GlyphEffectServices gServices;

}  // namespace

int32_t GlyphEffectServices::BuildPath(Dc* dc, const uint8_t* record, const FontSpec& font, const IntRect& rect,
                                       int32_t inset, double angle)
{
    haveLaidOut_ = false;
    font_ = font;
    inset_ = inset;
    LogFont logFont;
    if (!dc || GetEffectLogFont(font, &logFont))
        return kGlyphErrorGeneral;
    const int32_t err = DrawGlyphText(dc, GetGlyphEffect(record), logFont, rect, IntPoint{rect.left, rect.top},
                                      angle, false, false, inset);
    if (err == 0) {
        // Where the text lies in the frame's own rectangle, to place the
        // fills where the frame puts the text.
        laidOut_ = Region::FromPath(dc->currentPath()).bounds();
        haveLaidOut_ = true;
    }
    return err;
}

void GlyphEffectServices::Paint(Dc* dc, const Region& region, const uint8_t* paint, const IntRect& rect,
                                double angle, FrameDocument* colours, int32_t thickness)
{
    IntRect frame = rect;
    if (haveLaidOut_ && !region.isEmpty()) {
        const IntRect placed = region.bounds();
        const int32_t dx = placed.left - laidOut_.left, dy = placed.top - laidOut_.top;
        frame = IntRect{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    }
    const DocumentTints tints(colours);
    DrawGlyphEffect(dc, region, GetGlyphStyle(paint), frame, angle, std::max(thickness, 1), tints);
}

void GlyphEffectServices::Output(Dc* dc, const uint8_t* record, const IntRect& rect, double angle,
                                 FrameDocument* colours, int32_t thickness)
{
    ContentFrameHost* host = dynamic_cast<ContentFrameHost*>(colours);
    PassThroughSink* sink = host ? host->PostScriptSink() : nullptr;
    LogFont logFont;
    if (!dc || !sink || GetEffectLogFont(font_, &logFont))
        return;
    const GlyphEffect effect = GetGlyphEffect(record);
    // The effect turns as a whole in PostScript; the path is laid out
    // straight.
    if (!dc->beginPath())
        return;
    if (DrawGlyphText(dc, effect, logFont, rect, IntPoint{rect.left, rect.top}, 0, false, false, inset_) != 0 ||
        !dc->endPath()) {
        dc->abortPath();
        return;
    }
    const DocumentTints tints(colours);
    WriteGlyphEffectPostScript(dc, sink, effect, IntPoint{0, 0}, rect, angle, std::max(thickness, 1), tints);
}

bool GlyphEffectServices::RunStylesDialog(uint8_t* record, Handle styles, FrameDocument* document)
{
    const DocumentTints tints(document);
    DocumentFonts fonts(dynamic_cast<ContentFrameHost*>(document));
    const GlyphEffect effect = GetGlyphEffect(record);
    PowerTextStylesDlg dialog;
    dialog.SetEffect(&effect, styles, GlyphDocument{&fonts, &tints});
    if (dialog.exec() != QDialog::Accepted)
        return false;
    GlyphEffect edited;
    dialog.GetEffect(&edited);
    PutGlyphEffect(record, edited);
    return true;
}

void InstallGlyphEffectServices() { SetGlyphEffectRenderer(&gServices); }

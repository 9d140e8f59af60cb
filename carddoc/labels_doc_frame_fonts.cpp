// The fonts of frames carried through the clipboard: a copy notes the fonts
// its frames name as this document stores them, and a paste into another
// document gives them that document's numbers.
#include <algorithm>
#include <array>

#include "carddoc/labels_doc.h"
#include "foundation/byte_order.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_power_text.h"
#include "frames/story_store.h"
#include "frames/text_buffer.h"
#include "text/pasted_fonts.h"
#include "text/text_clipboard.h"
#include "text/text_context.h"
#include "typography/glyph_effect_format.h"

namespace {

int16_t EffectFont(const FrameObjPowerText& frame) { return GetI16LE(frame.Effect() + kGlyphFontIdOffset); }

}  // namespace

void CLabelsDoc::AddFontsOfFrames(FrameObj* const* frames, int16_t count, CopiedFonts* fonts)
{
    TextContext* ctx = textContext_.get();
    for (int16_t i = 0; ctx && i < count; ++i) {
        FrameObj* frame = frames[i];
        AddCopiedFont(ctx, frame->Attributes().fontId, fonts);
        if (const auto* power = dynamic_cast<const FrameObjPowerText*>(frame))
            AddCopiedFont(ctx, EffectFont(*power), fonts);
        const int16_t story = frame->Block().storyId;
        if (story > 0 && stories_->BindStory(uint16_t(story)) == 0)
            AddCopiedFonts(ctx, &stories_->Buffer(), fonts);
    }
}

void CLabelsDoc::AdoptFontsOfFrame(FrameObj* frame, const CopiedFonts& fonts)
{
    TextContext* ctx = textContext_.get();
    if (!ctx || (fonts.runs.empty() && fonts.styles.empty()))
        return;
    const FontIds ids = TargetFontIds(ctx, fonts);
    const auto renumbered = [&ids](int16_t id) {
        const auto it = ids.find(id);
        return it == ids.end() ? id : it->second;
    };
    // A caption's font, and a power-text frame's.
    const int16_t caption = frame->Attributes().fontId;
    if (renumbered(caption) != caption)
        frame->SetFont(renumbered(caption));
    auto* power = dynamic_cast<FrameObjPowerText*>(frame);
    if (power && renumbered(EffectFont(*power)) != EffectFont(*power)) {
        std::array<uint8_t, kGlyphRecordSize> effect{};
        std::copy(power->Effect(), power->Effect() + kGlyphRecordSize, effect.begin());
        PutI16LE(effect.data() + kGlyphFontIdOffset, renumbered(EffectFont(*power)));
        power->SetEffect(effect.data());
    }
    const int16_t story = frame->Block().storyId;
    if (story <= 0 || stories_->BindStory(uint16_t(story)) != 0)
        return;
    for (int32_t i = 0; i < stories_->Buffer().Count(); ++i) {
        if (ctx->SelectParagraph(i))
            AdoptPastedFonts(ctx, fonts, ids, ctx->Current().StyleId());
    }
}

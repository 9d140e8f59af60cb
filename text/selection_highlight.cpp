#include "text/selection_highlight.h"

#include <algorithm>
#include <vector>

#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "graphics/brush_state.h"
#include "platform/dc.h"
#include "text/edit_primitives.h"
#include "text/text_context.h"
#include "text/text_positions.h"

namespace {

bool Before(int32_t p1, int32_t c1, int32_t p2, int32_t c2) { return p1 < p2 || (p1 == p2 && c1 < c2); }

// The part of [start, end) that the bound frame's lines show, added to the
// region; whether there was one.
bool AddFrameLines(TextContext* ctx, const TextPosition& start, const TextPosition& end, Region* out)
{
    const LineTable lines = ctx->Lines();
    bool any = false;
    for (int32_t i = 1; i <= lines.Count(); ++i) {
        const TextLineRecord line = lines.At(i);
        const int32_t lineEnd = line.End();
        // The line holds [first, end) of its paragraph.
        if (!Before(line.paragraph, line.first, int32_t(end.paragraph), end.character) ||
            !Before(int32_t(start.paragraph), start.character, line.paragraph, lineEnd))
            continue;
        int32_t left = line.rect.left;
        int32_t right = line.rect.right;
        if (!ctx->SelectParagraph(line.paragraph))
            continue;
        if (line.paragraph == int32_t(start.paragraph) && start.character >= line.first)
            left = line.rect.left + CaretOffsetInLine(ctx, line, start.character);
        if (line.paragraph == int32_t(end.paragraph) && end.character <= lineEnd)
            right = line.rect.left + CaretOffsetInLine(ctx, line, end.character);
        if (right <= left)
            continue;
        const IntRect area = ctx->ToView(
            IntRect{left, line.Baseline() - line.ascent, right, line.Baseline() + line.descent});
        Region piece = Region::FromRect(IntRect{std::min(area.left, area.right), std::min(area.top, area.bottom),
                                                std::max(area.left, area.right), std::max(area.top, area.bottom)});
        out->combine(*out, piece, RGN_OR);
        any = true;
    }
    return any;
}

}  // namespace

void BuildSelectionRegion(TextContext* ctx, Region* out)
{
    *out = Region();
    TextPosition start;
    TextPosition end;
    if (!GetFrameSelection(ctx, &start, &end) || !Before(int32_t(start.paragraph), start.character,
                                                         int32_t(end.paragraph), end.character))
        return;
    FrameObjText* bound = ctx->Frame();
    const IntRect rect = ctx->TextRect();
    const int32_t current = ctx->ParagraphIndex();
    FrameStore* frames = ctx->Frames();
    std::vector<FrameObjText*> chain;
    if (frames && frames->IsChained(bound)) {
        uint16_t id = frames->ChainHead(bound->FrameId(), false, 0);
        while (id != 0) {
            if (FrameObj* f = frames->GetLoadedFrame(id))
                chain.push_back(static_cast<FrameObjText*>(f));
            id = frames->ChainStep(1, id, 0);
        }
    } else {
        chain.push_back(bound);
    }
    for (FrameObjText* frame : chain) {
        ctx->SetFrame(frame);
        IntRect r;
        frame->GetTextRect(&r);
        ctx->SetTextRect(r);
        const bool shows = AddFrameLines(ctx, start, end, out);
        if (frames && frame != bound)
            frames->SetEditFlag(frame, shows);
    }
    ctx->SetFrame(bound);
    ctx->SetTextRect(rect);
    if (current >= 0)
        ctx->SelectParagraph(current);
}

void ToggleSelectionHighlight(TextContext* ctx, Dc* dc)
{
    if (!dc)
        return;
    Region region;
    BuildSelectionRegion(ctx, &region);
    if (region.isEmpty())
        return;
    BrushState brush(dc);
    brush.SetSolid(kBlack);
    const int32_t rop = dc->setRop2(R2_NOTXORPEN);
    dc->paintRgn(region);
    dc->setRop2(rop);
}

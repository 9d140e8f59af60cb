#include "text/relayout.h"

#include <vector>

#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "text/field_runs.h"
#include "text/line_layout.h"
#include "text/text_context.h"
#include "text/wrap_outline.h"

namespace {

constexpr uint8_t kSpace = 32;

bool FrameHasKeepRules(TextContext* ctx)
{
    const LineTable lines = ctx->Lines();
    const int32_t current = ctx->ParagraphIndex();
    int32_t seen = -1;
    bool keeps = false;
    for (int32_t i = 1; i <= lines.Count() && !keeps; ++i) {
        const int32_t paragraph = lines.At(i).paragraph;
        if (paragraph == seen)
            continue;
        seen = paragraph;
        if (!ctx->SelectParagraph(paragraph))
            return true;
        const ParaFormat f = EffectiveParaFormat(ctx->Styles(), ctx->Current(), false);
        keeps = f.keepTogether || f.keepWithNext;
    }
    ctx->SelectParagraph(current);
    return keeps;
}

TextPosition StoryEnd(TextContext* ctx)
{
    const int32_t current = ctx->ParagraphIndex();
    const int32_t last = ctx->ParagraphCount() - 1;
    TextPosition end{uint32_t(last < 0 ? 0 : last), 0};
    if (last >= 0 && ctx->SelectParagraph(last))
        end.character = ctx->Current().Length();
    ctx->SelectParagraph(current);
    return end;
}

// Lays the current paragraph out again from line `start` of the frame;
// `edited` is the line that held the edit at p, delta the characters it
// added (+1) or removed (-1).
bool Relayout(TextContext* ctx, int32_t edited, int32_t start, int32_t p, int32_t delta)
{
    FrameObjText* frame = ctx->Frame();
    FrameStore* frames = ctx->Frames();
    if (!frame || !frames)
        return false;
    LineTable lines = ctx->Lines();
    const int32_t para = ctx->ParagraphIndex();
    const int32_t oldLast = lines.LastLineOf(para);
    if (start < 1 || oldLast < start)
        return false;
    std::vector<TextLineRecord> old;
    for (int32_t i = start; i <= oldLast; ++i)
        old.push_back(lines.At(i));
    const int32_t oldBottom = LineBottom(old.back());

    TextPosition frameStart;
    TextPosition oldEnd;
    frames->GetFrameStart(frame->FrameId(), &frameStart, &oldEnd);
    if (int32_t(oldEnd.paragraph) == para && oldEnd.character > p)
        oldEnd.character = uint16_t(oldEnd.character + delta);
    const TextPosition storyEnd = StoryEnd(ctx);
    const bool frameWasFull = !(oldEnd == storyEnd);

    ctx->RefreshPreferences();
    LoadWrapOutline(frame, &ctx->work);
    ctx->run.Reset();
    ctx->LoadFormats();
    UpdateFieldsFrom(ctx, old.front().first);
    const int32_t length = ctx->Current().Length();

    int32_t at = old.front().first;
    IntRect band;
    if (!StartParagraphBand(ctx, at, para, start - 1, &band))
        return false;
    size_t i = 0;
    bool converged = false;
    bool truncated = false;
    int32_t truncatedAt = 0;
    for (;;) {
        TextLineRecord line;
        const LineOutcome outcome = LayOutLine(ctx, at, band, &line);
        if (outcome.empty)
            break;
        if (!outcome.fits) {
            truncated = true;
            truncatedAt = outcome.first;
            break;
        }
        const int32_t index = start + int32_t(i);
        if (index > edited && i < old.size() && line == old[i]) {
            converged = true;
            break;
        }
        if (i < old.size())
            lines.Set(index, line);
        else
            lines.Insert(index, line);
        ++i;
        at = line.End();
        if (at >= length)
            break;
        StartParagraphBand(ctx, at, para, index, &band);
    }
    const int32_t lastChanged = start + int32_t(i) - 1;
    TextPosition end = oldEnd;
    if (converged) {
        ctx->Host().LinesChanged(frame, start, lastChanged);
        frames->SetFrameEnd(frame->FrameId(), end);
        return true;
    }
    if (!truncated && i < old.size())
        lines.Delete(start + int32_t(i), int32_t(old.size() - i));

    const bool cutBefore = int32_t(oldEnd.paragraph) == para && frameWasFull;
    if (truncated) {
        if (FrameHasKeepRules(ctx))
            return false;
        lines.Delete(start + int32_t(i), lines.Count() - (start + int32_t(i)) + 1);
        end = TextPosition{uint32_t(para), uint16_t(truncatedAt)};
    } else {
        TextLineRecord last;
        lines.Get(start + int32_t(i) - 1, &last);
        const int32_t shift = LineBottom(last) - oldBottom;
        if (cutBefore)
            return false;
        if (shift != 0) {
            if (ctx->work.wrapCount > 0 || FrameHasKeepRules(ctx) || (shift < 0 && frameWasFull))
                return false;
            const int32_t next = start + int32_t(i);
            lines.ShiftLines(next, shift);
            const int32_t bottom = ctx->TextRect().bottom;
            for (int32_t k = next; k <= lines.Count(); ++k) {
                const TextLineRecord moved = lines.At(k);
                if (LineBottom(moved) + 1 > bottom) {
                    end = TextPosition{uint32_t(moved.paragraph), moved.first};
                    lines.Delete(k, lines.Count() - k + 1);
                    break;
                }
            }
        }
    }
    ctx->Host().LinesChanged(frame, start, lines.Count());
    frames->SetFrameEnd(frame->FrameId(), end);
    ctx->SelectParagraph(para);
    return true;
}

}  // namespace

bool RelayoutAfterDelete(TextContext* ctx, int32_t p)
{
    const int32_t para = ctx->ParagraphIndex();
    LineTable lines = ctx->Lines();
    const int32_t edited = lines.FindLineOfPosition(p, para);
    if (edited == 0)
        return false;
    const TextLineRecord line = lines.At(edited);
    if (p == line.first || p == line.End() - 1)
        return false;
    lines.ShiftLineStarts(1, edited + 1, 1, para);
    const int32_t start = edited > 1 && lines.At(edited - 1).paragraph == para ? edited - 1 : edited;
    return Relayout(ctx, edited, start, p, -1);
}

bool RelayoutAfterTyping(TextContext* ctx, int32_t p)
{
    const int32_t para = ctx->ParagraphIndex();
    LineTable lines = ctx->Lines();
    const int32_t edited = lines.FindLineOfPosition(p, para);
    if (edited == 0)
        return false;
    const ParagraphText text = ctx->Current();
    // A typed space may let a word join the line before, or stay behind on
    // it as a space at its end.
    int32_t start = edited;
    if (text.Char(p) == kSpace && edited > 1 && lines.At(edited - 1).paragraph == para)
        start = edited - 1;
    lines.ShiftLineStarts(1, edited + 1, 2, para);
    return Relayout(ctx, edited, start, p, 1);
}

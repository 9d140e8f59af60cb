#include "text/frame_flow.h"

#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/story_store.h"
#include "frames/frame_document.h"
#include "text/field_runs.h"
#include "text/line_layout.h"
#include "text/text_context.h"
#include "text/wrap_outline.h"

namespace {

// A paragraph kept together that does not fit moves whole to the next
// frame, unless it is all the frame holds: a paragraph taller than its frame
// could then never show anywhere.
void KeepTogether(TextContext* ctx, int32_t paragraph, TextPosition* end)
{
    LineTable lines = ctx->Lines();
    const int32_t first = lines.FirstLineOf(paragraph);
    if (first <= 1 || lines.At(first).first != 0)
        return;
    lines.Delete(first, lines.Count() - first + 1);
    *end = TextPosition{uint32_t(paragraph), 0};
}

// The last line of a paragraph kept with the next one goes along with it,
// unless it is the frame's only line.
void KeepWithNext(TextContext* ctx, int32_t paragraph, TextPosition* end)
{
    LineTable lines = ctx->Lines();
    const int32_t last = lines.LastLineOf(paragraph);
    if (last <= 1 || lines.FirstLineOf(paragraph + 1) != 0)
        return;
    const TextLineRecord line = lines.At(last);
    lines.Delete(last, lines.Count() - last + 1);
    *end = TextPosition{uint32_t(paragraph), line.first};
}

}  // namespace

bool BindFrame(TextContext* ctx, FrameObjText* frame)
{
    ctx->RefreshPreferences();
    ctx->SetFrame(frame);
    if (!frame)
        return false;
    IntRect rect;
    frame->GetTextRect(&rect);
    ctx->SetTextRect(rect);
    LoadWrapOutline(frame, &ctx->work);
    StoryStore* stories = ctx->Document()->Stories();
    return frame->Block().storyId > 0 && stories->BindStory(uint16_t(frame->Block().storyId)) == 0;
}

namespace {

// The paragraphs a frame at the end of its chain has no room for are never
// laid out, yet they are the story's: their fields take the record's text
// as the shown ones do, so the card holds what its record says there too
// (a name grown to two lines leaves the title below it the record's, not
// the field's old text).
void RefreshFieldsPastFrame(TextContext* ctx, TextPosition end)
{
    FrameStore* frames = ctx->Frames();
    if (!ctx->Frame() || (frames && frames->ChainStep(1, ctx->Frame()->FrameId(), 0) != 0))
        return;
    const int32_t current = ctx->ParagraphIndex();
    for (int32_t para = int32_t(end.paragraph) + 1; para < ctx->ParagraphCount(); ++para) {
        if (!ctx->SelectParagraph(para))
            break;
        UpdateFieldsFrom(ctx, 0);
    }
    if (current >= 0)
        ctx->SelectParagraph(current);
}

}  // namespace

TextPosition LayOutIntoFrame(TextContext* ctx, FrameObjText* frame, const IntRect& rect, TextPosition start)
{
    ctx->RefreshPreferences();
    ctx->SetFrame(frame);
    ctx->SetTextRect(rect);
    LoadWrapOutline(frame, &ctx->work);
    ctx->match.selected = false;
    LineTable lines = ctx->Lines();
    lines.Clear();

    const int32_t count = ctx->ParagraphCount();
    int32_t keepTogether = -1;
    int32_t keepNext = -1;
    TextPosition end = start;
    bool full = false;
    for (int32_t para = int32_t(start.paragraph); para < count && !full; ++para) {
        if (!ctx->SelectParagraph(para)) {
            end = TextPosition{uint32_t(para), 0};
            full = true;
            break;
        }
        ctx->LoadFormats();
        ctx->run.Reset();
        int32_t p = para == int32_t(start.paragraph) ? start.character : 0;
        UpdateFieldsFrom(ctx, p);
        UpdatePageNumbers(ctx);
        if (ctx->format.keepTogether)
            keepTogether = para;
        if (ctx->format.keepWithNext)
            keepNext = para;
        IntRect band;
        if (!StartParagraphBand(ctx, p, para, lines.Count(), &band))
            break;
        for (;;) {
            TextLineRecord line;
            const LineOutcome outcome = LayOutLine(ctx, p, band, &line);
            if (outcome.empty)
                break;
            if (!outcome.fits) {
                end = TextPosition{uint32_t(para), uint16_t(outcome.first)};
                full = true;
                break;
            }
            lines.Append(line);
            p = line.End();
            if (p >= ctx->Current().Length())
                break;
            StartParagraphBand(ctx, p, para, lines.Count(), &band);
        }
        if (!full)
            end = TextPosition{uint32_t(para), ctx->Current().Length()};
    }
    if (full) {
        if (keepTogether >= 0 && keepTogether == int32_t(end.paragraph) && end.character > 0)
            KeepTogether(ctx, keepTogether, &end);
        if (keepNext >= 0 && keepNext == int32_t(end.paragraph) - 1 && keepNext != keepTogether)
            KeepWithNext(ctx, keepNext, &end);
    }
    RefreshFieldsPastFrame(ctx, end);
    return end;
}

namespace {

// Where the bound frame's text starts: after its chain's previous frame.
TextPosition FrameStartOf(TextContext* ctx)
{
    TextPosition start, end;
    FrameStore* frames = ctx->Frames();
    if (frames && ctx->Frame())
        frames->GetFrameStart(ctx->Frame()->FrameId(), &start, &end);
    return start;
}

}  // namespace

bool TextRemainsAfterFrame(TextContext* ctx)
{
    const LineTable lines = ctx->Lines();
    TextLineRecord last;
    // A frame too low for even its first line shows none of its text: all
    // of it remains, unless the story is only its closing mark.
    const bool none = !lines.Get(lines.Count(), &last);
    const TextPosition start = none ? FrameStartOf(ctx) : TextPosition{};
    const int32_t paragraph = none ? int32_t(start.paragraph) : last.paragraph;
    const int32_t count = ctx->ParagraphCount();
    if (paragraph < count - 1)
        return true;
    const int32_t current = ctx->ParagraphIndex();
    if (!ctx->SelectParagraph(paragraph))
        return false;
    const bool remains =
        none ? int32_t(start.character) < ctx->Current().Length() - 1 : last.End() < ctx->Current().Length();
    ctx->SelectParagraph(current);
    return remains;
}

bool FrameLosesText(TextContext* ctx)
{
    FrameObjText* frame = ctx->Frame();
    FrameStore* frames = ctx->Frames();
    // A frame with a next one in its chain passes the rest on.
    if (!frame || (frames && frames->ChainStep(1, frame->FrameId(), 0) != 0))
        return false;
    // What follows the last line, or all the text from the frame's start
    // when not one line fits. Only something that would have shown counts:
    // an empty paragraph or spaces left over lose nothing.
    const LineTable lines = ctx->Lines();
    int32_t lastParagraph = 0;
    int32_t lastEnd = 0;
    const TextPosition rest = lines.GetEnd(lines.Count(), &lastParagraph, &lastEnd)
                                  ? TextPosition{uint32_t(lastParagraph), uint16_t(lastEnd)}
                                  : FrameStartOf(ctx);
    const int32_t current = ctx->ParagraphIndex();
    bool lost = false;
    for (int32_t para = int32_t(rest.paragraph); para < ctx->ParagraphCount() && !lost; ++para) {
        if (!ctx->SelectParagraph(para))
            break;
        const ParagraphText p = ctx->Current();
        for (int32_t i = para == int32_t(rest.paragraph) ? rest.character : 0; i < p.Length() && !lost; ++i)
            lost = p.Char(i) > ' ';
    }
    if (current >= 0)
        ctx->SelectParagraph(current);
    return lost;
}

std::string FrameTextBeginning(TextContext* ctx, size_t count)
{
    const TextPosition start = FrameStartOf(ctx);
    const int32_t current = ctx->ParagraphIndex();
    std::string text;
    for (int32_t para = int32_t(start.paragraph); para < ctx->ParagraphCount() && text.size() < count; ++para) {
        if (!ctx->SelectParagraph(para))
            break;
        const ParagraphText p = ctx->Current();
        if (!text.empty() && text.back() != ' ')
            text += ' ';
        for (int32_t i = para == int32_t(start.paragraph) ? start.character : 0; i < p.Length() && text.size() < count;
             ++i) {
            // Tabs, line ends and the codes that mark fields read as one
            // space between words.
            const char ch = p.Char(i) < 32 ? ' ' : char(p.Char(i));
            if (ch != ' ' || (!text.empty() && text.back() != ' '))
                text += ch;
        }
    }
    if (current >= 0)
        ctx->SelectParagraph(current);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text.size() >= count ? text + "..." : text;
}

bool ContinueOverflowEditing(TextContext* ctx, bool caretTest)
{
    FrameObjText* frame = ctx->Frame();
    if (!frame || (frame->Attributes().attrByte >> 4) == 0)
        return false;
    bool first = false;
    bool second = false;
    int16_t continuations = 0;
    ctx->Host().ContinuationSettings(&first, &second, &continuations);
    if (!first || !second || continuations <= 0)
        return false;
    const LineTable lines = ctx->Lines();
    TextLineRecord last;
    if (!lines.Get(lines.Count(), &last) || !TextRemainsAfterFrame(ctx))
        return false;
    if (caretTest) {
        const TextPosition caret = ctx->CaretPosition();
        if (int32_t(caret.paragraph) < last.paragraph ||
            (int32_t(caret.paragraph) == last.paragraph && caret.character < last.End()))
            return false;
    }
    FrameStore* frames = ctx->Frames();
    if (frames && frames->ChainStep(1, frame->FrameId(), 0) != 0)
        return false;
    ctx->SelectParagraph(last.paragraph);
    return false;
}

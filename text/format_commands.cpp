#include "text/format_commands.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "frames/frame_document.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/story_store.h"
#include "frames/style_runs.h"
#include "graphics/beep.h"
#include "text/caret_geometry.h"
#include "text/edit_frame.h"
#include "text/edit_primitives.h"
#include "text/para_format.h"
#include "text/text_context.h"

namespace {

constexpr uint16_t kStyleBits = 0x7F;

struct CommandRange {
    TextPosition start;
    TextPosition end;
    bool all = false;
};

// The selection the command acts on; false at a plain caret.
bool SelectedRange(TextContext* ctx, CommandRange* range)
{
    if (!GetFrameSelection(ctx, &range->start, &range->end))
        return false;
    range->all = ctx->Document()->Stories()->IsAllSelected();
    if (range->all)
        range->start = TextPosition{};
    return true;
}

int RankOf(uint16_t bit) { return 9 - std::countr_zero(unsigned(bit)); }

std::array<int16_t, kAttributeCount> OneValue(int rank, int16_t v)
{
    std::array<int16_t, kAttributeCount> values = kRunDefaults;
    values[size_t(rank)] = v;
    return values;
}

// After the runs changed: the story's frames (or the frame) flow again and
// the page is redrawn; a whole-story selection is shown again.
void Finish(TextContext* ctx, const CommandRange& range, bool reflow)
{
    FrameObjText* frame = ctx->Frame();
    if (!frame)
        return;
    if (range.all) {
        ctx->Frames()->MarkStoryFrames(false, int16_t(frame->Block().storyId));
        ctx->Frames()->SetEditFlagAll(frame, false);
    }
    if (reflow)
        FlowEditFrame(ctx, true);
    RedrawEditFrame(ctx);
    if (range.all)
        ctx->Host().SelectAll(true, true);
    RebindEditor(ctx);
}

// The style bits a character ends with: all off, the asked bits on
// (condensed and extended exclude each other), or the asked bits off.
int16_t RequestedStyle(int16_t old, int16_t request)
{
    if (request == 0)
        return 0;
    const int16_t bits = int16_t(request & kStyleBits);
    if (request & kStyleTurnOn) {
        int16_t result = old;
        if (bits & 32)
            result = int16_t(result & ~64);
        if (bits & 64)
            result = int16_t(result & ~32);
        return int16_t(result | bits);
    }
    return int16_t(old & ~bits);
}

// Applies a style request to the characters [from, to) of the paragraph
// at hand, each stretch from the style bits it has (its run's, else its
// paragraph style's).
bool ApplyStyleInParagraph(TextContext* ctx, int32_t from, int32_t to, int16_t request)
{
    ParagraphText para = ctx->Current();
    if (!para.valid() || to <= from)
        return true;
    WidenToFields(para, &from, &to);
    const int16_t baseStyle = std::max<int16_t>(ReadBaseFormat(ctx->Styles(), para.StyleId())[kRankStyle], 0);
    std::vector<int32_t> cuts{from, to};
    for (const RunEntry& r : ReadRunTable(para)) {
        for (int32_t at : {int32_t(r.start), int32_t(r.end)}) {
            if (at > from && at < to)
                cuts.push_back(at);
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    std::vector<int16_t> styles;
    for (size_t i = 0; i + 1 < cuts.size(); ++i) {
        RunCache run;
        const bool counts = LoadRunAt(para, cuts[i], &run) && run.Has(kRunStyle) && run.Value(kRankStyle) >= 0;
        const int16_t old = counts ? int16_t(run.Value(kRankStyle) & kStyleBits) : baseStyle;
        styles.push_back(RequestedStyle(old, request));
    }
    for (size_t i = 0; i + 1 < cuts.size(); ++i) {
        if (!SetRunAttributes(&para, cuts[i], cuts[i + 1], kRunStyle, OneValue(kRankStyle, styles[i]), true))
            return false;
    }
    ctx->StoreFlags(para);
    return true;
}

void ApplyStyleRequest(TextContext* ctx, const CommandRange& range, int16_t request)
{
    const TextPosition caret = ctx->CaretPosition();
    const uint32_t last = range.all ? uint32_t(ctx->ParagraphCount() - 1) : range.end.paragraph;
    for (uint32_t p = range.start.paragraph; p <= last; ++p) {
        if (!ctx->SelectParagraph(int32_t(p)))
            continue;
        const int32_t from = p == range.start.paragraph ? range.start.character : 0;
        const int32_t to = p < last || range.all ? ctx->Current().Length() : range.end.character;
        if (!ApplyStyleInParagraph(ctx, from, to, request))
            break;
    }
    ctx->SelectParagraph(int32_t(caret.paragraph));
    ctx->SetCaretCharacter(caret.character);
}

// The command of one run attribute over the selection, or the typing
// check at a caret.
bool CharacterCommand(TextContext* ctx, uint16_t bit, int16_t value)
{
    CommandRange range;
    if (!SelectedRange(ctx, &range)) {
        ctx->edit.typingCheck = true;
        return false;
    }
    ApplyRunToParagraphs(ctx, range.start, range.end, bit, OneValue(RankOf(bit), value), false);
    Finish(ctx, range, true);
    return true;
}

// Colour and shade: the selected lines are drawn again, nothing flows.
void DrawingCommand(TextContext* ctx, uint16_t bit, int16_t value, uint8_t target)
{
    if (target != kTargetText)
        return;
    CommandRange range;
    if (!SelectedRange(ctx, &range)) {
        ctx->edit.typingCheck = true;
        return;
    }
    ToggleHighlight(ctx);
    ApplyRunToParagraphs(ctx, range.start, range.end, bit, OneValue(RankOf(bit), value), false);
    if (range.all) {
        Finish(ctx, range, false);
        return;
    }
    const LineTable lines = ctx->Lines();
    const int32_t first = lines.FindLineOfPosition(range.start.character, int32_t(range.start.paragraph));
    const int32_t last = lines.FindLineOfPosition(range.end.character, int32_t(range.end.paragraph));
    ctx->Host().LinesChanged(ctx->Frame(), first ? first : 1, last ? last : lines.Count());
    ToggleHighlight(ctx);
}

}  // namespace

void ApplyRunToParagraphs(TextContext* ctx, TextPosition from, TextPosition to, uint16_t bits,
                          const std::array<int16_t, kAttributeCount>& values, bool replace)
{
    if (bits == 0)
        return;
    const bool all = ctx->Document()->Stories()->IsAllSelected();
    if (all)
        to.paragraph = uint32_t(std::max(ctx->ParagraphCount() - 1, 0));
    const TextPosition caret = ctx->CaretPosition();
    for (uint32_t p = from.paragraph; p <= to.paragraph; ++p) {
        if (!ctx->SelectParagraph(int32_t(p)))
            continue;
        ParagraphText para = ctx->Current();
        int32_t s = p == from.paragraph ? from.character : 0;
        int32_t e = p < to.paragraph || all ? para.Length() : to.character;
        WidenToFields(para, &s, &e);
        if (!SetRunAttributes(&para, s, e, bits, values, replace))
            break;
        ctx->StoreFlags(para);
    }
    ctx->SelectParagraph(int32_t(caret.paragraph));
    ctx->SetCaretCharacter(caret.character);
}

void SetFont(TextContext* ctx, int16_t font) { CharacterCommand(ctx, kRunFont, font); }

void SetSize(TextContext* ctx, int16_t size)
{
    if (!CharacterCommand(ctx, kRunSize, size)) {
        IntPoint point;
        GetCaretPoint(ctx, &point, nullptr);
        ctx->Host().ShowCaret();
    }
}

void SetStyle(TextContext* ctx, int16_t style, bool plain)
{
    CommandRange range;
    if (!SelectedRange(ctx, &range)) {
        ctx->edit.typingCheck = true;
        return;
    }
    ApplyStyleRequest(ctx, range, style);
    if (plain) {
        const auto typing = ctx->Host().TypingAttributes();
        if (typing[kRankSuperSub] != 0)
            ApplyRunToParagraphs(ctx, range.start, range.end, kRunSuperSub, OneValue(kRankSuperSub, style), false);
        if (typing[kRankCaps] != 0)
            ApplyRunToParagraphs(ctx, range.start, range.end, kRunCaps, OneValue(kRankCaps, style), false);
    }
    Finish(ctx, range, true);
}

void SetColor(TextContext* ctx, int16_t colour, uint8_t target) { DrawingCommand(ctx, kRunColour, colour, target); }

void SetShade(TextContext* ctx, int16_t shade, uint8_t target) { DrawingCommand(ctx, kRunShade, shade, target); }

void SetCaps(TextContext* ctx, int16_t caps) { CharacterCommand(ctx, kRunCaps, caps); }

void SetSuperSubscript(TextContext* ctx, int16_t value) { CharacterCommand(ctx, kRunSuperSub, value); }

void SetAttribute01(TextContext* ctx, int16_t value) { CharacterCommand(ctx, kRunBaselineShift, value); }

void SetPairOrRangeValue(TextContext* ctx, int16_t value)
{
    CommandRange range;
    if (SelectedRange(ctx, &range)) {
        ApplyRunToParagraphs(ctx, range.start, range.end, kRunRangeSpacing, OneValue(kRankRangeSpacing, value),
                             false);
        Finish(ctx, range, true);
        return;
    }
    const int32_t caret = ctx->Caret();
    if (caret == 0) {
        // No character before the caret to space from.
        PlayBeep(10);
        ctx->Host().SetTypingAttribute(kRankPairSpacing, 0);
        ctx->Host().PublishTextAttributes();
    } else {
        ParagraphText para = ctx->Current();
        if (SetRunAttributes(&para, caret, caret + 1, kRunPairSpacing, OneValue(kRankPairSpacing, value), false))
            ctx->StoreFlags(para);
        ctx->Host().RestartCaret();
    }
    Finish(ctx, range, true);
}

void ApplyCharacterInfo(TextContext* ctx, uint16_t mask, uint16_t changedStyle)
{
    CommandRange range;
    if (!SelectedRange(ctx, &range)) {
        ctx->edit.typingCheck = true;
        return;
    }
    const auto typing = ctx->Host().TypingAttributes();
    const uint16_t bits = uint16_t(mask & kRunValueBits & ~(kRunStyle | kRunPairSpacing));
    std::array<int16_t, kAttributeCount> values = kRunDefaults;
    for (int rank = 0; rank < kAttributeCount; ++rank) {
        if (bits & RankBit(rank))
            values[size_t(rank)] = typing[size_t(rank)];
    }
    ApplyRunToParagraphs(ctx, range.start, range.end, bits, values, false);
    if (mask & kRunStyle) {
        const int16_t style = typing[kRankStyle];
        if (style == 0) {
            ApplyStyleRequest(ctx, range, 0);
        } else {
            for (uint16_t b = 0x01; b <= 0x40; b = uint16_t(b << 1)) {
                if (changedStyle & b)
                    ApplyStyleRequest(ctx, range, int16_t((style & b) ? (b | kStyleTurnOn) : b));
            }
        }
    }
    Finish(ctx, range, true);
}

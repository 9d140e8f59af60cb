#include "text/text_positions.h"

#include <algorithm>

#include "text/alignment.h"
#include "text/char_measure.h"
#include "text/text_context.h"
#include "text/text_measurer.h"

namespace {

constexpr uint8_t kMark = 13;
constexpr uint8_t kLineBreak = 0;
constexpr uint8_t kSpace = 32;

bool Active(TextContext* ctx) { return ctx->Host().IsTextToolCurrent() && ctx->Lines().Count() > 0; }

// Digits, ':', '@' and the letters: what word-wise moves and clicks keep
// together.
bool IsCaretWordChar(uint8_t c)
{
    return (c >= '0' && c <= ':') || c == '@' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The advance of character i of the line for the caret: the tab the line
// recorded there, else the character measured for the caret.
int32_t CaretAdvance(TextContext* ctx, const TextLineRecord& line, int32_t i)
{
    const int32_t tab = line.TabAdvanceAt(i);
    if (tab >= 0)
        return tab;
    return MeasureStyledChar(ctx, i).width;
}

void AlignFor(TextContext* ctx, const TextLineRecord& line)
{
    const ParagraphText para = ctx->Current();
    ctx->LoadFormats();
    const bool last = line.End() >= para.Length();
    ComputeAlignment(ctx, line, ctx->format.alignment, last);
}

}  // namespace

int32_t FindLineOfPosition(TextContext* ctx, int32_t character, int32_t paragraph)
{
    return ctx->Lines().FindLineOfPosition(character, paragraph);
}

int32_t SnapPositionToLine(TextContext* ctx, int32_t character, int32_t paragraph, bool towardNext)
{
    if (!Active(ctx))
        return character;
    const LineTable lines = ctx->Lines();
    TextLineRecord before;
    bool haveBefore = false;
    for (int32_t i = 1; i <= lines.Count(); ++i) {
        const TextLineRecord line = lines.At(i);
        if (line.paragraph != paragraph)
            continue;
        if (character >= line.first && character <= line.End())
            return character;
        if (character < line.first) {
            if (!haveBefore)
                return character;
            return towardNext ? line.first : std::max<int32_t>(before.End() - 1, before.first);
        }
        before = line;
        haveBefore = true;
    }
    return -1;
}

void SetCaret(TextContext* ctx, int32_t p, bool forward)
{
    const ParagraphText para = ctx->Current();
    if (p >= para.Length())
        p = para.Length() - 1;
    if (p < 0)
        p = 0;
    if (Active(ctx)) {
        const int32_t snapped = SnapPositionToLine(ctx, p, ctx->ParagraphIndex(), forward);
        if (snapped >= 0)
            p = snapped;
    }
    ctx->SetCaretCharacter(uint16_t(p));
}

int32_t CaretOffsetInLine(TextContext* ctx, const TextLineRecord& line, int32_t character)
{
    AlignFor(ctx, line);
    const ParagraphText para = ctx->Current();
    int32_t x = ctx->justification.offset;
    int32_t spaceIndex = 0;
    const int32_t stop = std::min<int32_t>(character, line.End());
    for (int32_t i = line.first; i < stop; ++i) {
        x += CaretAdvance(ctx, line, i);
        x += JustifyExtraAfter(*ctx, line, para.Chars(), i - line.first, &spaceIndex);
    }
    return x;
}

bool PositionToPoint(TextContext* ctx, IntPoint* point, int32_t character, int32_t paragraph, int32_t* height)
{
    if (!Active(ctx))
        return false;
    const int32_t index = FindLineOfPosition(ctx, character, paragraph);
    if (index == 0)
        return false;
    const TextLineRecord line = ctx->Lines().At(index);
    const int32_t current = ctx->ParagraphIndex();
    if (!ctx->SelectParagraph(paragraph))
        return false;
    const int32_t x = line.rect.left + CaretOffsetInLine(ctx, line, character);
    ctx->SelectParagraph(current);
    *point = ctx->ToView(IntPoint{x, line.Baseline()});
    *height = ctx->ToView(line.Height());
    return true;
}

bool CaretPointFromPosition(TextContext* ctx, IntPoint* point)
{
    if (!Active(ctx))
        return false;
    const int32_t paragraph = ctx->ParagraphIndex();
    const int32_t index = FindLineOfPosition(ctx, ctx->Caret(), paragraph);
    if (index == 0)
        return false;
    const TextLineRecord line = ctx->Lines().At(index);
    const int32_t caret = std::min<int32_t>(ctx->Caret(), line.End());
    *point = IntPoint{line.rect.left + CaretOffsetInLine(ctx, line, caret), line.Baseline()};
    return true;
}

void PointToTextPosition(TextContext* ctx, IntPoint viewPoint, int32_t* paragraph, int32_t* character,
                         int32_t* lineIndex)
{
    *paragraph = -1;
    *character = 0;
    *lineIndex = 0;
    if (!Active(ctx))
        return;
    IntPoint pt = ctx->FromView(viewPoint);
    const LineTable lines = ctx->Lines();
    int32_t index = 0;
    for (int32_t i = 1; i <= lines.Count(); ++i) {
        const TextLineRecord line = lines.At(i);
        // A line reaches down to the bottom of its descent.
        if (line.Baseline() + line.descent >= pt.y) {
            index = i;
            break;
        }
    }
    if (index == 0) {
        index = lines.Count();
        const TextLineRecord last = lines.At(index);
        pt.x = last.rect.right - 1;
    }
    const TextLineRecord line = lines.At(index);
    if (!ctx->SelectParagraph(line.paragraph))
        return;
    AlignFor(ctx, line);
    const ParagraphText para = ctx->Current();
    int32_t x = line.rect.left + ctx->justification.offset;
    int32_t spaceIndex = 0;
    int32_t result = line.End();
    for (int32_t i = line.first; i < line.End(); ++i) {
        const uint8_t ch = para.Char(i);
        if (ch == kMark || ch == kLineBreak) {
            result = i;
            break;
        }
        int32_t w = CaretAdvance(ctx, line, i);
        if (i == line.first) {
            MeasureStyledChar(ctx, i);
            w -= ctx->Measurer().LeftOverhang(ch);
        }
        if (x + w / 2 > pt.x) {
            result = i;
            break;
        }
        x += w + JustifyExtraAfter(*ctx, line, para.Chars(), i - line.first, &spaceIndex);
    }
    *paragraph = line.paragraph;
    *character = result;
    *lineIndex = index;
}

void PointToPosition(TextContext* ctx, IntPoint viewPoint)
{
    int32_t paragraph = -1;
    int32_t character = 0;
    int32_t line = 0;
    PointToTextPosition(ctx, viewPoint, &paragraph, &character, &line);
    if (paragraph < 0 || !ctx->SelectParagraph(paragraph))
        return;
    SetCaret(ctx, character, true);
}

int32_t FindWordBoundary(TextContext* ctx, bool forward)
{
    const ParagraphText para = ctx->Current();
    const int32_t length = para.Length();
    int32_t p = ctx->Caret();
    if (forward) {
        while (p < length && !IsCaretWordChar(para.Char(p)))
            ++p;
        while (p < length && IsCaretWordChar(para.Char(p)))
            ++p;
        return p < length ? p : -1;
    }
    while (p > 0 && !IsCaretWordChar(para.Char(p - 1)))
        --p;
    while (p > 0 && IsCaretWordChar(para.Char(p - 1)))
        --p;
    return p;
}

bool SelectionRangeForClick(TextContext* ctx, int32_t clicks, int32_t* first, int32_t* last)
{
    const ParagraphText para = ctx->Current();
    const int32_t length = para.Length();
    const int32_t caret = ctx->Caret();
    switch (clicks) {
    case 2: {
        int32_t s = caret;
        while (s > 0 && IsCaretWordChar(para.Char(s - 1)))
            --s;
        int32_t e = caret;
        while (e < length && IsCaretWordChar(para.Char(e)))
            ++e;
        if (e >= length - 1) {
            // A word running to the paragraph's end stops at its line's end.
            const int32_t index = FindLineOfPosition(ctx, caret, ctx->ParagraphIndex());
            e = index ? std::min<int32_t>(ctx->Lines().At(index).End(), length) : length;
        }
        *first = s;
        *last = std::max(s, e - 1);
        return true;
    }
    case 3: {
        const int32_t index = FindLineOfPosition(ctx, caret, ctx->ParagraphIndex());
        if (index == 0)
            return false;
        const TextLineRecord line = ctx->Lines().At(index);
        *first = line.first;
        *last = line.End() - 1;
        return true;
    }
    case 4: {
        int32_t s = 0;
        while (s < length - 1 && para.Char(s) == kSpace)
            ++s;
        *first = s;
        *last = length - 1;
        return true;
    }
    default: return false;
    }
}

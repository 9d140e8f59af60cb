#include "text/caret_geometry.h"

#include <algorithm>
#include <string>

#include "platform/dc.h"
#include "text/char_measure.h"
#include "text/para_format.h"
#include "text/text_context.h"
#include "text/text_positions.h"

namespace {

constexpr uint8_t kTab = 9;

}  // namespace

void CaretAtFrameStart(TextContext* ctx, IntPoint* bottom, int32_t* height)
{
    const IntRect rect = ctx->ToView(ctx->TextRect());
    bottom->x = rect.left + 1;
    bottom->y = std::max(rect.bottom - 1, rect.top);
    *height = bottom->y - rect.top;
}

bool GetCaretPoint(TextContext* ctx, IntPoint* point, int32_t* height)
{
    *point = IntPoint{0, 0};
    if (height)
        *height = 0;
    if (!ctx->Host().IsTextToolCurrent() || !ctx->Frame())
        return false;
    const LineTable lines = ctx->Lines();
    if (lines.Count() == 0) {
        int32_t h = 0;
        CaretAtFrameStart(ctx, point, &h);
        ctx->edit.caretPoint = *point;
        if (height)
            *height = h;
        return true;
    }
    const int32_t paragraph = ctx->ParagraphIndex();
    int32_t caret = ctx->Caret();
    bool shown = true;
    int32_t index = lines.FindLineOfPosition(caret, paragraph);
    if (index == 0) {
        // Between two lines (spaces skipped at a break): the caret goes to
        // the later line's start.
        for (int32_t i = lines.FirstLineOf(paragraph); i > 0 && i <= lines.Count(); ++i) {
            const TextLineRecord line = lines.At(i);
            if (line.paragraph != paragraph)
                break;
            if (line.first > caret) {
                index = i;
                caret = line.first;
                break;
            }
        }
    }
    if (index == 0) {
        // Not shown here: at the end of the paragraph's last line here, or
        // of the frame's last line.
        index = lines.LastLineOf(paragraph);
        if (index == 0)
            index = lines.Count();
        shown = false;
    }
    const TextLineRecord line = lines.At(index);
    if (!ctx->SelectParagraph(line.paragraph))
        return false;
    const int32_t at = shown ? std::clamp<int32_t>(caret, line.first, line.End()) : line.End();
    const int32_t x = line.rect.left + CaretOffsetInLine(ctx, line, at);
    int32_t bottom = line.Baseline() + line.descent;
    int32_t h = line.Height();
    const ParagraphText para = ctx->Current();
    if (shown && para.Length() == 1 && lines.FirstLineOf(line.paragraph) == lines.LastLineOf(line.paragraph)) {
        // An empty paragraph shows the caret in the size the next typed
        // character will have.
        const int32_t baseSize = ReadBaseFormat(ctx->Styles(), para.StyleId())[kRankSize];
        const int32_t toolSize = ctx->Host().TypingAttributes()[kRankSize];
        if (toolSize > 0 && baseSize != toolSize) {
            bottom += toolSize - baseSize;
            h = toolSize + 2;
        }
    }
    ctx->SelectParagraph(paragraph);
    const IntRect rect = ctx->ToView(ctx->TextRect());
    IntPoint p = ctx->ToView(IntPoint{x, bottom});
    p.x = std::max(std::min(p.x, rect.right - 1), rect.left + 1);
    *point = p;
    ctx->edit.caretPoint = p;
    if (height)
        *height = shown ? ctx->ToView(h) : 0;
    return true;
}

int32_t GetCharWidth(TextContext* ctx, int32_t i)
{
    const ParagraphText para = ctx->Current();
    if (para.Char(i) == kTab) {
        const int32_t index = ctx->Lines().FindLineOfPosition(i, ctx->ParagraphIndex());
        const int32_t advance = index ? ctx->Lines().At(index).TabAdvanceAt(i) : -1;
        return ctx->ToView(advance >= 0 ? advance : ctx->Prefs().defaultTab);
    }
    return ctx->ToView(MeasureStyledChar(ctx, i).width);
}

void FillWithSpaces(Dc* dc, int32_t w)
{
    if (!dc || w <= 0)
        return;
    const int32_t space = std::max(dc->getTextExtent(" ").width, 1);
    const std::string spaces(size_t(w / space + 1), ' ');
    const IntPoint at = dc->currentPosition();
    dc->textOut(at.x, at.y, spaces);
}

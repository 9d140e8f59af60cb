#include "text/caret_moves.h"

#include "text/text_context.h"
#include "text/text_positions.h"

void CaretLeft(TextContext* ctx)
{
    const int32_t paragraph = ctx->ParagraphIndex();
    const int32_t caret = ctx->Caret();
    if (caret > 0) {
        SetCaret(ctx, caret - 1, false);
        return;
    }
    if (paragraph > 0 && ctx->SelectParagraph(paragraph - 1)) {
        SetCaret(ctx, ctx->Current().Length() - 1, false);
        return;
    }
    SetCaret(ctx, 0, false);
}

void CaretRight(TextContext* ctx)
{
    const int32_t paragraph = ctx->ParagraphIndex();
    const int32_t caret = ctx->Caret();
    const int32_t length = ctx->Current().Length();
    if (caret < length - 1) {
        SetCaret(ctx, caret + 1, true);
        return;
    }
    if (paragraph + 1 < ctx->ParagraphCount() && ctx->SelectParagraph(paragraph + 1)) {
        SetCaret(ctx, 0, true);
        return;
    }
    SetCaret(ctx, length - 1, true);
}

int32_t CaretLine(TextContext* ctx) { return ctx->Lines().FindLineOfPosition(ctx->Caret(), ctx->ParagraphIndex()); }

bool AimAtLine(TextContext* ctx, int32_t index, int32_t viewX, TextPosition* hit, TextPosition* use)
{
    const LineTable lines = ctx->Lines();
    if (index < 1 || index > lines.Count())
        return false;
    const TextLineRecord line = lines.At(index);
    int32_t paragraph = -1;
    int32_t character = 0;
    int32_t found = 0;
    PointToTextPosition(ctx, IntPoint{viewX, ctx->ToView(line.Baseline())}, &paragraph, &character, &found);
    if (paragraph < 0)
        return false;
    *hit = TextPosition{uint32_t(paragraph), uint16_t(character)};
    *use = *hit;
    if (character > 0 && paragraph == line.paragraph && character == line.End())
        use->character = uint16_t(character - 1);
    return true;
}

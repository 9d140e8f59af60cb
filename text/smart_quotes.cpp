#include "text/smart_quotes.h"

#include "frames/style_runs.h"
#include "graphics/beep.h"
#include "text/text_context.h"

namespace {

constexpr uint8_t kDoublePairs[8][2] = {
    {147, 148}, {148, 148}, {132, 147}, {171, 187}, {187, 171}, {'(', ')'}, {'[', ']'}, {'{', '}'},
};

}  // namespace

bool GetSmartQuotes(TextContext* ctx, uint8_t* open, uint8_t* close, bool isDouble)
{
    const TextPreferences& prefs = ctx->Prefs();
    if (!prefs.smartQuotes)
        return false;
    // The single marks of the Windows code page the text is kept in; its
    // 96 and 180 are the grave and acute accents.
    if (!isDouble) {
        *open = kLeftSingleQuote;
        *close = kRightSingleQuote;
        return true;
    }
    if (prefs.quoteStyle < 0 || prefs.quoteStyle > 7)
        return false;
    *open = kDoublePairs[prefs.quoteStyle][0];
    *close = kDoublePairs[prefs.quoteStyle][1];
    return true;
}

uint8_t SmartQuoteFor(TextContext* ctx, uint8_t typed, int32_t p)
{
    if (typed != 34 && typed != 39)
        return typed;
    uint8_t open = 0;
    uint8_t close = 0;
    if (!GetSmartQuotes(ctx, &open, &close, typed == 34))
        return typed;
    const uint8_t before = p > 0 ? ctx->Current().Char(p - 1) : 0;
    return p == 0 || before == ' ' || before == 9 ? open : close;
}

bool CanInsertPageNumber(TextContext* ctx, int32_t kind, int32_t p)
{
    ParagraphText para = ctx->Current();
    int32_t start = -1;
    const int32_t length = GetFieldRunAt(para, p, &start);
    if (start >= 0 && p >= start && p < start + length) {
        PlayBeep(5);
        return false;
    }
    if (kind < 0 || kind > 4)
        return false;
    RunExtras extras;
    extras.pageKind = int16_t(kind + 1);
    if (!SetRunAttributes(&para, p, p + 1, kRunPageNumber, kRunDefaults, false, extras))
        return false;
    ctx->StoreFlags(para);
    return true;
}

#include "text/char_measure.h"

#include <algorithm>

#include "text/text_context.h"
#include "text/text_measurer.h"

namespace {

constexpr uint8_t kTab = 9;
constexpr uint8_t kMark = 13;

// The measuring common to both: attrs are the values that apply (the run's
// where it sets them, else the base format's), fromRun whether a run did.
CharMetrics Measure(TextContext* ctx, uint8_t ch, const RunCache* run, bool pairFromMinus100)
{
    const BaseFormat& base = ctx->base;
    const TextPreferences& prefs = ctx->Prefs();
    auto pick = [&](int rank) -> int16_t {
        if (run && run->Has(RankBit(rank)) && run->Value(rank) >= 0)
            return run->Value(rank);
        return base[size_t(rank)];
    };
    CharMetrics m;
    m.styled = run != nullptr;
    int32_t size = std::max<int32_t>(pick(kRankSize), 0);
    const int16_t font = pick(kRankFont);
    const int16_t style = pick(kRankStyle);
    const int16_t caps = run && run->Has(kRunCaps) ? run->Value(kRankCaps) : base[kRankCaps];
    const bool smallCaps = caps > 0 && IsSmallCapsLetter(ch);
    const int32_t selected = smallCaps ? size * prefs.smallCapsPercent / 100 : size;
    ctx->SelectFont(font, selected, style);
    const int16_t superSub = run && run->Has(kRunSuperSub) ? run->Value(kRankSuperSub) : base[kRankSuperSub];
    int32_t rise = 0;
    int32_t drop = 0;
    if (superSub == -1)
        rise = size * prefs.superscriptPercent / 100;
    else if (superSub == 1)
        drop = size * prefs.subscriptPercent / 100;
    m.size = size + rise;
    m.descent = ctx->Measurer().Descent() + drop;
    int32_t spacing = 0;
    if (run) {
        const int16_t pairLimit = pairFromMinus100 ? -100 : -500;
        if (run->Has(kRunPairSpacing) && run->Value(kRankPairSpacing) >= pairLimit)
            spacing += run->Value(kRankPairSpacing);
        if (run->Has(kRunRangeSpacing) && run->Value(kRankRangeSpacing) >= -500)
            spacing += run->Value(kRankRangeSpacing);
    } else if (base[kRankRangeSpacing] >= -500) {
        spacing += base[kRankRangeSpacing];
    }
    if (ch == kMark || ch == 0) {
        m.width = 0;
    } else if (ch == kTab) {
        m.width = ctx->Prefs().defaultTab;
    } else {
        m.width = ctx->Measurer().CharWidth(smallCaps ? uint8_t(ch - 0x20) : ch) + spacing;
    }
    return m;
}

// The character whose look a position takes: a paragraph mark after other
// text takes the look of the character before it.
int32_t LookPosition(const ParagraphText& para, int32_t p, const RunCache& run)
{
    if (para.Char(p) == kMark && para.Length() > 1 && p > 0 && !run.Has(kRunField))
        return p - 1;
    return p;
}

}  // namespace

CharMetrics MeasureLayoutChar(TextContext* ctx, int32_t p)
{
    const ParagraphText para = ctx->Current();
    ctx->run.pageKind = 0;
    const uint8_t ch = para.Char(p);
    const int32_t q = LookPosition(para, p, ctx->run);
    bool styled = ctx->run.Holds(q);
    if (!styled)
        styled = LoadRunAt(para, q, &ctx->run);
    CharMetrics m = Measure(ctx, ch, styled ? &ctx->run : nullptr, false);
    if (ch == kMark && q != p) {
        // Only the mark's look came from the character before it.
        m.width = 0;
    }
    return m;
}

CharMetrics MeasureStyledChar(TextContext* ctx, int32_t p)
{
    const ParagraphText para = ctx->Current();
    ctx->base = ReadBaseFormat(ctx->Styles(), para.StyleId());
    RunCache run;
    const uint8_t ch = para.Char(p);
    const int32_t q = LookPosition(para, p, run);
    const bool styled = LoadRunAt(para, q, &run) && run.start >= 0;
    return Measure(ctx, ch, styled ? &run : nullptr, true);
}

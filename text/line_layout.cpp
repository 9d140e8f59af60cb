#include "text/line_layout.h"

#include <algorithm>

#include "frames/frame_obj_text.h"
#include "frames/style_record_format.h"
#include "frames/style_runs.h"
#include "frames/style_sheet.h"
#include "frames/tab_stops.h"
#include "text/char_measure.h"
#include "text/hyphenation.h"
#include "text/text_context.h"
#include "text/wrap_crossings.h"

namespace {

constexpr uint8_t kTab = 9;
constexpr uint8_t kMark = 13;
constexpr uint8_t kSpace = 32;
constexpr uint8_t kLineBreak = 0;

// The width a paragraph rule takes (0 while it is off).
int32_t RuleWidth(StyleSheet* styles, uint32_t styleId, bool above)
{
    uint8_t block[kStyleRuleBlockSize] = {};
    if (above)
        styles->GetLineBlock(styleId, block);
    else
        styles->GetParaBlock(styleId, block);
    return block[kRuleOnOffset] ? GetI16LE(block + kRuleWidthOffset) : 0;
}

int32_t RiseOf(const TextContext& ctx, const BaseFormat& base)
{
    return base[kRankSuperSub] == -1 ? base[kRankSize] * ctx.Prefs().superscriptPercent / 100 : 0;
}

// What the paragraph before leaves under its last line: the larger of its
// space after and its rule below, and its base format's baseline shift.
void GapAfterParagraph(TextContext* ctx, int32_t paragraph, int32_t* gap, int32_t* shift)
{
    *gap = 0;
    *shift = 0;
    const int32_t current = ctx->ParagraphIndex();
    if (!ctx->SelectParagraph(paragraph))
        return;
    const ParagraphText para = ctx->Current();
    const ParaFormat f = EffectiveParaFormat(ctx->Styles(), para, ctx->Prefs().justify);
    const BaseFormat base = ReadBaseFormat(ctx->Styles(), para.StyleId());
    *gap = std::max<int32_t>(f.spaceAfter, RuleWidth(ctx->Styles(), para.StyleId(), false));
    *shift = base[kRankBaselineShift];
    ctx->SelectParagraph(current);
}

struct PendingTab {
    bool active = false;
    int index = 0;         // entry of the line's tab block
    int32_t at = 0;        // character index of the tab
    int32_t segment = 0;   // x where the text after it starts
    int32_t stop = 0;      // x of its stop
    uint8_t kind = kTabLeft;
};

// How far the text after a right or centre tab moves so that it ends at, or
// centres on, the stop, when the text reaches x.
int32_t TabShift(const PendingTab& tab, int32_t x)
{
    if (!tab.active)
        return 0;
    const int32_t width = x - tab.segment;
    const int32_t gap = tab.stop - tab.segment;
    if (tab.kind == kTabRight && width < gap)
        return gap - width;
    if (tab.kind == kTabCentre && width / 2 < gap)
        return gap - width / 2;
    return 0;
}

// The tab takes the room its text leaves: the text from the tab up to the
// character last moves right (advances holds the x before each character
// from first on, and the x after the last).
void AlignTabSegment(PendingTab* tab, int32_t* x, int32_t first, int32_t last, LayoutContext* work,
                     TextLineRecord* line)
{
    const int32_t shift = TabShift(*tab, *x);
    if (!tab->active)
        return;
    tab->active = false;
    if (shift <= 0)
        return;
    SetTabPosition(line->tabs.data(), tab->index, uint16_t(std::min(shift, 0xFFFE)));
    for (int32_t i = tab->at + 1 - first; i <= last + 1 - first && i < int32_t(work->advances.size()); ++i)
        work->advances[size_t(i)] += shift;
    *x += shift;
}

}  // namespace

int32_t LineHeight(const TextContext& ctx, int32_t ascent, int32_t descent)
{
    const ParaFormat& f = ctx.format;
    int32_t h = 0;
    if (f.lineSpacing >= 3)
        h = (ascent + descent) * f.lineSpacing / 2;
    else if (f.leading != 0)
        h = f.leading;
    else
        h = ascent + descent;
    return std::max(h, 1);
}

bool StartParagraphBand(TextContext* ctx, int32_t first, int32_t paragraph, int32_t previous, IntRect* band)
{
    const IntRect& rect = ctx->TextRect();
    const ParaFormat& f = ctx->format;
    const uint32_t styleId = ctx->Current().StyleId();
    band->left = rect.left + f.leftIndent;
    band->right = rect.right - f.rightIndent;
    const int32_t rise = RiseOf(*ctx, ctx->base);
    const int32_t shift = ctx->base[kRankBaselineShift];
    const int32_t ruleAbove = RuleWidth(ctx->Styles(), styleId, true);
    const int32_t above = std::max<int32_t>(f.spaceBefore, ruleAbove);
    int32_t y = 0;
    if (previous <= 0) {
        const int32_t lead = f.leading != 0 && f.lineSpacing <= 0 ? f.leading : 0;
        y = rect.top + (first == 0 ? above : 0) + lead - shift + rise;
    } else {
        TextLineRecord prev;
        if (!ctx->Lines().Get(previous, &prev))
            return false;
        if (first == 0 && paragraph > 0) {
            int32_t gap = 0;
            int32_t prevShift = 0;
            GapAfterParagraph(ctx, paragraph - 1, &gap, &prevShift);
            int32_t lead = f.leading;
            if (ruleAbove > 0 && ctx->base[kRankSize] > f.leading)
                lead = 0;
            y = LineBottom(prev) + gap + prevShift + lead + above - shift + rise;
        } else {
            y = LineBottom(prev);
        }
    }
    band->top = y;
    band->bottom = y;
    return true;
}

LineOutcome LayOutLine(TextContext* ctx, int32_t first, const IntRect& bandIn, TextLineRecord* out)
{
    const ParagraphText para = ctx->Current();
    const int32_t length = para.Length();
    const IntRect& rect = ctx->TextRect();
    const TextPreferences& prefs = ctx->Prefs();
    LineOutcome outcome;
    int32_t p = first;
    if (p > 0) {
        while (p < length && para.Char(p) == kSpace)
            ++p;
    }
    outcome.first = p;
    if (p >= length) {
        outcome.empty = true;
        return outcome;
    }

    const CharMetrics m0 = MeasureLayoutChar(ctx, p);
    int32_t ascent = m0.size;
    int32_t descent = m0.descent;
    const bool tabsSet = TabsSetWord(ctx->tabs.data()) != 0;
    // Turned text is laid out in the frame's own unturned space, where the
    // page's wrap shapes do not stand; the screen's image of it once made
    // marks the frame, but a print lays it out before drawing anything, and
    // both must break its lines alike.
    const FrameObjText* frame = ctx->Frame();
    const bool image = frame && (frame->Block().drawnAsImage || frame->ShownTurned());

    for (;;) {
        const int32_t h = LineHeight(*ctx, ascent, descent);
        IntRect band{bandIn.left, bandIn.top + h - descent, bandIn.right, bandIn.top + h - descent};
        if (bandIn.top + h + 1 > rect.bottom)
            return outcome;
        IntRect slot = band;
        if (!image && ctx->work.wrapCount > 0) {
            if (!ComputeLineSlot(&ctx->work, h, rect.bottom, &band, &slot))
                return outcome;
            if (band.top - h + descent + h + 1 > rect.bottom)
                return outcome;
        }
        if (p == 0)
            slot.left += ctx->format.firstLineIndent - ctx->format.leftIndent;
        const int32_t slotWidth = slot.right - slot.left;

        TextLineRecord line;
        line.first = uint16_t(p);
        std::vector<int32_t>& adv = ctx->work.advances;
        adv.assign(1, 0);
        int32_t x = 0;
        int32_t tabCount = 0;
        bool tabsDropped = false;
        PendingTab pending;
        bool styled = false;
        int32_t lastSpace = -1;
        int32_t end = length;  // first character after the line
        int32_t overflow = -1;
        bool grew = false;
        for (int32_t i = p; i < length; ++i) {
            const uint8_t ch = para.Char(i);
            const CharMetrics m = MeasureLayoutChar(ctx, i);
            int32_t w = m.width;
            // A tab first settles the text since the tab before (right and
            // centre stops), then reaches its own stop.
            const bool placesTab = ch == kTab && tabCount < kTabStops;
            const bool byStops = tabsSet && !tabsDropped;
            int32_t aligned = x;
            int32_t advance = 0;
            int stop = -1;
            PendingTab next;
            uint8_t kind = kTabLeft;
            if (placesTab) {
                if (byStops) {
                    aligned = x + TabShift(pending, x);
                    stop = NextStop(ctx->tabs.data(), slot.left + aligned - rect.left);
                }
                const int32_t absX = slot.left + aligned;
                if (stop >= 0) {
                    const int32_t stopX = rect.left + TabPosition(ctx->tabs.data(), stop) - slot.left;
                    kind = TabKind(ctx->tabs.data(), stop);
                    if (kind == kTabRight || kind == kTabCentre)
                        next = PendingTab{true, tabCount, i, aligned, stopX, kind};
                    else
                        advance = std::max(stopX - aligned, 0);
                } else {
                    advance = std::max(NextDefaultTab(absX, prefs.defaultTab, rect.left, rect.right) + rect.left - absX, 0);
                }
                w = aligned - x + advance;
            }
            if (i > p && w > 0 && x + w > slotWidth) {
                overflow = i;
                end = i;
                break;
            }
            if (m.size > ascent || m.descent > descent) {
                ascent = std::max(ascent, m.size);
                descent = std::max(descent, m.descent);
                grew = true;
                break;
            }
            if (placesTab) {
                AlignTabSegment(&pending, &x, p, i - 1, &ctx->work, &line);
                if (byStops && stop < 0)
                    tabsDropped = true;
                if (next.active)
                    pending = next;
                SetTabsSetWord(line.tabs.data(), 1);
                SetTabCharacter(line.tabs.data(), tabCount, uint16_t(i));
                SetTabPosition(line.tabs.data(), tabCount, uint16_t(std::min(advance, 0xFFFE)));
                SetTabKind(line.tabs.data(), tabCount, kind);
                line.tabChars[size_t(tabCount)] = uint16_t(i);
                ++tabCount;
                w = advance;
            }
            styled = styled || m.styled;
            x += w;
            adv.push_back(x);
            if (ch == kSpace)
                lastSpace = i;
            if (ch == kMark || ch == kLineBreak) {
                end = i + 1;
                break;
            }
        }
        if (grew)
            continue;

        int32_t width = x;
        bool hyphen = false;
        auto xAt = [&](int32_t i) { return adv[size_t(i - p)]; };
        if (overflow >= 0) {
            const bool cleanBreak = para.Char(overflow) == kSpace;
            int32_t breakAt = overflow;
            if (!cleanBreak && prefs.textWrap && lastSpace >= p)
                breakAt = lastSpace + 1;
            // A merge field's text is a value or a placeholder, not a word
            // of the language: it is never hyphenated.
            const bool inField = GetFieldIdAt(para, overflow) >= 0 || GetFieldIdAt(para, breakAt) >= 0;
            // A word moved whole to the next line leaves the spaces before
            // it at this line's end, where they take no room.
            bool beforeWord = false;
            if (!cleanBreak && prefs.hyphenation) {
                const HyphenBreak hb = ChooseHyphenBreak(para.Chars(), length, breakAt, !inField);
                if (hb.applies && hb.end <= breakAt) {
                    breakAt = hb.end;
                    hyphen = hb.shownHyphen;
                    beforeWord = !hyphen;
                }
            }
            // A line always keeps at least one character, so that layout
            // moves on whatever the slot's width.
            if (breakAt <= p) {
                breakAt = overflow;
                hyphen = false;
                beforeWord = false;
            }
            end = breakAt;
            int32_t visible = end;
            if (prefs.textWrap || cleanBreak || beforeWord) {
                while (visible > p + 1 && para.Char(visible - 1) == kSpace)
                    --visible;
            }
            width = xAt(visible);
            if (pending.active && pending.at >= end)
                pending.active = false;
            AlignTabSegment(&pending, &width, p, visible - 1, &ctx->work, &line);
            // Tabs given back to the next line are not this line's.
            for (int t = 0; t < kTabStops; ++t) {
                if (line.tabChars[size_t(t)] != 0xFFFF && line.tabChars[size_t(t)] >= end) {
                    line.tabChars[size_t(t)] = 0xFFFF;
                    SetTabPosition(line.tabs.data(), t, kNoTabStop);
                    SetTabCharacter(line.tabs.data(), t, 0);
                    SetTabKind(line.tabs.data(), t, 0);
                }
            }
            if (line.tabChars[0] == 0xFFFF)
                SetTabsSetWord(line.tabs.data(), 0);
        } else {
            AlignTabSegment(&pending, &width, p, end - 1, &ctx->work, &line);
        }

        int32_t trailing = end;
        while (trailing > p && para.Char(trailing - 1) == kSpace)
            --trailing;
        if (trailing > p && (para.Char(trailing - 1) == kMark || para.Char(trailing - 1) == kLineBreak)) {
            // Spaces before the line's end mark are trailing spaces too.
            int32_t k = trailing - 1;
            while (k > p && para.Char(k - 1) == kSpace)
                --k;
            trailing = k;
        }
        int32_t spaces = 0;
        for (int32_t i = p; i < trailing; ++i)
            spaces += para.Char(i) == kSpace ? 1 : 0;

        const int32_t baseline = band.top;
        line.paragraph = ctx->ParagraphIndex();
        line.rect = IntRect{slot.left, baseline, slot.right, baseline};
        line.count = int16_t(end - p);
        line.ascent = int16_t(ascent);
        line.descent = int16_t(descent);
        line.width = int16_t(std::clamp(width, -32768, 32767));
        line.spaces = int16_t(spaces);
        line.hyphen = hyphen ? 1 : 0;
        line.styled = styled ? 1 : 0;
        *out = line;
        outcome.fits = true;
        return outcome;
    }
}

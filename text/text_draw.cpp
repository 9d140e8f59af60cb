#include "text/text_draw.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "frames/card_edge_cut.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_store.h"
#include "frames/print_losses.h"
#include "frames/style_record_format.h"
#include "frames/style_sheet.h"
#include "graphics/font_spec.h"
#include "graphics/frame_border.h"
#include "platform/dc.h"
#include "text/alignment.h"
#include "text/char_measure.h"
#include "text/frame_flow.h"
#include "text/text_context.h"
#include "text/text_font.h"

namespace {

constexpr uint8_t kTab = 9;
constexpr uint8_t kMark = 13;
constexpr uint8_t kLineBreak = 0;
// How much of a frame's text names it in a print job's message.
constexpr size_t kNamedCharacters = 32;
constexpr ColorRef kErase = MakeRgb(255, 255, 255);

// Keeps the context's font, colours, modes and text alignment for a scope.
class DrawState {
public:
    explicit DrawState(Dc* dc) : dc_(dc)
    {
        font_ = dc->font();
        colour_ = dc->textColor();
        align_ = dc->setTextAlign(TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
        mode_ = dc->setBkMode(TRANSPARENT);
    }
    ~DrawState()
    {
        dc_->selectFont(font_);
        dc_->setTextColor(colour_);
        dc_->setTextAlign(align_);
        dc_->setBkMode(mode_);
    }

private:
    Dc* dc_;
    LogFont font_;
    ColorRef colour_ = kBlack;
    uint32_t align_ = 0;
    int32_t mode_ = 0;
};

int32_t VerticalOffset(const TextContext& ctx, int16_t superSub)
{
    const int32_t baseSize = ctx.base[kRankSize];
    if (superSub == -1)
        return -(baseSize * ctx.Prefs().superscriptPercent / 100);
    if (superSub == 1)
        return baseSize * ctx.Prefs().subscriptPercent / 100;
    return 0;
}

struct RuleBlock {
    bool on = false;
    int16_t span = 2;
    float leftInset = 0;
    float rightInset = 0;
    int16_t position = 0;
    int16_t style = 0;
    int16_t width = 0;
    int16_t colour = 0;
    int16_t shade = 100;
};

RuleBlock ReadRule(StyleSheet* styles, uint32_t styleId, bool above)
{
    uint8_t b[kStyleRuleBlockSize] = {};
    if (above)
        styles->GetLineBlock(styleId, b);
    else
        styles->GetParaBlock(styleId, b);
    RuleBlock r;
    r.on = b[kRuleOnOffset] != 0;
    r.span = GetI16LE(b + kRuleSpanOffset);
    r.leftInset = GetF32LE(b + kRuleLeftInsetOffset);
    r.rightInset = GetF32LE(b + kRuleRightInsetOffset);
    r.position = GetI16LE(b + kRulePositionOffset);
    r.style = GetI16LE(b + kRuleStyleOffset);
    r.width = GetI16LE(b + kRuleWidthOffset);
    r.colour = GetI16LE(b + kRuleColourOffset);
    r.shade = GetI16LE(b + kRuleShadeOffset);
    return r;
}

// How far a rule lies from the line it belongs to: in the space before (or
// after), at its position percentage, or right against the line when the
// space is not larger than the rule.
int32_t RuleDistance(const RuleBlock& rule, int32_t space, int32_t descent)
{
    if (space > rule.width)
        return rule.width + (space - rule.width) * rule.position / 100;
    return rule.width - descent;
}

void DrawRule(TextContext* ctx, Dc* dc, const TextLineRecord& line, bool above, bool erase)
{
    const RuleBlock rule = ReadRule(ctx->Styles(), ctx->Current().StyleId(), above);
    if (!rule.on || rule.width <= 0)
        return;
    const IntRect& rect = ctx->TextRect();
    int32_t left = rect.left;
    int32_t right = rect.right;
    if (rule.span != 2) {
        left = rect.left + ctx->format.leftIndent;
        right = rect.right - ctx->format.rightIndent;
    }
    left += TruncToInt32(rule.leftInset);
    right -= TruncToInt32(rule.rightInset);
    int32_t y = 0;
    if (above)
        y = line.Baseline() - line.ascent - RuleDistance(rule, ctx->format.spaceBefore, line.descent);
    else
        y = line.Baseline() + line.descent + RuleDistance(rule, ctx->format.spaceAfter, line.descent);
    if (erase) {
        const IntRect strip = ctx->ToView(IntRect{left, y - rule.width, right, y + rule.width});
        dc->fillRect(strip, Brush::Solid(kErase));
    }
    const Brush old = dc->selectBrush(Brush::Solid(ctx->Host().TintColour(rule.colour, rule.shade)));
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, ctx->Host().TintColour(rule.colour, rule.shade)});
    const int32_t rop = dc->setRop2(R2_MASKPEN);
    LineRecord record;
    record.start = ctx->ToView(IntPoint{left, y});
    record.end = ctx->ToView(IntPoint{right, y});
    record.lineWidth = int16_t(std::max(ctx->ToView(rule.width), 1));
    record.lineStyle = rule.style;
    DrawFrameBorder(dc, record, 0);
    dc->setRop2(rop);
    dc->selectPen(oldPen);
    dc->selectBrush(old);
}

// The characters of a line that share font, colour and baseline, drawn
// together once the line moves on: a printer or PDF file gets them as one
// run of text. The context holds the run's font and colour until it is
// drawn.
class PendingRun {
public:
    explicit PendingRun(Dc* dc) : dc_(dc) {}
    ~PendingRun() { Flush(); }
    PendingRun(const PendingRun&) = delete;
    PendingRun& operator=(const PendingRun&) = delete;

    // Draws the run when the next character would not belong to it.
    void Before(const LogFont& font, ColorRef colour, int32_t y)
    {
        if (!text_.empty() && (y != y_ || colour != colour_ || !(font == font_)))
            Flush();
    }
    void Add(char ch, const IntPoint& at)
    {
        if (text_.empty()) {
            font_ = dc_->font();
            colour_ = dc_->textColor();
            y_ = at.y;
        }
        text_ += ch;
        x_.push_back(at.x);
    }
    void Flush()
    {
        if (text_.empty())
            return;
        dc_->placedTextOut(y_, text_, x_.data());
        text_.clear();
        x_.clear();
    }

private:
    Dc* dc_;
    std::string text_;
    std::vector<int32_t> x_;
    LogFont font_;
    ColorRef colour_ = kBlack;
    int32_t y_ = 0;
};

// How the characters of one run (or of the paragraph's base format, `run`
// null) are drawn: font, colour and their place above or below the
// baseline.
struct CharLook {
    bool valid = false;
    bool small = false;
    bool hasFont = false;
    LogFont font;
    ColorRef tint = kBlack;
    int32_t size = 0;
    int32_t offset = 0;
    int32_t shift = 0;
};

CharLook LookOf(TextContext* ctx, Dc* dc, const BaseFormat& base, const RunCache* run, bool small)
{
    auto pick = [&](int rank) -> int16_t {
        if (run && run->Has(RankBit(rank)) && run->Value(rank) >= 0)
            return run->Value(rank);
        return base[size_t(rank)];
    };
    CharLook look;
    look.valid = true;
    look.small = small;
    look.size = std::max<int32_t>(pick(kRankSize), 0);
    if (small)
        look.size = look.size * ctx->Prefs().smallCapsPercent / 100;
    int16_t colour = base[kRankColour];
    int16_t shade = base[kRankShade];
    if (run && run->Has(kRunColour) && run->Has(kRunShade) && run->Value(kRankColour) >= 0 &&
        run->Value(kRankShade) >= 0) {
        colour = run->Value(kRankColour);
        shade = run->Value(kRankShade);
    } else if (run && run->Has(kRunColour) && run->Value(kRankColour) >= 0) {
        colour = run->Value(kRankColour);
    }
    look.offset = VerticalOffset(*ctx, base[kRankSuperSub]);
    if (run && run->Has(kRunSuperSub) && (run->Value(kRankSuperSub) == -1 || run->Value(kRankSuperSub) == 1))
        look.offset = VerticalOffset(*ctx, run->Value(kRankSuperSub));
    if (run && run->Has(kRunBaselineShift) && run->Value(kRankBaselineShift) > -37)
        look.shift = run->Value(kRankBaselineShift);
    FontSpec fontSpec;
    look.hasFont = ctx->Host().GetFontSpec(pick(kRankFont), &fontSpec);
    look.font = look.hasFont ? TextLogFont(fontSpec, ctx->ToView(look.size), pick(kRankStyle)) : dc->font();
    look.tint = ctx->Host().TintColour(colour, shade);
    return look;
}

// The device rectangle of a logical one.
Region DeviceRegionOf(Dc* dc, const IntRect& logical)
{
    IntPoint corners[2] = {{logical.left, logical.top}, {logical.right, logical.bottom}};
    dc->lpToDp(corners, 2);
    return Region::FromRect(IntRect{std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
                                    std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y)});
}

}  // namespace

void DrawTextLine(TextContext* ctx, Dc* dc, const TextLineRecord& line)
{
    if (!ctx->SelectParagraph(line.paragraph))
        return;
    ctx->LoadFormats();
    ctx->run.Reset();
    const ParagraphText para = ctx->Current();
    // The line's rectangle is a segment at its baseline: this fills nothing.
    dc->fillRect(ctx->ToView(line.rect), Brush::Solid(kErase));
    const bool lastLine = line.End() >= para.Length();
    ComputeAlignment(ctx, line, ctx->format.alignment, lastLine);
    DrawState keep(dc);
    PendingRun pending(dc);
    ctx->lastLoweredShift = 0;

    int32_t x = line.rect.left + ctx->justification.offset;
    int32_t spaceIndex = 0;
    int32_t runEnd = -1;
    RunCache run;
    bool inRun = false;
    CharLook look;
    for (int32_t i = line.first; i < line.End(); ++i) {
        const uint8_t ch = para.Char(i);
        const CharMetrics m = MeasureLayoutChar(ctx, i);
        int32_t advance = m.width;
        const int32_t tab = line.TabAdvanceAt(i);
        if (tab >= 0)
            advance = tab;
        if (i >= runEnd || i == line.first) {
            int32_t s = -1;
            FindRunBounds(para, i, &s, &runEnd);
            inRun = LoadRunAt(para, i, &run) && run.start >= 0;
            if (!inRun)
                runEnd = i + 1;
            if (inRun && run.Has(kRunBaselineShift) && run.Value(kRankBaselineShift) < 0 &&
                run.Value(kRankBaselineShift) != -100)
                ctx->lastLoweredShift = run.Value(kRankBaselineShift);
            look.valid = false;
        }
        if (ch != kTab && ch != kMark && ch != kLineBreak) {
            const BaseFormat& base = ctx->base;
            const int16_t caps = inRun && run.Has(kRunCaps) ? run.Value(kRankCaps) : base[kRankCaps];
            const bool small = (caps > 0 || base[kRankCaps] > 0) && IsSmallCapsLetter(ch);
            // The look is the run's: worked out again only where the run
            // changes or a letter turns small.
            if (!look.valid || look.small != small)
                look = LookOf(ctx, dc, base, inRun ? &run : nullptr, small);
            const char out = char(small ? ch - 0x20 : ch);
            const IntPoint at = ctx->ToView(IntPoint{x, line.Baseline() - look.shift + look.offset});
            pending.Before(look.font, look.tint, at.y);
            if (look.hasFont && !(dc->font() == look.font))
                dc->selectFont(look.font);
            if (dc->textColor() != look.tint)
                dc->setTextColor(look.tint);
            if (look.size > 0)
                pending.Add(out, at);
        }
        x += advance + JustifyExtraAfter(*ctx, line, para.Chars(), i - line.first, &spaceIndex);
    }
    pending.Flush();
    if (line.hyphen) {
        const IntPoint at = ctx->ToView(IntPoint{x, line.Baseline()});
        dc->textOut(at.x, at.y, "-");
    }
}

void DrawTextBlock(TextContext* ctx, Dc* dc, int32_t from, int32_t to, bool erase)
{
    if (!dc)
        return;
    const IntRect view = ctx->ToView(ctx->TextRect());
    const bool screen = ctx->Host().IsScreenTarget();
    std::optional<Region> previousClip;
    const bool hadClip = dc->hasClip();
    if (screen) {
        if (hadClip)
            previousClip = dc->clipRegion();
        Region clip = DeviceRegionOf(dc, view);
        if (hadClip)
            clip.combine(clip, *previousClip, RGN_AND);
        dc->selectClipRgn(&clip);
    }
    const int32_t current = ctx->ParagraphIndex();
    const LineTable lines = ctx->Lines();
    for (int32_t i = std::max(from, 1); i <= std::min(to, lines.Count()); ++i) {
        TextLineRecord line;
        if (!lines.Get(i, &line))
            break;
        DrawTextLine(ctx, dc, line);
        if (line.first == 0)
            DrawRule(ctx, dc, line, true, erase);
        if (line.End() >= ctx->Current().Length())
            DrawRule(ctx, dc, line, false, erase);
    }
    if (screen)
        dc->selectClipRgn(hadClip ? &*previousClip : nullptr);
    if (current >= 0)
        ctx->SelectParagraph(current);

    FrameObjText* frame = ctx->Frame();
    FrameStore* frames = ctx->Frames();
    if (frame && screen && frame->Geometry().angle == 0.0f &&
        (!frames || frames->ChainStep(1, frame->FrameId(), 0) == 0) && TextRemainsAfterFrame(ctx)) {
        DrawOverflowMark(dc, view);
    }
    // Paper shows no mark: the print job says which labels lost text.
    if (frame && frame->IsOutputShift() && FrameLosesText(ctx))
        NoteTextCutOff([ctx] { return FrameTextBeginning(ctx, kNamedCharacters); });
}

void EraseBelowText(TextContext* ctx, Dc* dc, bool lowered)
{
    if (!dc)
        return;
    const IntRect& rect = ctx->TextRect();
    const LineTable lines = ctx->Lines();
    int32_t top = rect.top;
    TextLineRecord last;
    if (lines.Get(lines.Count(), &last)) {
        top = last.Baseline() + last.descent;
        const int32_t current = ctx->ParagraphIndex();
        if (ctx->SelectParagraph(last.paragraph)) {
            ctx->LoadFormats();
            const RuleBlock rule = ReadRule(ctx->Styles(), ctx->Current().StyleId(), false);
            if (rule.on && last.End() >= ctx->Current().Length())
                top += RuleDistance(rule, ctx->format.spaceAfter, last.descent) + rule.width;
            ctx->SelectParagraph(current);
        }
        if (lowered && ctx->lastLoweredShift < 0)
            top -= ctx->lastLoweredShift;
    }
    if (top >= rect.bottom)
        return;
    dc->fillRect(ctx->ToView(IntRect{rect.left, top, rect.right, rect.bottom}), Brush::Solid(kErase));
}

void RedrawFrameText(TextContext* ctx, Dc* dc, FrameObjText* frame, bool erase)
{
    if (!frame)
        frame = ctx->Host().EditFrame();
    if (!frame || !dc)
        return;
    if (ctx->Frame() != frame)
        BindFrame(ctx, frame);
    if (erase)
        dc->fillRect(ctx->ToView(ctx->TextRect()), Brush::Solid(kErase));
    DrawTextBlock(ctx, dc, 1, ctx->Lines().Count(), erase);
}

#include "text/text_tracker.h"

#include <algorithm>

#include "frames/frame_obj_text.h"
#include "graphics/brush_state.h"
#include "text/text_context.h"
#include "text/text_positions.h"

namespace {

bool Before(const TextPosition& a, const TextPosition& b)
{
    return a.paragraph < b.paragraph || (a.paragraph == b.paragraph && a.character < b.character);
}

}  // namespace

CTextTracker::CTextTracker(TrackerView* view, FrameTool* owner, uint16_t mode, TextContext* ctx)
    : CTracker(view, owner, mode, 1), ctx_(ctx)
{
}

void CTextTracker::Begin(IntPoint* start)
{
    drawn_ = Region();
    nothingDrawn_ = 0;
    if (frame_ && frame_->GetType() == kFrameText)
        static_cast<FrameObjText*>(frame_)->SetDrawEditSelection(0);
    anchorPosition_ = endPosition_ = PositionAt(*start);
}

void CTextTracker::UpdateFeedback(IntPoint* point, const IntPoint& /*previous*/, const IntPoint& /*anchor*/,
                                  int16_t /*code*/, bool /*drawNew*/)
{
    endPosition_ = PositionAt(*point);
    Region area = AreaBetween(anchorPosition_, endPosition_);
    Region change;
    change.combine(area, drawn_, RGN_XOR);
    if (dc_ && !change.isEmpty()) {
        BrushState brush(dc_);
        brush.SetSolid(kBlack);
        const int32_t rop = dc_->setRop2(R2_NOTXORPEN);
        dc_->paintRgn(change);
        dc_->setRop2(rop);
    }
    drawn_ = area;
    nothingDrawn_ = drawn_.isEmpty() ? 1 : 0;
}

void CTextTracker::Finish(const IntPoint& /*end*/, const IntPoint& /*previous*/, const IntPoint& /*anchor*/)
{
    if (dc_ && !nothingDrawn_ && !drawn_.isEmpty()) {
        BrushState brush(dc_);
        brush.SetSolid(kBlack);
        const int32_t rop = dc_->setRop2(R2_NOTXORPEN);
        dc_->paintRgn(drawn_);
        dc_->setRop2(rop);
    }
    drawn_ = Region();
    if (frame_ && frame_->GetType() == kFrameText)
        static_cast<FrameObjText*>(frame_)->SetDrawEditSelection(1);
}

void CTextTracker::AdjustPoint(int16_t, IntPoint*, const IntPoint&, const IntPoint&, int16_t, bool) {}

TextPosition CTextTracker::PositionAt(const IntPoint& viewPoint)
{
    int32_t paragraph = -1;
    int32_t character = 0;
    int32_t line = 0;
    PointToTextPosition(ctx_, viewPoint, &paragraph, &character, &line);
    if (paragraph < 0)
        return endPosition_;
    return TextPosition{uint32_t(paragraph), uint16_t(character)};
}

Region CTextTracker::AreaBetween(const TextPosition& a, const TextPosition& b)
{
    Region out;
    const TextPosition start = Before(b, a) ? b : a;
    const TextPosition end = Before(b, a) ? a : b;
    if (!Before(start, end))
        return out;
    const int32_t current = ctx_->ParagraphIndex();
    const LineTable lines = ctx_->Lines();
    for (int32_t i = 1; i <= lines.Count(); ++i) {
        const TextLineRecord line = lines.At(i);
        const TextPosition lineStart{uint32_t(line.paragraph), line.first};
        const TextPosition lineEnd{uint32_t(line.paragraph), uint16_t(line.End())};
        if (!Before(lineStart, end) || !Before(start, lineEnd) || !ctx_->SelectParagraph(line.paragraph))
            continue;
        int32_t left = line.rect.left;
        int32_t right = line.rect.right;
        if (start.paragraph == lineStart.paragraph && start.character >= line.first)
            left = line.rect.left + CaretOffsetInLine(ctx_, line, start.character);
        if (end.paragraph == lineEnd.paragraph && end.character <= line.End())
            right = line.rect.left + CaretOffsetInLine(ctx_, line, end.character);
        if (right <= left)
            continue;
        const IntRect r = ctx_->ToView(
            IntRect{left, line.Baseline() - line.ascent, right, line.Baseline() + line.descent});
        out.combine(out, Region::FromRect(IntRect{std::min(r.left, r.right), std::min(r.top, r.bottom),
                                                  std::max(r.left, r.right), std::max(r.top, r.bottom)}),
                    RGN_OR);
    }
    if (current >= 0)
        ctx_->SelectParagraph(current);
    return out;
}

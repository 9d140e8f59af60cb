#include "text/caret_manager.h"

#include <algorithm>

#include <QCoreApplication>
#include <QTimer>

#include "graphics/pen_state.h"
#include "platform/dc.h"
#include "text/caret_geometry.h"
#include "text/text_context.h"
#include "text/text_positions.h"

namespace {

// Where the caret of the engine's current paragraph stands on the view: the
// bottom of its line's descent at the caret's x, and the line's height
// (ascent and descent), so that the line spans what the selection
// highlight covers; a frame without lines has it at its start. False when
// no line of the frame shows the caret.
bool EngineCaretPoint(TextContext* ctx, IntPoint* bottom, int32_t* height)
{
    if (!ctx->Host().IsTextToolCurrent())
        return false;
    if (ctx->Lines().Count() == 0) {
        CaretAtFrameStart(ctx, bottom, height);
        return true;
    }
    const int32_t paragraph = ctx->ParagraphIndex();
    const int32_t caret = ctx->Caret();
    const int32_t index = FindLineOfPosition(ctx, caret, paragraph);
    if (index == 0)
        return false;
    const TextLineRecord line = ctx->Lines().At(index);
    const int32_t x = ctx->ToView(line.rect.left + CaretOffsetInLine(ctx, line, std::max<int32_t>(caret, line.first)));
    const int32_t top = ctx->ToView(line.Baseline() - line.ascent);
    const int32_t base = ctx->ToView(line.Baseline() + line.descent);
    const IntRect text = ctx->ToView(ctx->TextRect());
    bottom->x = std::max(std::min(x, text.right - 1), text.left + 1);
    bottom->y = base;
    *height = std::max(base - top, 0);
    return true;
}

}  // namespace

CaretManager::CaretManager(TextContext* ctx) : ctx_(ctx) {}

CaretManager::~CaretManager() = default;

bool CaretManager::IsBlinking() const { return timer_ && timer_->isActive(); }

void CaretManager::Show(bool startTimer)
{
    if (visible_)
        return;
    visible_ = true;
    drawn_ = false;
    // Without an event loop there is nothing to blink with.
    if (!startTimer || IsBlinking() || !QCoreApplication::instance())
        return;
    if (!timer_) {
        timer_ = std::make_unique<QTimer>();
        timer_->setInterval(kBlinkMilliseconds);
        QObject::connect(timer_.get(), &QTimer::timeout, [this] { Update(nullptr); });
    }
    timer_->start();
}

void CaretManager::Hide(bool stopTimer)
{
    if (!visible_ && !stopTimer)
        return;
    if (stopTimer && timer_)
        timer_->stop();
    if (drawn_ && visible_)
        Toggle(lastPosition_, lastHeight_, true);
    visible_ = false;
}

void CaretManager::Update(IntPoint* point)
{
    if (!visible_)
        return;
    TextHost& host = ctx_->Host();
    if (!host.IsTextToolCurrent() || !host.EditFrame())
        return;
    IntPoint at;
    int32_t height = 0;
    if (!EngineCaretPoint(ctx_, &at, &height))
        height = 0;
    position_ = at;
    height_ = uint16_t(std::clamp(height, 0, 0xFFFF));
    // A line of another height at the same place would not cancel out
    // either.
    const bool moved = position_.x != lastPosition_.x || position_.y != lastPosition_.y;
    if (drawn_ && (moved || height_ != lastHeight_))
        Toggle(lastPosition_, lastHeight_, true);
    Toggle(position_, height_, false);
    lastPosition_ = position_;
    lastHeight_ = height_;
    if (point)
        *point = position_;
}

void CaretManager::Toggle(IntPoint at, int32_t height, bool removing)
{
    if (!visible_ || height == 0)
        return;
    TextHost& host = ctx_->Host();
    if (!removing && !host.ViewHasFocus())
        return;
    Dc* dc = host.ViewDc();
    if (!dc)
        return;
    const int32_t rop = dc->setRop2(R2_NOTXORPEN);
    {
        PenState pen(dc);
        pen.SetPen(kBlack, 1, PenState::kSetColour | PenState::kSetWidth);
        dc->moveTo(at.x - 1, at.y - height);
        dc->lineTo(at.x - 1, at.y);
    }
    dc->setRop2(rop);
    drawn_ = !drawn_;
}

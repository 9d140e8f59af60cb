#include "toolbase/tracker.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "foundation/keys.h"
#include "graphics/brush_state.h"
#include "graphics/ellipse_shape.h"
#include "graphics/pen_state.h"
#include "graphics/rect_ops.h"
#include "graphics/shape_helpers.h"
#include "platform/dc.h"

namespace {

bool Same(const IntPoint& a, const IntPoint& b) { return a.x == b.x && a.y == b.y; }

// While the button stays down without the pointer moving, a pass runs this
// often, so that a pointer held outside the view goes on scrolling it.
constexpr int kIdlePassMs = 20;

int gActiveDrags = 0;

}  // namespace

// Waits for what moves a drag on: a mouse event of the program (all of
// them are taken while a drag runs: no other window may act on them) or
// the idle timer. It follows the button and the pointer's place in the
// capture window's pixels.
class DragWait : public QObject {
public:
    DragWait(QWidget* widget, const IntPoint& device) : widget_(widget), device_(device)
    {
        qApp->installEventFilter(this);
        timer_.setInterval(kIdlePassMs);
        QObject::connect(&timer_, &QTimer::timeout, &loop_, [this] {
            woken_ = true;
            loop_.quit();
        });
        timer_.start();
        ++gActiveDrags;
    }
    ~DragWait() override
    {
        --gActiveDrags;
        qApp->removeEventFilter(this);
    }

    // Waits for the next pass; false once the button is up or the drag
    // cannot go on (the window went, the program is quitting).
    bool Next()
    {
        if (!down_)
            return false;
        woken_ = false;
        loop_.exec();
        if (!woken_ || !widget_ || !widget_->isVisible())
            down_ = false;
        return down_;
    }
    const IntPoint& Device() const { return device_; }

protected:
    bool eventFilter(QObject* target, QEvent* event) override
    {
        // The window hands each event on to its widget and keeps the
        // press's implicit grab up to date as it does; taken from the window
        // itself, the release would leave that grab on the view, which would
        // then go on taking the pointer's moves over every other widget.
        if (target->isWindowType())
            return false;
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: break;
        default: return false;
        }
        auto* me = static_cast<QMouseEvent*>(event);
        if (widget_) {
            const QPointF at =
                target == widget_ ? me->position() : QPointF(widget_->mapFromGlobal(me->globalPosition()));
            device_ = IntPoint{int32_t(std::lround(at.x())), int32_t(std::lround(at.y()))};
        }
        if ((event->type() == QEvent::MouseButtonRelease && me->button() == Qt::LeftButton) ||
            !(me->buttons() & Qt::LeftButton))
            down_ = false;
        woken_ = true;
        loop_.quit();
        return true;
    }

private:
    QPointer<QWidget> widget_;
    IntPoint device_;
    QEventLoop loop_;
    QTimer timer_;
    bool down_ = true;
    bool woken_ = false;
};

bool TrackerView::IsLeftButtonDown() { return (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0; }

void TrackerView::DPtoLPPoint(IntPoint* p)
{
    if (Dc* dc = GetViewDC())
        dc->dpToLp(p, 1);
}

CTracker::CTracker(TrackerView* view, FrameTool* owner, uint16_t mode, uint8_t redrawOnlyOnMove)
    : view_(view), owner_(owner), mode_(mode), redrawOnlyOnMove_(redrawOnlyOnMove)
{
    dc_ = view_ ? view_->GetViewDC() : nullptr;
    CTracker::GetLimitRect(&limit_);
}

CTracker::~CTracker() = default;

bool CTracker::Active() { return gActiveDrags > 0; }

int16_t CTracker::WaitForHold(int32_t milliseconds)
{
    if (!wait_)
        return WaitMouseHold(milliseconds);
    const IntPoint pressed = wait_->Device();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        if (!wait_->Next() || !Same(wait_->Device(), pressed))
            return 0;
    }
    return 1;
}

void CTracker::Begin(IntPoint* /*start*/) {}

void CTracker::UpdateFeedback(IntPoint* point, const IntPoint& /*previous*/, const IntPoint& anchor, int16_t /*code*/,
                              bool drawNew)
{
    if (drawNew && shift_) {
        const int32_t dx = point->x - anchor.x;
        const int32_t dy = point->y - anchor.y;
        const int32_t d = std::max(std::abs(dx), std::abs(dy));
        point->x = anchor.x + (dx < 0 ? -d : d);
        point->y = anchor.y + (dy < 0 ? -d : d);
    }
    DrawFeedback(anchor, *point);
}

void CTracker::Finish(const IntPoint& end, const IntPoint& /*previous*/, const IntPoint& anchor)
{
    DrawFeedback(anchor, end);
    result_ = IntRect{anchor.x, anchor.y, end.x, end.y};
}

void CTracker::AdjustPoint(int16_t phase, IntPoint* point, const IntPoint& /*previous*/, const IntPoint& /*anchor*/,
                           int16_t /*code*/, bool doNotSnap)
{
    if (view_ && view_->SnapToGuides() && phase != kPhaseEnd && !doNotSnap)
        view_->SnapPoint(*point, point);
}

void CTracker::ConstrainPoint(int16_t phase, IntPoint* point, IntPoint* anchor)
{
    ClampToRect(phase == kPhaseStart ? anchor : point, limit_);
}

void CTracker::GetLimitRect(IntRect* r)
{
    *r = IntRect{};
    if (view_)
        view_->GetPageRectView(r);
}

void CTracker::ClampToRect(IntPoint* point, const IntRect& r)
{
    point->x = std::min(std::max(point->x, r.left), r.right);
    point->y = std::min(std::max(point->y, r.top), r.bottom);
}

void CTracker::DrawFeedback(const IntPoint& from, const IntPoint& to)
{
    if (!dc_)
        return;
    PenState pen(dc_);
    pen.SetPen(kBlack, 1, PenState::kSetColour | PenState::kSetWidth);
    BrushState brush(dc_);
    brush.Set(0, 0, 0, BrushState::kHollow);
    const int32_t rop = dc_->setRop2(R2_NOTXORPEN);
    const IntRect raw{from.x, from.y, to.x, to.y};
    IntRect r = raw;
    RectNormalize(&r);
    switch (shape_) {
    case kBandRoundRect: {
        const int32_t corner = HalfShorterSide(r);
        dc_->roundRect(r.left, r.top, r.right, r.bottom, corner, corner);
        break;
    }
    case kBandEllipse: dc_->ellipse(r.left, r.top, r.right, r.bottom); break;
    case kBandArc: {
        PlacementBlock block;
        block.x = r.left;
        block.y = r.top;
        block.width = int16_t(r.right - r.left);
        block.height = int16_t(r.bottom - r.top);
        block.lineWidth = 1;
        block.lineStyle = 1;
        DrawEllipseShape(dc_, block, 0, RectDiagonalQuadrant(raw) + 1);
        break;
    }
    default: dc_->rectangle(r.left, r.top, r.right, r.bottom); break;
    }
    dc_->setRop2(rop);
}

void CTracker::ShowInRulers(const IntPoint& point, const IntPoint* second)
{
    if (showInRulers_ && view_)
        view_->ShowMouseInRulers(point, second);
}

void CTracker::ReadModifiers()
{
    shift_ = uint8_t(IsKeyDown(kVkShift));
    control_ = uint8_t(IsKeyDown(kVkControl));
    alt_ = uint8_t(IsKeyDown(kVkAlt));
}

void CTracker::Pass(IntPoint* cur, IntPoint* previous, IntPoint* anchor)
{
    ShowInRulers(mouse_, nullptr);
    *cur = mouse_;
    if (view_)
        view_->DPtoLPPoint(cur);
    int16_t code = 0;
    ConstrainPoint(kPhaseLoop, cur, anchor);
    AdjustPoint(kPhaseLoop, cur, *previous, *anchor, 0, false);
    bool moved = !Same(*cur, *previous);
    if (moved && rawMoveTest_)
        moved = !Same(mouse_, previousMouse_);
    if (moved)
        moved_ = 1;
    bool scroll = false;
    if (moved && autoscroll_ && view_) {
        mouse_ = *cur;
        view_->LPtoDPPoint(&mouse_);
        scroll = view_->AutoScroll(mouse_, false);
    }
    if (moved) {
        code = kTrackMoved;
        changeFlags_ |= kTrackMoved;
    }
    if (scroll) {
        code = kTrackScrolled;
        changeFlags_ |= kTrackScrolled;
    }
    const bool redraw = !redrawOnlyOnMove_ || moved || scroll;
    if (redraw) {
        IntPoint old = *previous;
        UpdateFeedback(&old, *previous, *anchor, code, false);
    }
    if (scroll)
        view_->AutoScroll(mouse_, true);
    if (redraw) {
        ReadModifiers();
        UpdateFeedback(cur, *previous, *anchor, code, true);
    }
    AdjustPoint(kPhaseLoop, cur, *previous, *anchor, code, true);
    *previous = *cur;
    previousMouse_ = mouse_;
    looped_ = 1;
}

void CTracker::Track(const IntPoint& press)
{
    start_ = press;
    mouse_ = previousMouse_ = press;
    IntPoint anchor = press;
    IntPoint cur = press;
    IntPoint previous = press;
    ConstrainPoint(kPhaseStart, &cur, &anchor);
    previous = cur = anchor;
    AdjustPoint(kPhaseStart, &cur, previous, anchor, 1, true);
    ReadModifiers();

    // The window that took the press keeps the mouse while the button is
    // down; every mouse event goes to the drag meanwhile, from before Begin
    // on: a Begin that waits for the pointer to be held still must not lose
    // where it went instead.
    QWidget* widget = view_ ? view_->CaptureWidget() : nullptr;
    std::optional<DragWait> wait;
    if (widget && qApp && view_->IsLeftButtonDown()) {
        IntPoint device = press;
        view_->LPtoDPPoint(&device);
        wait.emplace(widget, device);
        wait_ = &*wait;
    }
    Begin(&anchor);
    previous = cur = anchor;
    if (wait) {
        for (;;) {
            const IntPoint seen = wait->Device();
            mouse_ = seen;
            Pass(&cur, &previous, &anchor);
            if (!wait->Next()) {
                // The place the button was let go at ends the drag.
                if (!Same(wait->Device(), seen)) {
                    mouse_ = wait->Device();
                    Pass(&cur, &previous, &anchor);
                }
                break;
            }
        }
        wait_ = nullptr;
        wait.reset();
    }
    ReadModifiers();
    ConstrainPoint(kPhaseEnd, &cur, &anchor);
    AdjustPoint(kPhaseEnd, &cur, previous, anchor, 0, false);
    Finish(cur, previous, anchor);
}

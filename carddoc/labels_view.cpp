#include "carddoc/labels_view.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "carddoc/card_context_menus.h"
#include "carddoc/labels_doc.h"
#include "carddoc/ruler.h"
#include "carddoc/ruler_corner.h"
#include "carddoc/trackers.h"
#include "carddoc/typed_left_out_note.h"
#include "carddoc/worker_dialog.h"
#include "carddoc/zoom_page_bar.h"
#include "dialogs/value_dialogs.h"
#include "foundation/cp1252.h"
#include "foundation/cursors.h"
#include "foundation/long_work.h"
#include "frames/curr_page_mng.h"
#include "graphics/shape_helpers.h"
#include "platform/dc.h"
#include "platform/menus.h"
#include "records/command_ids.h"
#include "text/key_event_qt.h"
#include "toolbase/tracker.h"
#include "typography/std_font_menu.h"

namespace {

// Text alignment of the view's context: baseline, moving the current
// position.
constexpr uint32_t kViewTextAlign = TA_BASELINE | TA_UPDATECP;
constexpr int32_t kDefaultScrollSpeed = 32;
constexpr int16_t kZoomFit = 0;

// Follows the pointer with a guide line through it until the button is
// let go.
class GuideTracker : public CTracker {
public:
    GuideTracker(TrackerView* view, bool vertical) : CTracker(view, nullptr, 0, 1), vertical_(vertical)
    {
        SetAutoscroll(false);
    }
    void ConstrainPoint(int16_t, IntPoint*, IntPoint*) override {}
    void AdjustPoint(int16_t, IntPoint*, const IntPoint&, const IntPoint&, int16_t, bool) override {}
    void Begin(IntPoint* start) override { DrawFeedback(*start, *start); }
    void UpdateFeedback(IntPoint* point, const IntPoint&, const IntPoint&, int16_t, bool) override
    {
        DrawFeedback(*point, *point);
    }
    void Finish(const IntPoint& end, const IntPoint&, const IntPoint&) override
    {
        DrawFeedback(end, end);
        result_ = IntRect{end.x, end.y, end.x, end.y};
    }
    void DrawFeedback(const IntPoint&, const IntPoint& to) override
    {
        if (!dc_)
            return;
        IntRect client;
        view_->GetClientRectLogical(&client);
        if (vertical_)
            DrawXorLine(dc_, to.x, client.top, to.x, client.bottom);
        else
            DrawXorLine(dc_, client.left, to.y, client.right, to.y);
    }

private:
    bool vertical_;
};

}  // namespace

CLabelsView::CLabelsView(QWidget* parent) : SurfaceWidget(parent)
{
    setObjectName("CardView");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    currentDc_ = SurfaceDc();
}

CLabelsView::~CLabelsView()
{
    Detach();
    for (CRuler* ruler : rulers_) {
        if (ruler)
            ruler->SetView(nullptr);
    }
    if (corner_) {
        corner_->SetView(nullptr);
        corner_->SetDocument(nullptr);
    }
}

void CLabelsView::Detach()
{
    if (document_)
        document_->SetView(nullptr);
    document_ = nullptr;
    if (corner_)
        corner_->SetDocument(nullptr);
}

CardFrameServices* CLabelsView::Frame() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* frame = dynamic_cast<CardFrameServices*>(w))
            return frame;
    }
    return nullptr;
}

void CLabelsView::InitView(CLabelsDoc* document)
{
    currentDc_ = SurfaceDc();
    if (CardFrameServices* frame = Frame()) {
        rulers_[0] = frame->HorizontalRuler();
        rulers_[1] = frame->VerticalRuler();
        corner_ = frame->RulerCorner();
    }
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    for (CRuler* ruler : rulers_) {
        if (ruler) {
            ruler->SetViewOrigin(origin);
            ruler->SetView(this);
        }
    }
    ready_ = 1;
    ApplyViewport();
    document_ = document;
    if (document_) {
        IntRect page;
        document_->GetPageRect(&page);
        const ScrollInfo h{0, page.right, std::max(width(), 1), 0};
        const ScrollInfo v{0, page.bottom, std::max(height(), 1), 0};
        SetScrollBarsOut(&h, &v);
    }
    SetPageText("pg. 1 of 1");
    if (Dc* dc = SurfaceDc())
        dc->setTextAlign(kViewTextAlign);
    if (corner_) {
        corner_->SetView(this);
        corner_->SetRulers(rulers_[0], rulers_[1]);
        corner_->SetDocument(document_);
    }
    if (!document_)
        return;
    document_->SetView(this);
    document_->InitialUpdate();
    document_->UpdatePageBar();
    SetRulerZoom(int16_t(std::clamp(document_->GetZoomPercent(), 1, int32_t(INT16_MAX))));
    Refresh();
    PaintPending();
}

// ---- the drawing context ----

Dc* CLabelsView::GetViewDC() { return depth_ == -1 ? SurfaceDc() : currentDc_; }

void CLabelsView::PushDrawTarget(Dc* dc, uint32_t flags)
{
    if (depth_ >= kMaxDrawTargets - 1)
        return;
    ++depth_;
    stack_[depth_] = DrawTarget{GetViewDC(), currentFlags_, viewport_};
    viewport_ = IntPoint{};
    currentDc_ = dc;
    currentFlags_ = flags;
}

void CLabelsView::PopDrawTarget()
{
    if (depth_ == -1)
        return;
    const DrawTarget& saved = stack_[depth_];
    currentDc_ = saved.dc;
    currentFlags_ = saved.flags;
    viewport_ = saved.viewport;
    stack_[depth_] = DrawTarget{};
    --depth_;
}

void CLabelsView::ApplyViewport()
{
    if (Dc* dc = SurfaceDc()) {
        dc->setMapMode(MM_TEXT);
        dc->setWindowOrg(0, 0);
        dc->setViewportOrg(viewport_.x, viewport_.y);
    }
}

IntPoint CLabelsView::ToLogical(const QPoint& device)
{
    IntPoint p{device.x(), device.y()};
    if (Dc* dc = SurfaceDc())
        dc->dpToLp(&p, 1);
    return p;
}

void CLabelsView::GetClientRectLogical(IntRect* r)
{
    IntPoint corners[2] = {{0, 0}, {width(), height()}};
    if (Dc* dc = GetViewDC())
        dc->dpToLp(corners, 2);
    *r = IntRect{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// ---- painting ----

void CLabelsView::InvalidateRect(const IntRect& device, bool /*erase*/)
{
    dirty_ += QRect(QPoint(device.left, device.top), QPoint(device.right - 1, device.bottom - 1)).normalized();
    SchedulePaint();
}

void CLabelsView::InvalidateRgn(const Region& device, bool /*erase*/)
{
    dirty_ += device.pixels();
    SchedulePaint();
}

void CLabelsView::Refresh()
{
    dirty_ = QRegion(rect());
    SchedulePaint();
}

void CLabelsView::UpdateNow() { PaintPending(); }

void CLabelsView::SchedulePaint()
{
    if (paintScheduled_)
        return;
    paintScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        paintScheduled_ = false;
        // A drag's feedback is on the picture: the paint waits for its end.
        if (CTracker::Active()) {
            SchedulePaint();
            return;
        }
        PaintPending();
    });
}

void CLabelsView::PaintPending()
{
    dirty_ &= QRegion(rect());
    Dc* dc = SurfaceDc();
    if (dirty_.isEmpty() || !dc)
        return;
    const QRegion area = dirty_;
    dirty_ = QRegion();
    // Whatever a frame needs to be drawn (a text frame flowing around a
    // picture included), nothing waits for the window's events meanwhile.
    PaintingScope painting;
    const bool caret = document_ && document_->IsTextToolCurrent();
    if (caret)
        document_->HideCaret();
    const int32_t saved = dc->saveDc();
    const Region clip = Region::FromQRegion(area);
    dc->selectClipRgn(&clip);
    IntRect client;
    GetClientRectLogical(&client);
    dc->fillRect(client, Brush::Solid(kWhite));
    if (document_)
        document_->DrawPage(dc);
    dc->restoreDc(saved);
    if (caret)
        document_->ShowCaret();
    Present();
}

void CLabelsView::SurfaceResized()
{
    if (depth_ == -1)
        currentDc_ = SurfaceDc();
    ApplyViewport();
    if (Dc* dc = SurfaceDc())
        dc->setTextAlign(kViewTextAlign);
    if (ready_) {
        for (CRuler* ruler : rulers_) {
            if (ruler)
                ruler->SetViewOrigin(mapToGlobal(QPoint(0, 0)));
        }
        ScrollToPosition(width(), height());
        if (document_ && document_->PageManager()) {
            int16_t n = 1, d = 1, mode = 0;
            document_->PageManager()->GetZoom(&n, &d, &mode);
            if (mode == kZoomFit)
                document_->SetZoomMode(kZoomFit, true);
            document_->PageManager()->ResetFrameStates(1);
        }
    }
    Refresh();
    if (!CTracker::Active())
        PaintPending();
}

// ---- scrolling ----

void CLabelsView::GetScrollBars(ScrollInfo* horizontal, ScrollInfo* vertical) const
{
    if (CardFrameServices* frame = Frame()) {
        frame->GetScrollBars(horizontal, vertical);
        return;
    }
    if (horizontal)
        *horizontal = ownBars_[0];
    if (vertical)
        *vertical = ownBars_[1];
}

void CLabelsView::SetScrollBarsOut(const ScrollInfo* horizontal, const ScrollInfo* vertical)
{
    if (horizontal)
        ownBars_[0] = *horizontal;
    if (vertical)
        ownBars_[1] = *vertical;
    if (CardFrameServices* frame = Frame())
        frame->SetScrollBars(horizontal, vertical);
    // The rulers scroll with the view.
    if (horizontal && rulers_[0])
        rulers_[0]->SetScrollPos(horizontal->pos);
    if (vertical && rulers_[1])
        rulers_[1]->SetScrollPos(vertical->pos);
}

namespace {

int32_t LastPosition(const ScrollInfo& info) { return std::max(0, info.max - info.page + 1); }

}  // namespace

IntPoint CLabelsView::ScrollPosition()
{
    ScrollInfo h, v;
    GetScrollBars(&h, &v);
    return IntPoint{h.pos, v.pos};
}

void CLabelsView::ApplyScroll(int32_t newX, int32_t newY, bool repaint)
{
    const IntPoint old = viewport_;
    viewport_ = IntPoint{-newX, -newY};
    ApplyViewport();
    const int32_t dx = viewport_.x - old.x;
    const int32_t dy = viewport_.y - old.y;
    if (dx == 0 && dy == 0)
        return;
    if (document_ && document_->PageManager())
        document_->PageManager()->ResetFrameStates(1);
    if (!repaint || std::abs(dx) >= width() || std::abs(dy) >= height()) {
        Refresh();
        if (repaint && !CTracker::Active())
            PaintPending();
        return;
    }
    // The picture moves with the page; what it uncovers is painted.
    QImage& surface = MutableSurface();
    const QImage copy = surface.copy();
    const int32_t w = surface.width(), h = surface.height();
    for (int32_t y = 0; y < h; ++y) {
        const int32_t from = y - dy;
        if (from < 0 || from >= h)
            continue;
        const auto* src = reinterpret_cast<const uint32_t*>(copy.constScanLine(from));
        auto* dst = reinterpret_cast<uint32_t*>(surface.scanLine(y));
        for (int32_t x = 0; x < w; ++x) {
            const int32_t fx = x - dx;
            if (fx >= 0 && fx < w)
                dst[x] = src[fx];
        }
    }
    QRegion uncovered(rect());
    uncovered -= QRect(dx, dy, w, h) & rect();
    dirty_.translate(dx, dy);
    dirty_ += uncovered;
    PaintPending();
    Present();
}

bool CLabelsView::ScrollBy(int32_t dx, int32_t dy)
{
    if (dx == 0 && dy == 0)
        return false;
    ScrollInfo h, v;
    GetScrollBars(&h, &v);
    const int32_t x = std::clamp(h.pos + dx, 0, LastPosition(h));
    const int32_t y = std::clamp(v.pos + dy, 0, LastPosition(v));
    if (x == h.pos && y == v.pos)
        return false;
    h.pos = x;
    v.pos = y;
    ApplyScroll(x, y, true);
    SetScrollBarsOut(&h, &v);
    return true;
}

void CLabelsView::ScrollTo(int32_t x, int32_t y, bool repaint)
{
    ScrollInfo h, v;
    GetScrollBars(&h, &v);
    h.pos = std::clamp(x, 0, LastPosition(h));
    v.pos = std::clamp(y, 0, LastPosition(v));
    ApplyScroll(h.pos, v.pos, repaint);
    SetScrollBarsOut(&h, &v);
}

bool CLabelsView::ScrollToShowPoint(int32_t x, int32_t y)
{
    IntRect client;
    GetClientRectLogical(&client);
    const int32_t halfW = (client.right - client.left) >> 1;
    const int32_t halfH = (client.bottom - client.top) >> 1;
    const int32_t dx = x < client.left ? x - client.right + halfW : x > client.right ? x - client.left - halfW : 0;
    const int32_t dy = y < client.top ? y - client.bottom + halfH : y > client.bottom ? y - client.top - halfH : 0;
    if (dx == 0 && dy == 0)
        return false;
    return ScrollByDelta(dx, dy);
}

bool CLabelsView::AutoScroll(const IntPoint& device, bool doScroll)
{
    const int32_t s = autoScrollStep_;
    autoScrollSteps_.x = device.x < 0 ? -s : device.x > width() ? s : 0;
    autoScrollSteps_.y = device.y < 0 ? -s : device.y > height() ? s : 0;
    const bool set = autoScrollSteps_.x != 0 || autoScrollSteps_.y != 0;
    if (doScroll && set && autoScrollEnabled_)
        ScrollBy(autoScrollSteps_.x, autoScrollSteps_.y);
    return set;
}

void CLabelsView::SetScrollSizes(int32_t width, int32_t height, bool repaint)
{
    if (this->width() > width || this->height() > height)
        ScrollTo(0, 0, repaint);
    ScrollInfo h, v;
    GetScrollBars(&h, &v);
    h.min = v.min = 0;
    h.max = width;
    v.max = height;
    h.page = std::max(this->width(), 1);
    v.page = std::max(this->height(), 1);
    const bool moved = h.pos > LastPosition(h) || v.pos > LastPosition(v);
    h.pos = std::min(h.pos, LastPosition(h));
    v.pos = std::min(v.pos, LastPosition(v));
    SetScrollBarsOut(&h, &v);
    if (moved)
        ApplyScroll(h.pos, v.pos, repaint);
}

void CLabelsView::ScrollToPosition(int32_t clientWidth, int32_t clientHeight)
{
    if (!ready_)
        return;
    ScrollInfo h, v;
    GetScrollBars(&h, &v);
    v.page = std::max(clientHeight, 1);
    v.pos = std::clamp(v.pos, 0, LastPosition(v));
    h.page = std::max(clientWidth, 1);
    h.pos = std::clamp(h.pos, 0, LastPosition(h));
    SetScrollBarsOut(&h, &v);
    if (viewport_.x != -h.pos || viewport_.y != -v.pos) {
        ApplyScroll(h.pos, v.pos, false);
        if (!CTracker::Active())
            PaintPending();
    }
}

void CLabelsView::OnFrameScroll(Qt::Orientation orientation, int32_t action, int32_t position)
{
    ScrollInfo h, v;
    GetScrollBars(&h, &v);
    ScrollInfo& info = orientation == Qt::Horizontal ? h : v;
    int32_t speed = kDefaultScrollSpeed;
    if (document_)
        speed = int32_t(document_->GeneralPref(kPrefScrollSpeed));
    const int32_t step = std::max(1, std::min(speed, info.page));
    const int32_t pos = info.pos, page = info.page, max = info.max;
    int32_t next = pos;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: next = std::max(0, pos - step); break;
    case QAbstractSlider::SliderSingleStepAdd: next = pos < max - page - step + 1 ? pos + step : max - page + 1; break;
    case QAbstractSlider::SliderPageStepSub: next = std::max(0, pos - page); break;
    case QAbstractSlider::SliderPageStepAdd: next = pos < max - 2 * page + 1 ? pos + page : max - page + 1; break;
    case QAbstractSlider::SliderMove: next = position; break;
    case QAbstractSlider::SliderToMinimum: next = 0; break;
    case QAbstractSlider::SliderToMaximum: next = max - page; break;
    default: return;
    }
    next = std::clamp(next, 0, LastPosition(info));
    if (next == pos) {
        // The bar may have moved its thumb on its own: it goes back.
        SetScrollBarsOut(orientation == Qt::Horizontal ? &h : nullptr, orientation == Qt::Vertical ? &v : nullptr);
        return;
    }
    info.pos = next;
    SetScrollBarsOut(orientation == Qt::Horizontal ? &h : nullptr, orientation == Qt::Vertical ? &v : nullptr);
    ApplyScroll(h.pos, v.pos, true);
}

// ---- rulers ----

void CLabelsView::ShowMouseInRulers(const QPoint& screen, const QPoint* second)
{
    if (rulers_[0])
        rulers_[0]->SetMouseMarks(screen.x(), second ? second->x() : -1);
    if (rulers_[1])
        rulers_[1]->SetMouseMarks(screen.y(), second ? second->y() : -1);
}

void CLabelsView::ShowMouseInRulers(const IntPoint& device, const IntPoint* second)
{
    const QPoint screen = mapToGlobal(QPoint(device.x, device.y));
    if (!second) {
        ShowMouseInRulers(screen, nullptr);
        return;
    }
    const QPoint other = mapToGlobal(QPoint(second->x, second->y));
    ShowMouseInRulers(screen, &other);
}

void CLabelsView::GetRulerState(int axis, uint8_t* record12)
{
    CRuler* ruler = axis == 0 ? rulers_[0] : rulers_[1];
    if (!ruler)
        return;
    RulerSettings settings;
    ruler->GetSettings(&settings);
    EncodeRulerSettings(settings, record12);
}

void CLabelsView::SetRulerState(int axis, const uint8_t* record12)
{
    CRuler* ruler = axis == 0 ? rulers_[0] : rulers_[1];
    if (!ruler)
        return;
    RulerSettings settings;
    DecodeRulerSettings(record12, &settings);
    ruler->SetSettingsRecord(settings);
}

void CLabelsView::SetRulerUnit(int axis, int16_t unit)
{
    CRuler* ruler = axis == 0 ? rulers_[0] : rulers_[1];
    if (!ruler)
        return;
    RulerSettings settings;
    settings.unit = unit >= 0 && unit <= 3 ? unit : 0;
    ruler->SetSettings(CRuler::kSetUnit, settings, true);
    if (corner_)
        corner_->Redraw();
}

IntPoint CLabelsView::CardCorner() const { return document_ ? document_->CardCorner() : IntPoint{}; }

void CLabelsView::SetRulerZoom(int16_t percent)
{
    RulerSettings settings;
    settings.zoom = percent;
    for (CRuler* ruler : rulers_) {
        if (ruler)
            ruler->SetSettings(CRuler::kSetZoom, settings, true);
    }
}

void CLabelsView::OnSetOriginMessage()
{
    captureMode_ = kCaptureSetOrigin;
    lastMouse_ = QPoint(-1, -1);
    if (isVisible())
        grabMouse();
}

void CLabelsView::OnSetGuideMessage(const QPoint& client, int32_t orientation)
{
    TrackGuide(ToLogical(client), orientation != CRuler::kHorizontal ? 1 : 0);
}

void CLabelsView::DrawCrosshair(const QPoint& device)
{
    Dc* dc = SurfaceDc();
    if (!dc || device.x() < 0)
        return;
    const int32_t saved = dc->saveDc();
    dc->setViewportOrg(0, 0);
    dc->setWindowOrg(0, 0);
    DrawXorLine(dc, device.x(), 0, device.x(), height());
    DrawXorLine(dc, 0, device.y(), width(), device.y());
    dc->restoreDc(saved);
}

void CLabelsView::TrackGuide(const IntPoint& point, uint8_t vertical)
{
    GuideTracker tracker(this, vertical != 0);
    forcedDown_ = true;
    tracker.Track(point);
    forcedDown_ = false;
    const IntPoint end{tracker.Result().left, tracker.Result().top};
    if (!document_ || !document_->PageManager())
        return;
    if (document_->PageManager()->AddGuide(vertical ? kGuideVertical : kGuideHorizontal, end)) {
        document_->SetModified(true);
        document_->RefreshView();
    }
}

// ---- what the trackers ask ----

bool CLabelsView::IsLeftButtonDown()
{
    return leftDown_ || forcedDown_ || TrackerView::IsLeftButtonDown();
}

void CLabelsView::GetPageRectView(IntRect* r)
{
    *r = IntRect{};
    if (!document_)
        return;
    document_->GetPageRect(r);
    document_->DocToViewRect(r);
}

bool CLabelsView::SnapToGuides() { return document_ && document_->SnapsToGuides(); }

void CLabelsView::SnapPoint(const IntPoint& viewPoint, IntPoint* out)
{
    *out = viewPoint;
    if (document_ && document_->PageManager())
        document_->PageManager()->SnapPoint(viewPoint, out);
}

FrameTracker* CLabelsView::NewTracker(TrackerKind kind, FrameObj* frame, int16_t mode)
{
    return MakeFrameTracker(this, kind, frame, mode);
}

// ---- the window around ----

IntRect CLabelsView::FrameWindowRect()
{
    QWidget* frame = window();
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<QMdiSubWindow*>(w)) {
            frame = w;
            break;
        }
    }
    const QRect r = frame ? frame->geometry() : geometry();
    return IntRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

void CLabelsView::MoveFrameWindow(const IntRect& rect)
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<QMdiSubWindow*>(w)) {
            w->setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
            return;
        }
    }
}

void CLabelsView::showEvent(QShowEvent* event)
{
    shown_ = true;
    SurfaceWidget::showEvent(event);
}

IntRect CLabelsView::ParentClientRect()
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<QMdiSubWindow*>(w) && w->parentWidget()) {
            const QSize size = w->parentWidget()->size();
            return IntRect{0, 0, size.width(), size.height()};
        }
    }
    return IntRect{};
}

void CLabelsView::ShowZoom(int16_t numerator, int16_t denominator, bool percentForm)
{
    if (CardFrameServices* frame = Frame()) {
        if (CZoomPageBar* bar = frame->ZoomPageBar())
            bar->SetZoomText(QString::fromStdString(ZoomBoxText(numerator, denominator, percentForm)));
    }
}

void CLabelsView::SetPageText(const std::string& text)
{
    if (CardFrameServices* frame = Frame()) {
        if (CZoomPageBar* bar = frame->ZoomPageBar())
            bar->SetPageText(QString::fromStdString(text));
    }
}

void CLabelsView::EnablePageButtons(bool previous, bool next)
{
    if (CardFrameServices* frame = Frame()) {
        if (CZoomPageBar* bar = frame->ZoomPageBar())
            bar->EnablePageButtons(previous, next);
    }
}

void CLabelsView::UpdateToolButtons(int16_t kind)
{
    if (CardFrameServices* frame = Frame())
        frame->UpdateToolButtons(kind);
}

bool CLabelsView::AskZoomPercent(int32_t* percent)
{
    CDlgZoom dialog(this);
    dialog.SetRecord(ZoomRecord{*percent});
    if (RunWorkerDialog(dialog) != 1)
        return false;
    *percent = dialog.Record().percent;
    return true;
}

void CLabelsView::TakeFocus() { setFocus(Qt::OtherFocusReason); }

void CLabelsView::SetCursorShape(int32_t cursor)
{
    if (cursor == kCursorHidden) {
        setCursor(Qt::BlankCursor);
        return;
    }
    if (const QCursor* c = GetAppCursor(cursor))
        setCursor(*c);
    else
        setCursor(Qt::ArrowCursor);
}

void CLabelsView::TrackPopupMenu(QMenu* menu, const IntPoint& viewPoint)
{
    if (!menu)
        return;
    CardFrameServices* frame = Frame();
    if (frame)
        frame->UpdateMenuStates(menu);
    // The font list answers through its own signal, not as an item.
    uint32_t chosen = 0;
    std::vector<QMetaObject::Connection> links;
    for (StdFontMenu* fonts : menu->findChildren<StdFontMenu*>()) {
        links.push_back(connect(fonts, &StdFontMenu::FontChosen, this, [&chosen](const FontChoice& choice) {
            if (choice.index >= 0)
                chosen = kCmdFontListFirst + uint32_t(choice.index);
        }));
    }
    IntPoint device = viewPoint;
    LPtoDPPoint(&device);
    QAction* item = menu->exec(mapToGlobal(QPoint(device.x, device.y)));
    for (const QMetaObject::Connection& link : links)
        disconnect(link);
    if (item) {
        const uint32_t id = MenuGetCommandId(item);
        if (id != 0 && id != kMenuSubmenuId)
            chosen = id;
    }
    if (chosen != 0 && frame)
        frame->RouteCommand(chosen);
}

// ---- mouse and keys ----

void CLabelsView::Press(const QPoint& device, bool doubleClick, Qt::KeyboardModifiers modifiers)
{
    clickState_ = doubleClick ? 2 : 1;
    if (document_ && document_->GetCurrentToolIndex() == kToolText && device == lastClick_) {
        if (previousClickState_ == 2)
            clickState_ = 3;
        else if (previousClickState_ == 3)
            clickState_ = 4;
    }
    lastClick_ = device;
    const IntPoint logical = ToLogical(device);
    bool taken = false;
    if (document_) {
        if (FrameTool* tool = document_->ToolOfKind(document_->GetCurrentToolIndex()))
            taken = tool->MouseDown(logical) != 0;
    }
    if (!doubleClick) {
        if (taken) {
            previousClickState_ = clickState_;
            clickState_ = 0;
            return;
        }
        if ((modifiers & Qt::ControlModifier) && (modifiers & Qt::AltModifier)) {
            captureMode_ = kCapturePan;
            panAnchor_ = device;
        }
        lastMouse_ = device;
    }
    previousClickState_ = clickState_;
    if (previousClickState_ >= 4)
        previousClickState_ = 0;
    clickState_ = 0;
}

void CLabelsView::mousePressEvent(QMouseEvent* event)
{
    const QPoint device = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        rightPressed_ = true;
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    leftDown_ = true;
    Press(device, false, event->modifiers());
    if (captureMode_ == kCaptureNone)
        leftDown_ = false;
}

void CLabelsView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    leftDown_ = true;
    Press(event->position().toPoint(), true, event->modifiers());
    leftDown_ = false;
}

void CLabelsView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint device = event->position().toPoint();
    ShowMouseInRulers(event->globalPosition().toPoint(), nullptr);
    switch (captureMode_) {
    case kCaptureNone:
        if (document_) {
            if (FrameTool* tool = document_->ToolOfKind(document_->GetCurrentToolIndex()))
                SetCursorShape(tool->GetCursor(ToLogical(device)));
        }
        break;
    case kCaptureSetOrigin:
        DrawCrosshair(lastMouse_);
        lastMouse_ = device;
        DrawCrosshair(lastMouse_);
        break;
    case kCapturePan: {
        lastMouse_ = device;
        const QPoint delta = panAnchor_ - device;
        if (ScrollBy(delta.x(), delta.y()))
            panAnchor_ = device;
        break;
    }
    default: lastMouse_ = device; break;
    }
}

void CLabelsView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        if (rightPressed_ && document_) {
            if (FrameTool* tool = document_->ToolOfKind(document_->GetCurrentToolIndex()))
                tool->RightButtonUp(ToLogical(event->position().toPoint()));
        }
        rightPressed_ = false;
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    leftDown_ = false;
    if (captureMode_ == kCaptureNone)
        return;
    if (captureMode_ == kCaptureSetOrigin) {
        DrawCrosshair(lastMouse_);
        const QPoint screen = event->globalPosition().toPoint();
        RulerSettings settings;
        if (rulers_[0]) {
            settings.origin = screen.x();
            rulers_[0]->SetSettings(CRuler::kSetOrigin, settings, true);
        }
        if (rulers_[1]) {
            settings.origin = screen.y();
            rulers_[1]->SetSettings(CRuler::kSetOrigin, settings, true);
        }
    }
    lastMouse_ = QPoint(-1, -1);
    releaseMouse();
    captureMode_ = kCaptureNone;
}

void CLabelsView::keyPressEvent(QKeyEvent* event)
{
    if (!document_ || CTracker::Active()) {
        SurfaceWidget::keyPressEvent(event);
        return;
    }
    int32_t leftOut = 0;
    for (const KeyEvent& key : KeyEventsFromQt(*event, &leftOut))
        document_->KeyDown(key);
    if (document_->GetCurrentToolIndex() == kToolText) {
        if (!leftOutNote_)
            leftOutNote_ = new TypedLeftOutNote(this);
        leftOutNote_->KeyPressed(leftOut);
    }
}

bool CLabelsView::focusNextPrevChild(bool /*next*/) { return false; }

// ---- commands ----

bool CLabelsView::OnCommand(uint32_t id)
{
    if (id < kCmdFirstZoom || id > kCmdLastZoom)
        return false;
    if (document_)
        document_->SetZoomMode(int16_t(id - kCmdFirstZoom), true);
    return true;
}

bool CLabelsView::OnUpdateCommand(CmdUI& ui)
{
    if (ui.id < kCmdFirstZoom || ui.id > kCmdLastZoom)
        return false;
    int16_t n = 1, d = 1, mode = -1;
    if (document_ && document_->PageManager())
        document_->PageManager()->GetZoom(&n, &d, &mode);
    ui.Enable(document_ != nullptr);
    ui.SetCheck(mode == int16_t(ui.id - kCmdFirstZoom));
    return true;
}

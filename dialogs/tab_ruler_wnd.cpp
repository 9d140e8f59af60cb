#include "dialogs/tab_ruler_wnd.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QMouseEvent>
#include <QPainter>

#include "dialogs/object_dialog_kit.h"
#include "foundation/units.h"
#include "frames/tab_stops.h"
#include "platform/dc.h"
#include "resources/artwork_resources.h"

namespace {

// The marker bitmaps' size.
constexpr int kMarkerWidth = 9;
constexpr int kMarkerHeight = 8;
constexpr int32_t kScaleLine = 20;
constexpr int32_t kTabRow = 22;
constexpr int32_t kFirstLineRow = 30;
constexpr int32_t kMarginRow = 38;
constexpr int32_t kRulerHeight = 48;
constexpr int16_t kTabClearance = 6;
constexpr int32_t kTabNear = 3;

}  // namespace

QImage TabMarkerBitmap(int32_t id)
{
    const QImage bitmap = LoadResourceBitmap(id);
    return bitmap.isNull() ? bitmap : bitmap.convertToFormat(QImage::Format_RGB32);
}

int32_t TabMarkerBitmapId(int32_t marker, uint8_t alignment)
{
    switch (marker) {
    case kMarkerRightMargin: return 26043;
    case kMarkerFirstLine: return 26044;
    case kMarkerLeftMargin: return 26045;
    default: break;
    }
    switch (alignment) {
    case kTabCentre: return 26047;
    case kTabRight: return 26048;
    default: return 26046;
    }
}

CTabRulerWnd::CTabRulerWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabRuler"));
    setFixedHeight(kRulerHeight);
    setMinimumWidth(360);
}

void CTabRulerWnd::SetData(int32_t units, uint8_t* record, TabEntry* current, int32_t* sharedMarker)
{
    units_ = units;
    record_ = record;
    current_ = current;
    shared_ = sharedMarker;
    update();
}

void CTabRulerWnd::SetSelected(int32_t marker)
{
    selected_ = marker;
    if (shared_)
        *shared_ = marker;
    update();
}

int16_t CTabRulerWnd::PositionOf(int32_t marker) const
{
    TabStops tabs(record_);
    switch (marker) {
    case kMarkerRightMargin: return tabs.GetRightMargin();
    case kMarkerFirstLine: return tabs.GetFirstLine();
    case kMarkerLeftMargin: return tabs.GetLeftMargin();
    default: return marker >= 0 && marker < kTabEntries ? tabs.GetPosition(marker) : int16_t(-1);
    }
}

void CTabRulerWnd::SetPosition(int32_t marker, int16_t position)
{
    TabStops tabs(record_);
    switch (marker) {
    case kMarkerRightMargin: tabs.SetRightMargin(position); break;
    case kMarkerFirstLine: tabs.SetFirstLine(position); break;
    case kMarkerLeftMargin: tabs.SetLeftMargin(position); break;
    default:
        if (marker >= 0 && marker < kTabEntries)
            tabs.SetPosition(marker, position);
        break;
    }
}

int16_t CTabRulerWnd::Clamp(int32_t marker, int32_t position) const
{
    if (!record_)
        return int16_t(position);
    TabStops tabs(record_);
    const int32_t left = tabs.GetLeftMargin();
    const int32_t right = tabs.GetRightMargin();
    int32_t lo = 0;
    int32_t hi = 0;
    switch (marker) {
    case kMarkerRightMargin:
        lo = left;
        hi = tabs.GetMaxWidth();
        break;
    case kMarkerFirstLine:
        lo = left;
        hi = right;
        break;
    case kMarkerLeftMargin:
        lo = 0;
        hi = right;
        break;
    default:
        lo = left + kTabClearance;
        hi = right - kTabClearance;
        break;
    }
    // Limits that cross (a record with margins out of order) give way to
    // the lower one rather than leave the marker nowhere.
    return int16_t(std::clamp(position, lo, std::max(lo, hi)));
}

QRect CTabRulerWnd::MarkerRect(int32_t marker) const
{
    if (!record_)
        return {};
    const int32_t pos = PositionOf(marker);
    if (pos < 0 && marker >= 0)
        return {};
    const int32_t w = kMarkerWidth;
    int32_t x = 0;
    int32_t y = kTabRow;
    switch (marker) {
    case kMarkerRightMargin:
        x = kInset + pos - (w - 1);
        y = kMarginRow;
        break;
    case kMarkerFirstLine:
        x = kInset + pos - 1;
        y = kFirstLineRow;
        break;
    case kMarkerLeftMargin:
        x = kInset + pos - 1;
        y = kMarginRow;
        break;
    default: x = kInset + pos - (w - 1) / 2; break;
    }
    return QRect(x - scroll_, y, w, kMarkerHeight);
}

void CTabRulerWnd::DrawScale(Dc* dc, const IntRect& c) const
{
    const double factor = UnitFactorPoints(units_);
    // A labelled mark every unit, or every 36 points and 3 picas where
    // one unit is too narrow to carry a number.
    double major = factor;
    if (units_ == kUnitPoints)
        major = 36.0;
    else if (units_ == kUnitPicas)
        major = 36.0;
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    dc->moveTo(c.left, kScaleLine);
    dc->lineTo(c.right, kScaleLine);
    LogFont font;
    font.height = -9;
    font.weight = FW_NORMAL;
    font.charSet = 1;
    font.outPrecision = 6;
    font.quality = 2;
    font.pitchAndFamily = 0x22;
    std::strcpy(font.faceName, "Small Fonts");
    const LogFont oldFont = dc->selectFont(font);
    const uint32_t oldAlign = dc->setTextAlign(TA_CENTER | TA_BASELINE);
    const int32_t oldMode = dc->setBkMode(TRANSPARENT);
    const int32_t first = int32_t(std::floor((scroll_ - kInset) / (major / 2)));
    const int32_t last = int32_t(std::ceil((scroll_ + c.right) / (major / 2)));
    for (int32_t k = first; k <= last; ++k) {
        const int32_t x = int32_t(std::lround(k * major / 2)) + kInset - scroll_;
        const bool labelled = k % 2 == 0;
        dc->moveTo(x, kScaleLine);
        dc->lineTo(x, kScaleLine - (labelled ? 6 : 3));
        if (labelled) {
            const double value = k / 2 * major / factor;
            dc->textOut(x, kScaleLine - 8, QString::number(value, 'g', 4).toStdString());
        }
    }
    dc->setBkMode(oldMode);
    dc->setTextAlign(oldAlign);
    dc->selectFont(oldFont);
    dc->selectPen(oldPen);
}

void CTabRulerWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintWithDc(&painter, rect(), [this](Dc* dc, const IntRect& c) {
        dc->fillRect(c, Brush::Solid(PaletteColour(this, QPalette::Base)));
        DrawScale(dc, c);
        if (!record_)
            return;
        TabStops tabs(record_);
        const auto draw = [&](int32_t marker, uint8_t alignment) {
            const QRect r = MarkerRect(marker);
            if (r.isEmpty())
                return;
            // Drawing a marker inverted shows it selected; the other
            // markers keep the ruler's colours.
            dc->stretchImage(IntRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()},
                             TabMarkerBitmap(TabMarkerBitmapId(marker, alignment)), QRect(),
                             marker == selected_ ? SRCINVERT : 0x00990066u);
        };
        draw(kMarkerRightMargin, 0);
        draw(kMarkerFirstLine, 0);
        draw(kMarkerLeftMargin, 0);
        const int used = tabs.UsedCount();
        for (int i = 0; i < used; ++i)
            draw(i, tabs.GetAlignment(i));
    });
}

void CTabRulerWnd::ApplyCurrent(int32_t mode)
{
    if (!record_ || !current_ || selected_ == kMarkerNone)
        return;
    TabStops tabs(record_);
    if (selected_ < 0) {
        if (mode != kApplyPosition)
            return;
        const int16_t old = PositionOf(selected_);
        const int16_t now = Clamp(selected_, current_->position);
        SetPosition(selected_, now);
        if (selected_ == kMarkerLeftMargin)
            tabs.SetFirstLine(Clamp(kMarkerFirstLine, tabs.GetFirstLine() + (now - old)));
    } else if (mode == kApplyDelete) {
        tabs.SetPosition(selected_, -1);
        tabs.Compact();
        SetSelected(kMarkerNone);
    } else {
        tabs.SetAlignment(selected_, current_->alignment);
        if (mode == kApplyPosition)
            tabs.SetPosition(selected_, Clamp(selected_, current_->position));
    }
    update();
}

bool CTabRulerWnd::AddTab()
{
    if (!record_ || !current_)
        return false;
    TabStops tabs(record_);
    const int used = tabs.UsedCount();
    const int16_t position = Clamp(0, current_->position);
    for (int i = 0; i < used; ++i)
        if (std::abs(tabs.GetPosition(i) - position) <= kTabNear)
            return false;
    if (used >= kTabEntries)
        return false;
    tabs.SetPosition(used, position);
    tabs.SetAlignment(used, current_->alignment);
    update();
    return true;
}

void CTabRulerWnd::Scroll(int32_t direction)
{
    if (!record_)
        return;
    if (direction < 0) {
        if (scroll_ < 1)
            return;
        scroll_ = std::max(0, scroll_ - kScrollStep);
    } else {
        const int32_t limit = TabStops(record_).GetMaxWidth() + kInset;
        if (scroll_ + width() >= limit)
            return;
        scroll_ += kScrollStep;
    }
    update();
}

int32_t CTabRulerWnd::HitTest(QPoint p) const
{
    for (int32_t marker : {kMarkerRightMargin, kMarkerFirstLine, kMarkerLeftMargin})
        if (MarkerRect(marker).contains(p))
            return marker;
    const int used = TabStops(record_).UsedCount();
    for (int i = 0; i < used; ++i)
        if (MarkerRect(i).contains(p))
            return i;
    return kMarkerNone;
}

int16_t CTabRulerWnd::PointerPosition(QPoint p) const
{
    return Clamp(selected_, p.x() + scroll_ - kInset + grabOffset_);
}

void CTabRulerWnd::mousePressEvent(QMouseEvent* event)
{
    if (!record_ || !current_ || event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    TabStops tabs(record_);
    const int32_t hit = HitTest(p);
    if (hit != kMarkerNone) {
        SetSelected(hit);
        current_->position = PositionOf(hit);
        current_->alignment = hit >= 0 ? tabs.GetAlignment(hit) : 0;
        grabOffset_ = current_->position - (p.x() + scroll_ - kInset);
        dragging_ = true;
        Q_EMIT PreviewChangedData();
        return;
    }
    const int used = tabs.UsedCount();
    if (used >= kTabEntries)
        return;
    SetSelected(kMarkerNone);
    tabs.SetPosition(used, Clamp(0, p.x() + scroll_ - kInset));
    tabs.SetAlignment(used, current_->alignment);
    tabs.SetDefined(1);
    update();
}

void CTabRulerWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_ || !current_)
        return;
    const QPoint p = event->position().toPoint();
    int16_t position = 0;
    if (Outside(p) && selected_ >= 0) {
        position = -1;
    } else {
        position = PointerPosition(p);
        // A marker dragged past either edge scrolls the ruler a step.
        const QRect r = MarkerRect(selected_);
        if (p.x() < 0 && position >= 0 && scroll_ >= 1) {
            Scroll(-1);
            position = PointerPosition(p);
        } else if (p.x() >= width() && position <= TabStops(record_).GetMaxWidth() && r.right() >= width()) {
            Scroll(1);
            position = PointerPosition(p);
        }
    }
    current_->position = position;
    if (selected_ >= 0)
        TabStops(record_).SetPosition(selected_, position);
    else
        ApplyCurrent(kApplyPosition);
    update();
    if (!Outside(p))
        Q_EMIT PreviewChangedData();
}

void CTabRulerWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_ || !current_)
        return;
    dragging_ = false;
    const QPoint p = event->position().toPoint();
    TabStops tabs(record_);
    if (Outside(p) && selected_ >= 0) {
        tabs.SetPosition(selected_, -1);
        tabs.Compact();
        SetSelected(kMarkerNone);
        tabs.SetDefined(tabs.AnyUsed());
    } else {
        current_->position = PointerPosition(p);
        ApplyCurrent(kApplyPosition);
        Q_EMIT PreviewChangedData();
    }
    grabOffset_ = 0;
    update();
}

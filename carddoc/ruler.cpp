#include "carddoc/ruler.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "carddoc/labels_view.h"
#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "foundation/units.h"
#include "graphics/shape_helpers.h"
#include "platform/dc.h"

namespace {

// The system's button face, the ruler's background.
constexpr ColorRef kButtonFace = 0xC0C0C0;
// Tick lengths are one more than the table's.
constexpr int32_t kNumbered = 0x100;
// A scale never draws more ticks than any window could show.
constexpr double kMaxTicks = 100000;

// The table's length for tick k of the cycle, with kNumbered where the
// number is drawn.
int32_t TickLength(int16_t unit, int32_t zoom, int32_t k)
{
    switch (unit) {
    case kUnitInches: {
        const int32_t base = zoom <= 50 ? 0 : 2;
        if (k == 0)
            return base + (5 | kNumbered);
        if (k == 16)
            return base + (zoom <= 100 ? (5 | kNumbered) : 4);
        if (k == 8 || k == 24)
            return base + 4;
        if (k % 4 == 0)
            return base + 3;
        return base + (k % 2 == 0 ? 2 : 0);
    }
    case kUnitCentimeters:
        if (k == 0)
            return 5 | kNumbered;
        return k == 5 ? 4 : 2;
    case kUnitPicas:
        if (k == 0)
            return 5 | kNumbered;
        if (k == 9)
            return zoom <= 100 ? (5 | kNumbered) : 4;
        if (k == 3 || k == 6 || k == 12 || k == 15)
            return 4;
        return 2;
    default:
        if (k == 0)
            return 5 | kNumbered;
        if (k == 5 || k == 15)
            return zoom >= 50 ? (5 | kNumbered) : 4;
        if (k == 10)
            return zoom > 20 && zoom < 25 ? 4 : (5 | kNumbered);
        return 2;
    }
}

// Tick step in logical units and the cycle of tick lengths.
void StepAndCycle(int16_t unit, int32_t zoom, double* step, int32_t* cycle)
{
    const double s = zoom / 100.0 * UnitEntryFor(unit).pointsPerUnit;
    switch (unit) {
    case kUnitInches:
        *step = zoom > 100 ? s / 32 : zoom > 25 ? s / 16 : s / 8;
        *cycle = 32;
        break;
    case kUnitCentimeters:
        *step = zoom >= 100 ? s / 10 : zoom > 35 ? s / 5 : s;
        *cycle = 10;
        break;
    case kUnitPicas:
        *step = zoom > 100 ? s / 3 : zoom >= 50 ? s : zoom >= 17 ? 3 * s : zoom >= 9 ? 6 * s : 9 * s;
        *cycle = 18;
        break;
    default: {
        const int32_t times = zoom <= 15 ? 8 : zoom <= 20 ? 4 : zoom < 100 ? 2 : 1;
        *step = 5 * s * times;
        *cycle = 20;
        break;
    }
    }
}

}  // namespace

void EncodeRulerSettings(const RulerSettings& settings, uint8_t* out)
{
    PutF64LE(out, settings.origin);
    PutI16LE(out + 8, settings.unit);
    PutI16LE(out + 10, settings.zoom);
}

void DecodeRulerSettings(const uint8_t* in, RulerSettings* settings)
{
    settings->origin = GetF64LE(in);
    settings->unit = GetI16LE(in + 8);
    settings->zoom = GetI16LE(in + 10);
}

CRuler::CRuler(int32_t orientation, QWidget* parent, const RulerSettings& settings, const LogFont& font)
    : SurfaceWidget(parent), orientation_(orientation), settings_(settings), font_(font)
{
    setObjectName(orientation == kHorizontal ? "HorizontalRuler" : "VerticalRuler");
    setMouseTracking(true);
    if (settings_.zoom <= 0)
        settings_.zoom = 100;
}

void CRuler::SetViewOrigin(const QPoint& screen)
{
    const QPoint own = mapToGlobal(QPoint(0, 0));
    viewOffset_ = orientation_ == kHorizontal ? own.x() - screen.x() : own.y() - screen.y();
}

void CRuler::SetScrollPos(int32_t position)
{
    if (orientation_ == kHorizontal)
        scrollX_ = position;
    else
        scrollY_ = position;
    Redraw();
}

void CRuler::SetSettings(uint32_t flags, const RulerSettings& settings, bool repaint)
{
    // The zoom first: an origin in the same call is measured with it.
    if ((flags & kSetZoom) && settings.zoom > 0)
        settings_.zoom = settings.zoom;
    if (flags & kSetOrigin) {
        const int32_t logical = ToClient(TruncToInt32(settings.origin)) + viewOffset_ + ScrollPos();
        settings_.origin = double(logical) * 100.0 / settings_.zoom - CardCorner();
    }
    if (flags & kSetUnit)
        settings_.unit = settings.unit;
    if (repaint)
        Redraw();
}

void CRuler::SetSettingsRecord(const RulerSettings& settings)
{
    settings_.origin = std::isfinite(settings.origin) ? settings.origin : 0;
    settings_.unit = settings.unit >= 0 && settings.unit < kUnitCount ? settings.unit : 0;
    if (settings.zoom > 0)
        settings_.zoom = settings.zoom;
    Redraw();
}

double CRuler::CardCorner() const
{
    if (!view_)
        return 0;
    const IntPoint corner = view_->CardCorner();
    return orientation_ == kHorizontal ? corner.x : corner.y;
}

double CRuler::Zero() const { return CardCorner() + settings_.origin; }

int32_t CRuler::ToClient(int32_t screen) const
{
    if (screen == -1)
        return -1;
    const QPoint own = mapToGlobal(QPoint(0, 0));
    return screen - (orientation_ == kHorizontal ? own.x() : own.y());
}

void CRuler::SetMouseMarks(int32_t first, int32_t second)
{
    Dc* dc = SurfaceDc();
    for (int32_t& mark : marks_) {
        if (mark != -1)
            DrawMark(dc, mark);
    }
    marks_[0] = ToClient(first);
    marks_[1] = ToClient(second);
    for (int32_t mark : marks_) {
        if (mark != -1)
            DrawMark(dc, mark);
    }
}

void CRuler::DrawMark(Dc* dc, int32_t position)
{
    if (orientation_ == kHorizontal)
        DrawXorLine(dc, position, kept_.top, position, kept_.bottom);
    else
        DrawXorLine(dc, kept_.left, position, kept_.right, position);
}

void CRuler::PrepareDC(Dc* dc) const
{
    dc->setMapMode(MM_TEXT);
    if (orientation_ == kHorizontal)
        dc->setViewportOrg(-viewOffset_, 0);
    else
        dc->setViewportOrg(0, -viewOffset_);
    dc->setWindowOrg(scrollX_, scrollY_);
}

void CRuler::SurfaceResized() { Redraw(); }

void CRuler::Redraw()
{
    Dc* dc = SurfaceDc();
    if (!dc)
        return;
    dc->fillRect(IntRect{0, 0, width(), height()}, Brush::Solid(kButtonFace));
    DrawRuler();
}

void CRuler::DrawRuler()
{
    Dc* dc = SurfaceDc();
    const int32_t saved = dc->saveDc();
    PrepareDC(dc);
    dc->selectFont(font_);
    dc->setBkMode(TRANSPARENT);
    dc->setTextColor(kBlack);
    dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    const int32_t origin = TruncToInt32(settings_.zoom / 100.0 * Zero());
    IntPoint corners[2] = {{0, 0}, {width(), height()}};
    dc->dpToLp(corners, 2);
    const IntRect logical{corners[0].x, corners[0].y, corners[1].x, corners[1].y};

    ScaleRecord record;
    record.dc = dc;
    record.rect = logical;
    record.orientation = uint8_t(orientation_);
    record.unit = settings_.unit;
    record.zoom = settings_.zoom;
    record.origin = origin;
    dc->setTextAlign(orientation_ == kHorizontal ? TA_BASELINE | TA_CENTER : TA_RIGHT | TA_TOP);
    const int32_t start = orientation_ == kHorizontal ? logical.left : logical.top;
    const int32_t length = orientation_ == kHorizontal ? logical.right - logical.left : logical.bottom - logical.top;
    if (start < origin && origin < start + length) {
        record.from = origin;
        record.to = start;
        DrawScale(record);
        record.to = start + length;
        DrawScale(record);
    } else if (origin <= start) {
        record.from = start;
        record.to = start + length;
        DrawScale(record);
    } else {
        record.from = start + length;
        record.to = start;
        DrawScale(record);
    }
    dc->restoreDc(saved);

    // The marks were painted over: the pointer's is shown again, the
    // second goes.
    kept_ = IntRect{0, 0, width(), height()};
    marks_[1] = -1;
    if (marks_[0] != -1)
        DrawMark(dc, marks_[0]);
}

void CRuler::DrawScale(const ScaleRecord& r)
{
    if (!r.dc || r.zoom <= 0)
        return;
    double step = 0;
    int32_t cycle = 1;
    StepAndCycle(r.unit, r.zoom, &step, &cycle);
    if (!(step > 0) || std::fabs(r.from - r.to) / step > kMaxTicks)
        return;
    const double ppu = UnitEntryFor(r.unit).pointsPerUnit;
    const double direction = r.from < r.to ? 1 : -1;
    const int64_t count = int64_t(std::fabs(r.from - r.to) / step) + 1;
    const int64_t first = int64_t(std::fabs(r.from - r.origin) / step) % cycle;
    double position = r.from - direction * std::fmod(std::fabs(r.origin - r.from), step);
    for (int64_t i = 0; i <= count; ++i) {
        const int32_t k = int32_t((i + first) % cycle);
        const int32_t entry = TickLength(r.unit, r.zoom, k);
        const int32_t length = (entry & ~kNumbered) + 1;
        if (entry & kNumbered)
            DrawNumber(r, position, ppu);
        const int32_t at = TruncToInt32(position);
        if (r.orientation == kHorizontal) {
            r.dc->moveTo(at, r.rect.bottom);
            r.dc->lineTo(at, r.rect.bottom - length);
        } else {
            r.dc->moveTo(r.rect.right, at);
            r.dc->lineTo(r.rect.right - length, at);
        }
        position += direction * step;
    }
}

void CRuler::DrawNumber(const ScaleRecord& r, double position, double pointsPerUnit)
{
    const int32_t value =
        TruncToInt32(std::fabs(position - r.origin) * 100.0 / (r.zoom * pointsPerUnit) + 0.0001);
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    const int32_t at = TruncToInt32(position);
    if (r.orientation == kHorizontal) {
        r.dc->textOut(at, r.rect.bottom - 8, text);
    } else {
        const int32_t height = r.dc->getTextExtent(text).height;
        r.dc->textOut(r.rect.right - 9, at - height / 2, text);
    }
}

void CRuler::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    SetMouseMarks(orientation_ == kHorizontal ? global.x() : global.y(), -1);
    QWidget::mouseMoveEvent(event);
}

void CRuler::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && view_) {
        const QPoint client = view_->mapFromGlobal(event->globalPosition().toPoint());
        view_->OnSetGuideMessage(client, orientation_);
    }
    QWidget::mousePressEvent(event);
}

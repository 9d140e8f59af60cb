#include "dbdoc/brs_list_box.h"

#include <algorithm>
#include <vector>

#include <QFocusEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTimer>
#include <QWheelEvent>

#include "database/data_file.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "dbdoc/cdb_document.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/dates.h"
#include "foundation/held_alerts.h"

namespace {

// Records kept preloaded around the visible rows, and how far the window
// moves when the rows leave it.
constexpr int32_t kCacheRows = 54;
constexpr int32_t kCacheShift = 28;
constexpr int32_t kTextIndent = 4;
// The pointer this far beyond the edge scrolls fast.
constexpr int32_t kFastScrollDistance = 30;

}  // namespace

CBrsListBox::CBrsListBox(QWidget* parent) : QWidget(parent)
{
    setObjectName("BrsListBox");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    bar_ = new QScrollBar(Qt::Vertical, this);
    bar_->setRange(0, 0);
    connect(bar_, &QScrollBar::actionTriggered, this, [this](int action) {
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub: Scroll(kLineUp); break;
        case QAbstractSlider::SliderSingleStepAdd: Scroll(kLineDown); break;
        case QAbstractSlider::SliderPageStepSub: Scroll(kPageUp); break;
        case QAbstractSlider::SliderPageStepAdd: Scroll(kPageDown); break;
        case QAbstractSlider::SliderToMinimum: Scroll(kTop); break;
        case QAbstractSlider::SliderToMaximum: Scroll(kBottom); break;
        case QAbstractSlider::SliderMove: Scroll(kThumb, bar_->sliderPosition()); break;
        default: break;
        }
        // The list decides where the bar stands.
        bar_->setSliderPosition(std::max(top_, 0));
    });
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { AutoScrollTick(); });
}

CBrsListBox::~CBrsListBox() = default;

void CBrsListBox::SetDocument(CDBDocument* document)
{
    document_ = document;
    data_ = document && document->IsOpen() ? &document->Data() : nullptr;
    cacheFirst_ = cacheLast_ = -1;
}

void CBrsListBox::Initialise(int32_t rowCount, bool tabStop)
{
    font_ = font();
    const QFontMetrics metrics(font_);
    rowHeight_ = std::max(1, metrics.height() + 2);
    top_ = 0;
    rowCount_ = std::max(rowCount, 0);
    tabStop_ = tabStop;
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
    initialised_ = true;
    Layout();
    if (rowCount_ > 0)
        selected_ = 0;
    update();
}

QRect CBrsListBox::ListArea() const
{
    QRect area = rect().adjusted(1, 1, -1, -1);
    area.setRight(area.right() - bar_->width());
    return area;
}

void CBrsListBox::Layout()
{
    const QRect outer = rect();
    const int32_t barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bar_->setGeometry(outer.right() - barWidth, outer.top() + 1, barWidth, std::max(0, outer.height() - 2));
    const int32_t height = ListArea().height();
    visible_ = std::max(0, height / rowHeight_);
    partial_ = height % rowHeight_ != 0;
    if (partial_)
        ++visible_;
    UpdateScrollBar();
}

void CBrsListBox::UpdateScrollBar()
{
    // Whole rows only count for the page: a cut-off last row is not a row
    // the user can read.
    const int32_t page = std::max(1, visible_ - (partial_ ? 1 : 0));
    bar_->setPageStep(page);
    bar_->setRange(0, std::max(0, rowCount_ - page));
    bar_->setSliderPosition(std::max(top_, 0));
}

int32_t CBrsListBox::RowFromPoint(int32_t, int32_t y) const
{
    const QRect area = ListArea();
    if (y < area.top())
        return top_;
    if (y > area.bottom())
        return std::min(top_ + visible_ - 1, rowCount_ - 1);
    return (y - area.top()) / rowHeight_ + top_;
}

QRect CBrsListBox::RowRect(int32_t row) const
{
    const QRect area = ListArea();
    const int32_t y = area.top() + (row - top_) * rowHeight_;
    return QRect(area.left(), y, area.width(), std::min(rowHeight_, area.bottom() + 1 - y));
}

bool CBrsListBox::GetRowRect(int32_t row, QRect* rect) const
{
    if (row < top_ || row > top_ + visible_ - 1 || row >= rowCount_)
        return false;
    *rect = RowRect(row);
    return true;
}

void CBrsListBox::SetRowCount(int32_t count, bool repaint)
{
    rowCount_ = std::max(count, 0);
    const int32_t page = std::max(1, visible_ - (partial_ ? 1 : 0));
    if (rowCount_ >= page)
        top_ = std::min(std::max(top_, 0), rowCount_ - page);
    else
        top_ = 0;
    if (selected_ > rowCount_ - 1)
        selected_ = -1;
    cacheFirst_ = cacheLast_ = -1;
    UpdateScrollBar();
    if (repaint)
        update();
}

int32_t CBrsListBox::SetSelection(int32_t row)
{
    if (row == selected_)
        return row;
    const int32_t previous = selected_;
    int32_t target = std::clamp(row, 0, rowCount_ - 1);
    const bool clamped = target != row;
    if (rowCount_ <= 0)
        target = -1;
    selected_ = target;
    if (previous >= 0)
        PaintRow(previous);
    if (selected_ >= 0)
        PaintRow(selected_);
    return clamped ? -2 : previous;
}

void CBrsListBox::EnsureVisible(int32_t row)
{
    const int32_t page = std::max(1, visible_ - (partial_ ? 1 : 0));
    if (rowCount_ <= page || row < 0)
        return;
    if (row < top_)
        SetTop(row);
    else if (row > top_ + page - 1)
        SetTop(std::max(row - page + 1, 0));
}

void CBrsListBox::SetTop(int32_t top)
{
    if (top == top_)
        return;
    top_ = top;
    bar_->setSliderPosition(top_);
    update();
}

void CBrsListBox::Scroll(ScrollCode code, int32_t position)
{
    const int32_t page = std::max(1, visible_ - (partial_ ? 1 : 0));
    const int32_t last = std::max(rowCount_ - page, 0);
    int32_t top = top_;
    switch (code) {
    case kLineUp: top = std::max(top_ - 1, 0); break;
    case kLineDown: top = std::min(top_ + 1, last); break;
    case kPageUp: top = std::max(top_ + 1 - page, 0); break;
    case kPageDown: top = top_ + 2 * page - 2 <= rowCount_ - 1 ? top_ + page - 1 : last; break;
    case kThumb: top = std::clamp(position, 0, last); break;
    case kTop: top = 0; break;
    case kBottom: top = last; break;
    }
    SetTop(std::max(top, 0));
}

void CBrsListBox::PrimeCache()
{
    if (!data_ || rowCount_ <= kRecordCacheSlots)
        return;
    if (top_ >= cacheFirst_ && top_ + visible_ <= cacheLast_)
        return;
    int32_t first = top_ < cacheFirst_ ? top_ - kCacheShift : top_ + visible_ - kCacheShift;
    first = std::max(first, 0);
    cacheFirst_ = first;
    cacheLast_ = std::min(first + kCacheRows - 1, rowCount_);
    data_->PrefetchRange(cacheFirst_, cacheLast_);
}

void CBrsListBox::paintEvent(QPaintEvent*)
{
    // The rows are read before anything is drawn: a record found damaged
    // has its say once the paint is over.
    const std::vector<QString> texts = ReadVisibleRows();
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Base));
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(font_);
    for (int32_t i = 0; i < int32_t(texts.size()); ++i) {
        const int32_t row = top_ + i;
        const QRect r = RowRect(row);
        const bool selected = row == selected_;
        painter.fillRect(r, colours.color(selected ? QPalette::Highlight : QPalette::Base));
        if (selected && hasFocus()) {
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = r;
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
        painter.setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(r.adjusted(kTextIndent, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                         texts[size_t(i)]);
    }
}

std::vector<QString> CBrsListBox::ReadVisibleRows()
{
    // A damaged database is not read again until it was repaired, nor the
    // rows while a pass builds the order anew.
    if (!document_ || !data_ || !data_->IsOpen() || GetU32LE(document_->Header() + dbh::kDataMark) != 0 ||
        data_->DataMark() || data_->Rebuilding())
        return {};
    std::vector<QString> texts;
    std::vector<HeldAlerts::Box> said;
    {
        HeldAlerts held;
        PrimeCache();
        const int32_t browseField = GetU16LE(document_->Header() + dbh::kBrowseFieldId);
        const int32_t n = std::min(visible_, rowCount_ - top_);
        // Reading rows moves the engine; the record being edited must stay
        // where it stands.
        data_->SwapScratch(false);
        for (int32_t i = 0; i < n && !data_->DataMark(); ++i)
            texts.push_back(ReadRowText(top_ + i, browseField));
        data_->SwapScratch(true);
        said = held.Take();
    }
    if (data_->DataMark())
        texts.clear();
    if (!said.empty() || data_->DataMark()) {
        QTimer::singleShot(0, this, [this, said] {
            ShowHeld(said);
            if (document_)
                document_->AfterDamageFound();
        });
    }
    return texts;
}

QString CBrsListBox::ReadRowText(int32_t row, int32_t browseField)
{
    char text[256] = {};
    if (data_->GotoRecord(row, false, false) >= 0) {
        data_->Current().GetFieldText(browseField, text);
        if (browseField == kFieldDate)
            FormatStoredDate(text, data_->DateStyle());
    }
    return Cp1252ToQString(text);
}

QString CBrsListBox::RowText(int32_t row)
{
    if (!document_ || !data_ || !data_->IsOpen() || data_->Rebuilding() || row < 0 || row >= rowCount_)
        return {};
    PrimeCache();
    data_->SwapScratch(false);
    const QString text = ReadRowText(row, GetU16LE(document_->Header() + dbh::kBrowseFieldId));
    data_->SwapScratch(true);
    return text;
}

void CBrsListBox::resizeEvent(QResizeEvent*)
{
    Layout();
    if (initialised_)
        SetRowCount(rowCount_, true);
}

void CBrsListBox::Notify()
{
    if (selChange_)
        selChange_(selected_);
}

void CBrsListBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !ListArea().contains(event->position().toPoint()))
        return;
    if (tabStop_)
        setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    const QPoint p = event->position().toPoint();
    if (rowCount_ > 0)
        SetSelection(RowFromPoint(p.x(), p.y()));
    Notify();
}

void CBrsListBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const QPoint p = event->position().toPoint();
    const int32_t before = selected_;
    if (rowCount_ > 0)
        SetSelection(RowFromPoint(p.x(), p.y()));
    if (selected_ != before)
        Notify();
    StopTimer();
    const QRect area = ListArea();
    if (p.y() < area.top())
        StartTimer(true, area.top() - p.y() > kFastScrollDistance ? 5 : 40);
    else if (p.y() > area.bottom())
        StartTimer(false, p.y() - area.bottom() > kFastScrollDistance ? 5 : 40);
}

void CBrsListBox::mouseReleaseEvent(QMouseEvent*)
{
    dragging_ = false;
    StopTimer();
}

void CBrsListBox::wheelEvent(QWheelEvent* event)
{
    const int32_t steps = event->angleDelta().y() / 40;
    for (int32_t i = 0; i < std::abs(steps); ++i)
        Scroll(steps > 0 ? kLineUp : kLineDown);
    event->accept();
}

void CBrsListBox::StartTimer(bool up, int32_t interval)
{
    scrollUp_ = up;
    timerInterval_ = interval;
    timer_->start(interval);
}

void CBrsListBox::StopTimer()
{
    timer_->stop();
    timerInterval_ = 0;
}

void CBrsListBox::AutoScrollTick()
{
    if (rowCount_ <= 0) {
        StopTimer();
        return;
    }
    const int32_t page = std::max(1, visible_ - (partial_ ? 1 : 0));
    const int32_t old = selected_;
    if (scrollUp_) {
        const int32_t next = std::max(top_ - 1, 0);
        if (next == old) {
            if (top_ == 0)
                StopTimer();
            return;
        }
        SetTop(next);
        SetSelection(next);
        Notify();
        return;
    }
    const int32_t next = top_ + page <= rowCount_ - 1 ? top_ + page : rowCount_ - 1;
    if (next == old && top_ + page >= rowCount_) {
        StopTimer();
        return;
    }
    SetTop(std::min(top_ + 1, std::max(rowCount_ - page, 0)));
    SetSelection(next);
    Notify();
}

void CBrsListBox::focusInEvent(QFocusEvent*)
{
    if (selected_ >= 0)
        PaintRow(selected_);
}

void CBrsListBox::focusOutEvent(QFocusEvent*)
{
    if (selected_ >= 0)
        PaintRow(selected_);
}

void CBrsListBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange && initialised_) {
        font_ = font();
        rowHeight_ = std::max(1, QFontMetrics(font_).height() + 2);
        Layout();
        update();
    }
    QWidget::changeEvent(event);
}

QSize CBrsListBox::sizeHint() const
{
    return QSize(180, 20 * rowHeight_ + 2);
}

#include "app/child_frame.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/shell_document.h"
#include "app/tool_bar_draw_tools.h"

namespace {

// The client of the frame: the frame lays its parts out whenever its size
// changes.
class ChildClient : public QWidget {
public:
    explicit ChildClient(CChildFrame* frame) : frame_(frame) {}

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        frame_->RecalcLayout();
    }

private:
    CChildFrame* frame_;
};

QWidget* MakeBand(QWidget* parent, const char* name)
{
    auto* band = new QFrame(parent);
    band->setObjectName(name);
    band->setFrameStyle(QFrame::Panel | QFrame::Raised);
    band->setAutoFillBackground(true);
    return band;
}

bool Needed(const ScrollInfo& info)
{
    return info.min < info.max && info.page < info.max - info.min;
}

}  // namespace

CChildFrame::CChildFrame(CMainFrame* mainFrame, ShellDocument* document) : DocumentChildFrame(mainFrame, document)
{
    setMinimumSize(kMinimumTrack, kMinimumTrack);
}

bool CChildFrame::CreateClient()
{
    client_ = new ChildClient(this);
    view_ = Document()->CreateView(0, client_);
    if (!view_)
        return false;

    bar_ = new QWidget(client_);
    bar_->setObjectName("ZoomPageBar");
    auto* row = new QHBoxLayout(bar_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    auto* zoomButton = new QToolButton(bar_);
    zoomButton->setObjectName(QString::number(kZoomButtonId));
    zoomButton->setArrowType(Qt::UpArrow);
    zoomText_ = new QLabel("100%", bar_);
    zoomText_->setObjectName(QString::number(kZoomTextId));
    zoomText_->setMinimumWidth(zoomText_->fontMetrics().horizontalAdvance("999%") + 6);
    prevPage_ = new QToolButton(bar_);
    prevPage_->setObjectName(QString::number(kPrevPageId));
    prevPage_->setArrowType(Qt::LeftArrow);
    nextPage_ = new QToolButton(bar_);
    nextPage_->setObjectName(QString::number(kNextPageId));
    nextPage_->setArrowType(Qt::RightArrow);
    pageText_ = new QLabel(bar_);
    pageText_->setObjectName(QString::number(kPageTextId));
    pageText_->setMinimumWidth(pageText_->fontMetrics().horizontalAdvance("pg. 99 of 99") + 6);
    hScroll_ = new QScrollBar(Qt::Horizontal, bar_);
    hScroll_->setObjectName(QString::number(kHScrollId));
    for (QWidget* w : std::initializer_list<QWidget*>{zoomButton, zoomText_, prevPage_, nextPage_, pageText_})
        row->addWidget(w);
    row->addWidget(hScroll_, 1);
    bar_->setFixedHeight(bar_->sizeHint().height());

    vScroll_ = new QScrollBar(Qt::Vertical, client_);
    vScroll_->setObjectName("4");
    hRuler_ = MakeBand(client_, "HorizontalRuler");
    vRuler_ = MakeBand(client_, "VerticalRuler");
    corner_ = MakeBand(client_, "RulerCorner");

    connect(vScroll_, &QScrollBar::actionTriggered, this, [this](int action) {
        Scrolled(Qt::Vertical, action, vScroll_->sliderPosition());
    });
    connect(hScroll_, &QScrollBar::actionTriggered, this, [this](int action) {
        Scrolled(Qt::Horizontal, action, hScroll_->sliderPosition());
    });
    connect(prevPage_, &QToolButton::clicked, this, [this] { MainFrame()->RouteCommand(kPrevPageId); });
    connect(nextPage_, &QToolButton::clicked, this, [this] { MainFrame()->RouteCommand(kNextPageId); });

    const ScrollInfo empty{0, 0, 1, 0};
    SetScrollBars(&empty, &empty);
    setWidget(client_);
    setWindowTitle(QString::fromStdString(Document()->Title()));
    RecalcLayout();
    return true;
}

void CChildFrame::Scrolled(Qt::Orientation orientation, int32_t action, int32_t position)
{
    if (auto* client = dynamic_cast<FrameScrollClient*>(view_))
        client->OnFrameScroll(orientation, action, position);
}

void CChildFrame::ShowZoomPercent(int32_t percent)
{
    SetZoomText(QString("%1%").arg(percent));
}

void CChildFrame::SetZoomText(const QString& text)
{
    if (zoomText_)
        zoomText_->setText(text);
}

void CChildFrame::ShowPageNumber(int32_t page, int32_t count)
{
    SetPageText(QString("pg. %1 of %2").arg(page).arg(count));
}

void CChildFrame::SetPageText(const QString& text)
{
    if (pageText_)
        pageText_->setText(text);
}

QString CChildFrame::ZoomText() const
{
    return zoomText_ ? zoomText_->text() : QString();
}

QString CChildFrame::PageText() const
{
    return pageText_ ? pageText_->text() : QString();
}

void CChildFrame::EnablePageButtons(bool front, bool back)
{
    if (prevPage_ && prevPage_->isEnabled() != front)
        prevPage_->setEnabled(front);
    if (nextPage_ && nextPage_->isEnabled() != back)
        nextPage_->setEnabled(back);
}

void CChildFrame::SetScrollBars(const ScrollInfo* horizontal, const ScrollInfo* vertical)
{
    if (horizontal && hScroll_) {
        hScroll_->setRange(horizontal->min, std::max(horizontal->min, horizontal->max - horizontal->page));
        hScroll_->setPageStep(horizontal->page);
        hScroll_->setValue(horizontal->pos);
        hScroll_->setEnabled(Needed(*horizontal));
        hScroll_->setVisible(Needed(*horizontal));
    }
    if (vertical && vScroll_) {
        vScroll_->setRange(vertical->min, std::max(vertical->min, vertical->max - vertical->page));
        vScroll_->setPageStep(vertical->page);
        vScroll_->setValue(vertical->pos);
        const bool shown = Needed(*vertical);
        if (shown != vScrollShown_) {
            vScrollShown_ = shown;
            RecalcLayout();
        }
    }
}

void CChildFrame::GetScrollBars(ScrollInfo* horizontal, ScrollInfo* vertical) const
{
    const auto read = [](const QScrollBar* bar, ScrollInfo* out) {
        if (!bar || !out)
            return;
        out->min = bar->minimum();
        out->page = bar->pageStep();
        out->max = bar->maximum() + bar->pageStep();
        out->pos = bar->value();
    };
    read(hScroll_, horizontal);
    read(vScroll_, vertical);
}

bool CChildFrame::HorizontalBarShown() const
{
    return hScroll_ && !hScroll_->isHidden();
}

QSize CChildFrame::GetViewAreaSize() const
{
    if (!client_)
        return {};
    const int32_t scrollWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int32_t width = client_->width() - (vScrollShown_ ? scrollWidth : 0);
    int32_t height = client_->height() - (bar_ ? bar_->height() : 0);
    if (rulersShown_) {
        width -= kRulerWidth;
        height -= kRulerHeight;
    }
    return {std::max(width, 0), std::max(height, 0)};
}

void CChildFrame::ShowRulers(bool show)
{
    rulersShown_ = show;
    RecalcLayout();
}

void CChildFrame::RecalcLayout()
{
    if (!client_ || !view_ || !bar_ || !hRuler_ || !vRuler_ || !corner_ || !vScroll_)
        return;
    const int32_t w = client_->width();
    const int32_t h = client_->height();
    const int32_t scrollWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int32_t right = vScrollShown_ ? scrollWidth : 0;
    const int32_t left = rulersShown_ ? kRulerWidth : 0;
    const int32_t top = rulersShown_ ? kRulerHeight : 0;
    const int32_t barHeight = bar_->height();
    const int32_t barTop = h - barHeight;

    bar_->setGeometry(0, barTop, w, barHeight);
    bar_->show();
    vScroll_->setGeometry(w - scrollWidth, 0, scrollWidth, std::max(barTop, 0));
    vScroll_->setVisible(vScrollShown_);
    hRuler_->setGeometry(kRulerWidth, 0, std::max(w - kRulerWidth - right, 0), kRulerHeight);
    vRuler_->setGeometry(0, kRulerHeight, kRulerWidth, std::max(barTop - kRulerHeight, 0));
    corner_->setGeometry(0, 0, kRulerWidth, kRulerHeight);
    for (QWidget* ruler : {hRuler_, vRuler_, corner_})
        ruler->setVisible(rulersShown_);
    view_->setGeometry(left, top, std::max(w - left - right, 0), std::max(barTop - top, 0));
}

void CChildFrame::KeepInsideWorkArea()
{
    QMdiArea* area = mdiArea();
    if (!area)
        return;
    const int32_t W = area->viewport()->width();
    const int32_t H = area->viewport()->height();
    QRect r = geometry();
    int32_t left = r.left(), top = r.top(), right = r.right() + 1, bottom = r.bottom() + 1;
    if (left < 0 || left > W)
        left = 0;
    if (right > W || right < 0)
        right = W - 10;
    if (top < 0 || top > H)
        top = 0;
    if (bottom > H || bottom < 0)
        bottom = H - 10;
    const QRect wanted(left, top, std::max(right - left, kMinimumTrack), std::max(bottom - top, kMinimumTrack));
    if (wanted != r)
        setGeometry(wanted);
}

void CChildFrame::changeEvent(QEvent* event)
{
    DocumentChildFrame::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        const bool wasSpecial = change->oldState() & (Qt::WindowMinimized | Qt::WindowMaximized);
        if (wasSpecial && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
            KeepInsideWorkArea();
    }
}

void CChildFrame::OnMdiActivate(bool activating)
{
    CMainFrame* main = MainFrame();
    QWidget* palette = main->ToolPalette();
    if (!activatedOnce_ && activating) {
        activatedOnce_ = true;
        main->BuildCardMenus();
        paletteShown_ = palette && palette->isVisible();
    }
    if (palette) {
        if (activating)
            palette->setVisible(paletteShown_);
        else
            paletteShown_ = palette->isVisible();
    }
    main->OnCardFrameActivate(activating);
    Document()->OnFrameActivate(activating);
}

bool CChildFrame::OnCommand(uint32_t id)
{
    if (id != kCmdShowRulers)
        return false;
    ShowRulers(!rulersShown_);
    return true;
}

bool CChildFrame::OnUpdateCommand(CmdUI& ui)
{
    if (ui.id != kCmdShowRulers)
        return false;
    ui.SetCheck(rulersShown_);
    return true;
}

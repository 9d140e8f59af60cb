#include "app/child_frame.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <cstring>

#include "app/main_frame.h"
#include "app/shell_document.h"
#include "app/tool_bar_draw_tools.h"
#include "carddoc/ruler.h"
#include "carddoc/ruler_corner.h"
#include "carddoc/zoom_page_bar.h"
#include "foundation/cp1252.h"
#include "platform/menus.h"
#include "records/command_ids.h"

namespace {

// The client of the frame: the frame lays its parts out whenever its size
// changes.
class ChildClient : public QWidget {
public:
    explicit ChildClient(CChildFrame* frame) : QWidget(frame), frame_(frame) {}

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        frame_->RecalcLayout();
    }

private:
    CChildFrame* frame_;
};

// The rulers' font: "Small Fonts", 9 pixels high.
LogFont RulerFont()
{
    LogFont font;
    font.height = -9;
    font.weight = 400;
    font.charSet = 0;
    font.outPrecision = 6;
    font.clipPrecision = 0;
    font.quality = 2;
    font.pitchAndFamily = 0x22;
    std::strcpy(font.faceName, "Small Fonts");
    return font;
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
    bar_ = new CZoomPageBar(client_);
    bar_->InitControls();
    bar_->setFixedHeight(bar_->sizeHint().height());
    bar_->SetCommandSink([this](uint32_t id) { MainFrame()->RouteCommand(id); });
    bar_->SetCheckQuery([this](uint32_t id) { return MainFrame()->QueryCommand(id).checked; });
    hScroll_ = bar_->HorizontalScrollBar();

    vScroll_ = new QScrollBar(Qt::Vertical, client_);
    vScroll_->setObjectName("4");
    const RulerSettings options;
    const LogFont font = RulerFont();
    hRuler_ = new CRuler(CRuler::kHorizontal, client_, options, font);
    vRuler_ = new CRuler(CRuler::kVertical, client_, options, font);
    corner_ = new CRulerCorner(client_, font);

    connect(vScroll_, &QScrollBar::actionTriggered, this, [this](int action) {
        Scrolled(Qt::Vertical, action, vScroll_->sliderPosition());
    });
    connect(hScroll_, &QScrollBar::actionTriggered, this, [this](int action) {
        Scrolled(Qt::Horizontal, action, hScroll_->sliderPosition());
    });

    const ScrollInfo empty{0, 0, 1, 0};
    SetScrollBars(&empty, &empty);
    // The view takes the rulers and the bar as it is made.
    view_ = Document()->CreateView(0, client_);
    if (!view_)
        return false;

    setWidget(client_);
    setWindowTitle(CMainFrame::FrameTitle(Document()));
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
    if (bar_)
        bar_->SetZoomText(text);
}

void CChildFrame::ShowPageNumber(int32_t page, int32_t count)
{
    SetPageText(QString("pg. %1 of %2").arg(page).arg(count));
}

void CChildFrame::SetPageText(const QString& text)
{
    if (bar_)
        bar_->SetPageText(text);
}

QString CChildFrame::ZoomText() const
{
    return bar_ ? bar_->ZoomText() : QString();
}

QString CChildFrame::PageText() const
{
    return bar_ ? bar_->PageText() : QString();
}

void CChildFrame::EnablePageButtons(bool front, bool back)
{
    if (bar_)
        bar_->EnablePageButtons(front, back);
}

void CChildFrame::UpdateToolButtons(int16_t kind)
{
    CToolBarDrawTools* palette = MainFrame()->ToolPalette();
    if (!palette)
        return;
    for (QAction* action : palette->actions()) {
        const uint32_t id = MenuGetCommandId(action);
        if (id < kFirstToolCommand || id > kLastToolCommand)
            continue;
        action->setCheckable(true);
        action->setChecked(kind >= 0 && id == kFirstToolCommand + uint32_t(kind));
    }
}

bool CChildFrame::RouteCommand(uint32_t id)
{
    return MainFrame()->RouteCommand(id);
}

void CChildFrame::UpdateMenuStates(QMenu* menu)
{
    MainFrame()->UpdateMenu(menu);
}

void CChildFrame::SetScrollBars(const ScrollInfo* horizontal, const ScrollInfo* vertical)
{
    if (horizontal && hScroll_) {
        hScroll_->setRange(horizontal->min, std::max(horizontal->min, horizontal->max - horizontal->page + 1));
        hScroll_->setPageStep(horizontal->page);
        hScroll_->setValue(horizontal->pos);
        hScroll_->setEnabled(Needed(*horizontal));
        hScroll_->setVisible(Needed(*horizontal));
    }
    if (vertical && vScroll_) {
        vScroll_->setRange(vertical->min, std::max(vertical->min, vertical->max - vertical->page + 1));
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
        out->max = bar->maximum() + bar->pageStep() - 1;
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
    for (QWidget* ruler : std::initializer_list<QWidget*>{hRuler_, vRuler_, corner_})
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
    // The palette counts as shown unless it was hidden: a window opened
    // before the main window shows must not take it for hidden.
    if (!activatedOnce_ && activating) {
        activatedOnce_ = true;
        main->BuildCardMenus();
        paletteShown_ = palette && !palette->isHidden();
    }
    if (palette) {
        if (activating)
            palette->setVisible(paletteShown_);
        else
            paletteShown_ = !palette->isHidden();
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

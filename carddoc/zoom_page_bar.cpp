#include "carddoc/zoom_page_bar.h"

#include <algorithm>

#include <QAction>
#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

#include "records/command_ids.h"
#include "resources/artwork_resources.h"

namespace {

// The bar's template is 271 x 10 dialog units.
constexpr int32_t kTemplateHeight = 10;

const char* const kZoomItems[CZoomPageBar::kZoomCommandCount] = {
    "Fit in Window", "25%", "50%", "75%", "Actual Size 100%", "200%", "Other...",
};

// A bitmap button's pictures: up, pressed (shown while the button is
// held down) and disabled; 0 for a picture it does not have.
void SetButtonImages(QToolButton* button, int32_t up, int32_t down, int32_t disabled)
{
    const QImage upImage = LoadResourceButtonImage(up);
    if (upImage.isNull())
        return;
    QIcon icon(QPixmap::fromImage(upImage));
    if (disabled != 0)
        if (const QImage image = LoadResourceButtonImage(disabled); !image.isNull())
            icon.addPixmap(QPixmap::fromImage(image), QIcon::Disabled);
    button->setIcon(icon);
    button->setIconSize(upImage.size());
    const QImage downImage = down != 0 ? LoadResourceButtonImage(down) : QImage();
    if (downImage.isNull())
        return;
    QIcon pressed(QPixmap::fromImage(downImage));
    QObject::connect(button, &QToolButton::pressed, button, [button, pressed] { button->setIcon(pressed); });
    QObject::connect(button, &QToolButton::released, button, [button, icon] { button->setIcon(icon); });
}

QFrame* Separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    return line;
}

}  // namespace

CZoomPageBar::CZoomPageBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QString::number(kBarId));
    zoom_ = new QToolButton(this);
    zoom_->setObjectName(QString::number(kZoomButtonId));
    zoom_->setAutoRaise(true);
    zoomText_ = new QLabel("999%", this);
    zoomText_->setObjectName(QString::number(kZoomTextId));
    previous_ = new QToolButton(this);
    previous_->setObjectName(QString::number(kPreviousPageId));
    previous_->setAutoRaise(true);
    next_ = new QToolButton(this);
    next_->setObjectName(QString::number(kNextPageId));
    next_->setAutoRaise(true);
    pageText_ = new QLabel("pg. 99 of 99", this);
    pageText_->setObjectName(QString::number(kPageTextId));
    pageText_->setAlignment(Qt::AlignCenter);
    scroll_ = new QScrollBar(Qt::Horizontal, this);
    scroll_->setObjectName(QString::number(kScrollId));
    grip_ = new QLabel(this);
    grip_->setObjectName(QString::number(kGripId));

    // The template's places in dialog units, each text widened to hold
    // its longest text in this font (dialog units count average letters,
    // and digits are wider), with what follows moved along.
    const auto fits = [this](int32_t units, const char* longest) {
        return std::max(DuX(units), fontMetrics().horizontalAdvance(QString::fromLatin1(longest)) + 4);
    };
    auto* first = Separator(this);
    auto* second = Separator(this);
    zoom_->setGeometry(DuX(6), DuY(1), DuX(16), DuY(8));
    zoomText_->setGeometry(DuX(26), DuY(1), fits(19, "999%"), DuY(8));
    const int32_t firstAt = std::max(DuX(48), zoomText_->geometry().right() + 1 + DuX(3));
    first->setGeometry(firstAt, DuY(1), 2, DuY(8));
    previous_->setGeometry(firstAt + DuX(7), DuY(1), DuX(16), DuY(8));
    pageText_->setGeometry(previous_->geometry().right() + 1 + DuX(3), DuY(1), fits(47, "pg. 99 of 99"), DuY(8));
    next_->setGeometry(pageText_->geometry().right() + 1 + DuX(3), DuY(1), DuX(16), DuY(8));
    const int32_t secondAt = next_->geometry().right() + 1 + DuX(5);
    second->setGeometry(secondAt, DuY(1), 2, DuY(8));
    grip_->setGeometry(DuX(261), DuY(2), DuX(8), DuY(8));
    scrollLeft_ = secondAt + DuX(7);
    scroll_->setGeometry(scrollLeft_, 0, DuX(105), style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    connect(zoom_, &QToolButton::clicked, this, [this] { OnZoomButton(); });
    connect(previous_, &QToolButton::clicked, this, [this] {
        if (sink_)
            sink_(kPreviousPageId);
    });
    connect(next_, &QToolButton::clicked, this, [this] {
        if (sink_)
            sink_(kNextPageId);
    });
}

int32_t CZoomPageBar::DuX(int32_t x) const { return (x * fontMetrics().averageCharWidth() + 2) / 4; }

int32_t CZoomPageBar::DuY(int32_t y) const { return (y * fontMetrics().height() + 4) / 8; }

QSize CZoomPageBar::sizeHint() const
{
    return QSize(scrollLeft_ + DuX(119), std::max(DuY(kTemplateHeight), style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
}

void CZoomPageBar::InitControls()
{
    if (zoom_->icon().isNull()) {
        SetButtonImages(zoom_, 208, 209, 0);
        SetButtonImages(previous_, 210, 213, 26050);
        SetButtonImages(next_, 212, 211, 26051);
        if (const QImage grip = LoadResourceButtonImage(214); !grip.isNull())
            static_cast<QLabel*>(grip_)->setPixmap(QPixmap::fromImage(grip));
    }
    previous_->setEnabled(false);
    next_->setEnabled(false);
    if (menu_)
        return;
    menu_ = new QMenu(this);
    for (uint32_t i = 0; i < kZoomCommandCount; ++i) {
        QAction* action = menu_->addAction(kZoomItems[i]);
        const uint32_t id = kCmdFirstZoom + i;
        action->setData(id);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, id] {
            if (sink_)
                sink_(id);
        });
    }
    // The items show the view's answer each time the menu opens.
    connect(menu_, &QMenu::aboutToShow, this, [this] {
        for (QAction* action : menu_->actions())
            action->setChecked(checked_ && checked_(action->data().toUInt()));
    });
}

void CZoomPageBar::OnZoomButton()
{
    if (!menu_)
        return;
    menu_->popup(zoom_->mapToGlobal(QPoint(zoom_->width(), zoom_->height())));
}

void CZoomPageBar::SetZoomText(const QString& text) { zoomText_->setText(text); }

void CZoomPageBar::SetPageText(const QString& text) { pageText_->setText(text); }

QString CZoomPageBar::ZoomText() const { return zoomText_->text(); }

QString CZoomPageBar::PageText() const { return pageText_->text(); }

void CZoomPageBar::EnablePageButtons(bool previous, bool next)
{
    if (previous_->isEnabled() != previous)
        previous_->setEnabled(previous);
    if (next_->isEnabled() != next)
        next_->setEnabled(next);
}

bool CZoomPageBar::PreviousEnabled() const { return previous_->isEnabled(); }

bool CZoomPageBar::NextEnabled() const { return next_->isEnabled(); }

void CZoomPageBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int32_t barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QRect client = rect();
    if (scroll_) {
        const QRect r = scroll_->geometry();
        scroll_->setGeometry(r.left(), r.top(), std::max(client.right() + 1 - barWidth - r.left(), 0), barWidth);
    }
    if (grip_) {
        const QSize size = grip_->size();
        grip_->move(client.right() + 1 - size.width(), client.bottom() + 1 - size.height());
    }
}

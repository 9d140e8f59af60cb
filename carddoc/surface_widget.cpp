#include "carddoc/surface_widget.h"

#include <QPainter>
#include <QResizeEvent>
#include <QTimer>

#include "platform/dc.h"

namespace {

// How soon a change drawn outside a paint shows.
constexpr int kPollMs = 15;

}  // namespace

SurfaceWidget::SurfaceWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    surface_ = QImage(1, 1, QImage::Format_RGB32);
    surface_.fill(Qt::white);
    dc_ = Dc::ForImage(&surface_);
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, [this] { Poll(); });
    poll_->start();
}

SurfaceWidget::~SurfaceWidget() = default;

void SurfaceWidget::Present()
{
    shownKey_ = surface_.cacheKey();
    update();
}

void SurfaceWidget::Poll()
{
    // Writing to the image's pixels changes its key.
    if (isVisible() && surface_.cacheKey() != shownKey_)
        Present();
}

void SurfaceWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_, event->rect());
}

void SurfaceWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FitSurface(event->size());
}

void SurfaceWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window resized again while hidden, after the resize it was told of
    // before, hears of the new size from no event: its image would cover
    // only part of it.
    FitSurface(size());
}

void SurfaceWidget::FitSurface(const QSize& wanted)
{
    const QSize size = wanted.expandedTo(QSize(1, 1));
    if (size == surface_.size())
        return;
    // The context stays, with its state: it reads its image's size afresh
    // at every call, and whoever holds it keeps a valid one.
    surface_ = QImage(size, QImage::Format_RGB32);
    surface_.fill(Qt::white);
    SurfaceResized();
    Present();
}

#include "typography/color_pane.h"

#include <memory>

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

#include "platform/dc.h"

ColorPane::ColorPane(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }

void ColorPane::SetColor(ColorRef color)
{
    color_ = color & 0xFFFFFF;
    update();
}

void ColorPane::Redraw() { repaint(); }

void ColorPane::paintEvent(QPaintEvent*)
{
    QImage surface(size(), QImage::Format_RGB32);
    surface.fill(palette().color(QPalette::Window));
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        IntRect r{0, 0, width(), height()};
        if (selected_ || hasFocus()) {
            const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 3, kBlack});
            const Brush oldBrush = dc->selectBrush(Brush::Solid(kWhite));
            dc->rectangle(r.left, r.top, r.right, r.bottom);
            dc->selectPen(oldPen);
            dc->selectBrush(oldBrush);
            r = IntRect{r.left + 5, r.top + 5, r.right - 5, r.bottom - 5};
        }
        dc->fillRect(r, Brush::Solid(color_));
    }
    QPainter p(this);
    p.drawImage(0, 0, surface);
}

void ColorPane::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    selected_ = true;
    Q_EMIT Selected(this);
    Redraw();
}

void ColorPane::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    selected_ = false;
    update();
}

void ColorPane::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void ColorPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    QColorDialog dialog(ToQColor(color_), this);
    if (dialog.exec() == QDialog::Accepted) {
        color_ = FromQColor(dialog.selectedColor());
        Redraw();
        Q_EMIT ChangedColor(this, color_);
    }
    QWidget::mouseDoubleClickEvent(event);
}

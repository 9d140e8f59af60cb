// ColorPane: a small window showing one colour. It tells its parent when it
// is selected (it takes the focus) and, after a double click lets the user
// choose a new colour in the colour dialog, which colour was chosen.
#pragma once

#include <QWidget>

#include "platform/gdi_types.h"

class ColorPane : public QWidget {
    Q_OBJECT

public:
    explicit ColorPane(QWidget* parent = nullptr);

    ColorRef Color() const { return color_; }
    void SetColor(ColorRef color);
    bool IsSelected() const { return selected_; }
    // Repaints at once.
    void Redraw();

Q_SIGNALS:
    void Selected(ColorPane* pane);
    void ChangedColor(ColorPane* pane, ColorRef color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    ColorRef color_ = 0;
    bool selected_ = false;
};

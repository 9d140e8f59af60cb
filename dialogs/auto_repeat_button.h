// CAutoRepeatButton: a push button that reports at once when pressed and
// again each time its interval has passed while it is held.
#pragma once

#include <cstdint>

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

class CAutoRepeatButton : public QPushButton {
    Q_OBJECT

public:
    explicit CAutoRepeatButton(QWidget* parent = nullptr);

    void SetControlId(int32_t id) { controlId_ = id; }
    int32_t ControlId() const { return controlId_; }
    // Stores the interval; reports carry the control id.
    void Init(int32_t intervalMs);
    int32_t Interval() const { return interval_; }

Q_SIGNALS:
    // "Tab Scroll Pressed": the press, and every repeat while held.
    void ScrollPressed(int32_t controlId);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Poll();

    int32_t controlId_ = 0;
    int32_t interval_ = 0;
    QTimer poll_;
    QElapsedTimer sinceReport_;
};

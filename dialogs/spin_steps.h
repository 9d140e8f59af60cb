// The up-down arrows of a number field that only send steps: the field
// itself decides what a step does (its own range and step size), so the
// arrows keep no position of their own.
#pragma once

#include <cstdint>
#include <functional>

#include <QWidget>

class QToolButton;

class SpinSteps : public QWidget {
public:
    using StepHandler = std::function<void(int32_t delta)>;

    explicit SpinSteps(QWidget* parent = nullptr);
    void OnStep(StepHandler handler) { handler_ = std::move(handler); }
    // One press: +1 up, -1 down.
    void Press(int32_t delta);

    QToolButton* Up() const { return up_; }
    QToolButton* Down() const { return down_; }

private:
    StepHandler handler_;
    QToolButton* up_;
    QToolButton* down_;
};

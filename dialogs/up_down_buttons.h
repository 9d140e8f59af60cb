// The up-down buttons beside a number field of the small document
// dialogs: each press moves the field's number by the increment, held
// within the buttons' range.
#pragma once

#include <cstdint>

#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDownButtons : public QWidget {
public:
    UpDownButtons(QLineEdit* buddy, QWidget* parent);

    void SetRange(int32_t minimum, int32_t maximum);
    void SetIncrement(int32_t increment) { increment_ = increment > 0 ? increment : 1; }
    int32_t Minimum() const { return minimum_; }
    int32_t Maximum() const { return maximum_; }
    int32_t Increment() const { return increment_; }
    // One press: +1 up, -1 down.
    void Press(int32_t direction);

    QToolButton* Up() const { return up_; }
    QToolButton* Down() const { return down_; }

private:
    QLineEdit* buddy_;
    QToolButton* up_;
    QToolButton* down_;
    int32_t minimum_ = 0;
    int32_t maximum_ = 100;
    int32_t increment_ = 1;
};

// The numeric edits of the family: CFloatEdit and CIntEdit carry a value, a
// range and a step, as the property dialogs' measure and count fields and
// their spin buttons need.
#pragma once

#include <cstdint>

#include "dialogs/filtered_edit.h"

class CFloatEdit : public CFilteredEdit {
    Q_OBJECT

public:
    explicit CFloatEdit(QWidget* parent = nullptr) : CFilteredEdit(parent) {}

    // Stores value and range and shows the value; the second value becomes
    // the fast-fill text.
    void Setup(double value, double minimum, double maximum, double step, int32_t limit, double second,
               int32_t flag);
    void SetValue(double value, double second, bool useSecond, int32_t showFastFill, bool redrawNow);
    // The text's leading number within the range (0 when the text has
    // none, then clamped); the text stays as it is. A text of two decimal
    // marks gives the value the box took before it.
    double GetValue() const;
    // Moves the value n steps, held within the range. Always true.
    bool Step(int32_t n);

    double Value() const { return value_; }
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    double StepSize() const { return step_; }
    QString Format(double value) const;

    bool IsCharAllowed(QChar c, int position) const override;
    // Shows the clamped value when the typed one lies outside the range; a
    // text of two decimal marks is refused, said, and the value the box
    // took before comes back.
    bool Validate() override;
    void NotifyParent() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    double Clamp(double v) const;
    // Refuses a text of two decimal marks as Validate does; false when the
    // text has fewer.
    bool RefuseTwoMarks();

    double value_ = 0.0;
    double minimum_ = 1.0;
    double maximum_ = 100.0;
    double step_ = 1.0;
    // Whether the user had set the field when the typing began.
    bool takenModified_ = false;
};

class CIntEdit : public CFilteredEdit {
    Q_OBJECT

public:
    explicit CIntEdit(QWidget* parent = nullptr) : CFilteredEdit(parent) {}

    void Setup(int32_t value, int32_t minimum, int32_t maximum, int32_t step, int32_t limit, int32_t second,
               int32_t flag);
    void SetValue(int32_t value, int32_t second, bool useSecond, int32_t showFastFill, bool redrawNow);
    // Hosts that exchange the text themselves set only the range.
    void SetRange(int32_t minimum, int32_t maximum, int32_t step);
    // The text's leading integer, not clamped.
    int32_t GetValue() const;
    // Moves the value n steps; false, with nothing changed, when that
    // leaves the range.
    bool Step(int32_t n);

    int32_t Value() const { return value_; }
    int32_t Minimum() const { return minimum_; }
    int32_t Maximum() const { return maximum_; }
    int32_t StepSize() const { return step_; }

    bool IsCharAllowed(QChar c, int position) const override;
    bool Validate() override;
    void NotifyParent() override;
    void SayRefused(QChar c) override;

private:
    int32_t value_ = 0;
    int32_t minimum_ = 1;
    int32_t maximum_ = 100;
    int32_t step_ = 1;
};

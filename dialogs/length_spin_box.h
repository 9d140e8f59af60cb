// A spin box for a length in the Label Type dialog's unit. It keeps every
// digit the user types, since label stock is sold in sixteenths and
// thirty-seconds of an inch (2.625, 0.1875) and a rounded pitch drifts a
// little further on every row; and it shows a length with the decimals it
// needs, at most four, so 1 reads "1" and 2.625 reads "2.625". It reads the
// point and the comma alike as the decimal mark, on every desktop. A length
// typed with two marks stays as typed until the box takes it, when it is
// refused with a word and the length from before the typing comes back.
#pragma once

#include <QDoubleSpinBox>

class CLengthSpinBox : public QDoubleSpinBox {
public:
    explicit CLengthSpinBox(QWidget* parent = nullptr);

    QString textFromValue(double value) const override;
    // The text as shown stands for the value it shows, not for its rounding,
    // so Enter on an untouched box leaves the length exact.
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& position) const override;
    // A text of two marks becomes the length from before the typing, said;
    // any other text is left as typed (the box then keeps its length).
    void fixup(QString& text) const override;

protected:
    // Enter on a text of two marks refuses it and leaves the dialog open.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The length the box held when the typing began; the typing goes on
    // until the box takes what was typed.
    double taken_ = 0.0;
    bool typing_ = false;
    mutable bool saying_ = false;
};

// A spin box for a length in the Label Type dialog's unit. It keeps every
// digit the user types, since label stock is sold in sixteenths and
// thirty-seconds of an inch (2.625, 0.1875) and a rounded pitch drifts a
// little further on every row; and it shows a length with the decimals it
// needs, at most four, so 1 reads "1" and 2.625 reads "2.625". It reads the
// point and the comma alike as the decimal mark, on every desktop.
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
};

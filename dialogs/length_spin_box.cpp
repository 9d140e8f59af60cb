#include "dialogs/length_spin_box.h"

namespace {

// What the box keeps of a typed value: more than anyone types, so nothing
// typed is rounded away.
constexpr int kKeptDecimals = 10;
constexpr int kShownDecimals = 4;

}  // namespace

CLengthSpinBox::CLengthSpinBox(QWidget* parent) : QDoubleSpinBox(parent) { setDecimals(kKeptDecimals); }

QString CLengthSpinBox::textFromValue(double value) const
{
    QString text = locale().toString(value, 'f', kShownDecimals);
    text.remove(locale().groupSeparator());
    const QString point = locale().decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

double CLengthSpinBox::valueFromText(const QString& text) const
{
    if (text == textFromValue(value()))
        return value();
    return QDoubleSpinBox::valueFromText(text);
}

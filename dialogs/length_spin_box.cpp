#include "dialogs/length_spin_box.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "dialogs/filtered_edit.h"
#include "foundation/alerts.h"

namespace {

// What the box keeps of a typed value: more than anyone types, so nothing
// typed is rounded away.
constexpr int kKeptDecimals = 10;
constexpr int kShownDecimals = 4;

// Whether the text, blanks around it aside, is [+-]digits[mark digits];
// its parts may still be missing while it is typed, and *complete says
// whether it has a digit and one decimal mark at most. A second mark is
// kept as typed, so that the text is refused whole rather than read as
// another number.
bool ReadsAsNumber(const QString& text, bool* complete)
{
    const QString t = text.trimmed();
    int i = 0, digits = 0, marks = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    for (; i < t.size(); ++i) {
        if (t[i].unicode() >= '0' && t[i].unicode() <= '9')
            ++digits;
        else if (IsDecimalMark(t[i]))
            ++marks;
        else
            return false;
    }
    *complete = digits > 0 && marks <= 1;
    return true;
}

}  // namespace

CLengthSpinBox::CLengthSpinBox(QWidget* parent) : QDoubleSpinBox(parent)
{
    setDecimals(kKeptDecimals);
    // A text edited reaches the box before the value typed so far does.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        if (!typing_)
            taken_ = value();
        typing_ = true;
    });
    connect(this, &QAbstractSpinBox::editingFinished, this, [this] { typing_ = false; });
}

QString CLengthSpinBox::textFromValue(double value) const
{
    // Western digits, no thousands mark, and the desktop's decimal mark
    // where it is one the box reads.
    QString text = QString::number(value, 'f', kShownDecimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    if (locale().decimalPoint() == QLatin1String(","))
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

double CLengthSpinBox::valueFromText(const QString& text) const
{
    if (text == textFromValue(value()))
        return value();
    return LeadingDecimal(text);
}

// The point and the comma both read as the decimal mark and nothing else is
// taken, so a length reads alike on every desktop: "3.75" is never 375.
QValidator::State CLengthSpinBox::validate(QString& text, int&) const
{
    bool complete = false;
    if (!ReadsAsNumber(text, &complete))
        return QValidator::Invalid;
    if (!complete)
        return QValidator::Intermediate;
    const double value = LeadingDecimal(text.trimmed());
    if (value > maximum())
        return QValidator::Invalid;
    return value < minimum() ? QValidator::Intermediate : QValidator::Acceptable;
}

void CLengthSpinBox::fixup(QString& text) const
{
    // Qt's own fixing takes the desktop's thousands mark out, and a German
    // "0.005" below the least length would become 5: a text of one mark is
    // left as typed, and the box goes back to the length it held.
    if (DecimalMarks(text) < 2)
        return;
    const QString typed = text;
    text = textFromValue(typing_ ? taken_ : value());
    // The message box takes the focus, which checks the text again.
    if (saying_)
        return;
    saying_ = true;
    AlertNote(TwoDecimalMarksText(typed, text).c_str(), 0);
    saying_ = false;
}

void CLengthSpinBox::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && DecimalMarks(lineEdit()->text()) > 1) {
        // The length comes back before the word, so that the focus the
        // message box takes finds nothing more to refuse.
        const QString typed = lineEdit()->text();
        lineEdit()->setText(textFromValue(typing_ ? taken_ : value()));
        typing_ = false;
        AlertNote(TwoDecimalMarksText(typed, lineEdit()->text()).c_str(), 0);
        lineEdit()->selectAll();
        return;
    }
    QDoubleSpinBox::keyPressEvent(event);
}

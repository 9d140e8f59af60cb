#include "dialogs/numeric_edit.h"

#include <algorithm>
#include <cmath>

#include <QKeyEvent>
#include <QToolTip>

#include "foundation/alerts.h"

namespace {

bool IsSign(QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); }

// Whether the selection holds a character for which `is` is true.
template <typename Pred>
bool SelectionHolds(const QLineEdit* edit, Pred is)
{
    const QString s = edit->selectedText();
    return std::any_of(s.begin(), s.end(), is);
}

bool IsAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

}  // namespace

// --- CFloatEdit ---------------------------------------------------------

QString CFloatEdit::Format(double value) const { return QString::asprintf("%.02f", value); }

double CFloatEdit::Clamp(double v) const { return std::clamp(v, minimum_, std::max(minimum_, maximum_)); }

void CFloatEdit::Setup(double value, double minimum, double maximum, double step, int32_t limit, double second,
                       int32_t flag)
{
    value_ = value;
    minimum_ = minimum;
    maximum_ = maximum;
    step_ = step;
    CFilteredEdit::Setup(Format(value), limit, Format(second), flag, nullptr);
}

void CFloatEdit::SetValue(double value, double second, bool useSecond, int32_t showFastFill, bool redrawNow)
{
    value_ = value;
    takenModified_ = false;
    const QString text = Format(value);
    const QString secondText = Format(second);
    SetText(&text, useSecond ? &secondText : nullptr, showFastFill, redrawNow);
}

double CFloatEdit::GetValue() const
{
    // A text of two marks is no number: the box still holds what it took.
    return Clamp(LeadingDecimal(DecimalMarks(text()) > 1 ? TakenText() : text()));
}

bool CFloatEdit::Step(int32_t n)
{
    const double next = Clamp(value_ + n * step_);
    if (next == value_)
        return true;
    SetValue(next, 0.0, false, 0, true);
    setModified(true);
    takenModified_ = true;
    return true;
}

bool CFloatEdit::IsCharAllowed(QChar c, int position) const
{
    const QString t = text();
    if (IsSign(c)) {
        if (position != 0)
            return false;
        const bool hasSign = std::any_of(t.begin(), t.end(), IsSign);
        return !hasSign || SelectionHolds(this, IsSign);
    }
    // A second mark goes in as typed: the text is then refused whole
    // rather than read as another number.
    if (IsDecimalMark(c))
        return true;
    return IsAsciiDigit(c);
}

bool CFloatEdit::RefuseTwoMarks()
{
    if (DecimalMarks(text()) < 2)
        return false;
    const QString typed = text();
    // The text and the modified mark as they were: a field left blank over
    // a mixed selection stays blank and unset.
    RewriteText(TakenText(), int(TakenText().size()));
    setModified(takenModified_);
    value_ = GetValue();
    AlertNote(TwoDecimalMarksText(typed, text()).c_str(), 0);
    selectAll();
    return true;
}

void CFloatEdit::focusInEvent(QFocusEvent* event)
{
    takenModified_ = isModified();
    CFilteredEdit::focusInEvent(event);
}

void CFloatEdit::keyPressEvent(QKeyEvent* event)
{
    // Enter on a text of two marks refuses it and goes no further: the
    // dialog stays open.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && RefuseTwoMarks())
        return;
    CFilteredEdit::keyPressEvent(event);
}

bool CFloatEdit::Validate()
{
    if (RefuseTwoMarks())
        return true;
    const double parsed = LeadingDecimal(text());
    const double clamped = Clamp(parsed);
    if (clamped != parsed)
        SetValue(clamped, 0.0, false, 0, true);
    if (!text().isEmpty())
        end(false);
    return true;
}

void CFloatEdit::NotifyParent()
{
    CFilteredEdit::NotifyParent();
    value_ = GetValue();
}

// --- CIntEdit -----------------------------------------------------------

void CIntEdit::Setup(int32_t value, int32_t minimum, int32_t maximum, int32_t step, int32_t limit, int32_t second,
                     int32_t flag)
{
    value_ = value;
    SetRange(minimum, maximum, step);
    CFilteredEdit::Setup(QString::number(value), limit, QString::number(second), flag, nullptr);
}

void CIntEdit::SetValue(int32_t value, int32_t second, bool useSecond, int32_t showFastFill, bool redrawNow)
{
    value_ = value;
    const QString text = QString::number(value);
    const QString secondText = QString::number(second);
    SetText(&text, useSecond ? &secondText : nullptr, showFastFill, redrawNow);
}

void CIntEdit::SetRange(int32_t minimum, int32_t maximum, int32_t step)
{
    minimum_ = minimum;
    maximum_ = maximum;
    step_ = step;
}

int32_t CIntEdit::GetValue() const { return LeadingInteger(text()); }

bool CIntEdit::Step(int32_t n)
{
    const int64_t next = int64_t(value_) + int64_t(n) * step_;
    if (next < minimum_ || next > maximum_)
        return false;
    SetValue(int32_t(next), 0, false, 0, true);
    setModified(true);
    return true;
}

bool CIntEdit::IsCharAllowed(QChar c, int position) const
{
    if (IsSign(c)) {
        const QString t = text();
        return position == 0 && !std::any_of(t.begin(), t.end(), IsSign);
    }
    return IsAsciiDigit(c);
}

void CIntEdit::SayRefused(QChar c)
{
    // Without a word, "1,25" typed would read as 125.
    if (IsDecimalMark(c))
        QToolTip::showText(mapToGlobal(QPoint(0, height())),
                           QStringLiteral("This box takes whole numbers only: \"%1\" was not typed.").arg(c), this);
}

bool CIntEdit::Validate()
{
    const int32_t parsed = GetValue();
    const int32_t clamped = std::clamp(parsed, minimum_, std::max(minimum_, maximum_));
    if (clamped != parsed)
        SetValue(clamped, 0, false, 0, true);
    if (!text().isEmpty())
        end(false);
    return true;
}

void CIntEdit::NotifyParent()
{
    CFilteredEdit::NotifyParent();
    value_ = GetValue();
}

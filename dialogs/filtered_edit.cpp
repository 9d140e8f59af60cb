#include "dialogs/filtered_edit.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <limits>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "foundation/alerts.h"
#include "foundation/cp1252.h"
#include "graphics/beep.h"

namespace {

// Shared by every edit of the family: a text rewritten by one edit's own
// change handling must not start that handling again, and a focus given
// back after a failed check must not be checked on its way out.
bool g_changeInProgress = false;
bool g_refocusInProgress = false;

constexpr int kFirstFiltered = 32;
constexpr int kLastFiltered = 125;
constexpr int32_t kBeepRefused = 1;

bool IsFiltered(QChar c) { return c.unicode() >= kFirstFiltered && c.unicode() <= kLastFiltered; }

// Everything these edits hold is stored in Windows-1252: a character the
// code page lacks would be stored as "?" while the edit still showed it.
bool Storable(QChar c) { return UnicodeToCp1252(c.unicode()) >= 0; }

bool AllStorable(const QString& text) { return std::all_of(text.begin(), text.end(), Storable); }

// Tab, line ends and the other control codes never become text, typed or
// pasted.
bool IsControl(QChar c) { return c.category() == QChar::Other_Control; }

// The text without the characters the code page lacks; *dropped counts them.
QString StorablePart(const QString& text, int* dropped)
{
    int32_t leftOut = 0;
    const QString kept = Cp1252ToQString(QStringToCp1252Keeping(text, &leftOut));
    *dropped = leftOut;
    return kept;
}

void SayDroppedFromPaste(int dropped)
{
    AlertNote(CharactersLeftOutText(dropped, false, "the database's").c_str(), 0);
}

}  // namespace

CFilteredEdit::CFilteredEdit(QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(limit_);
    // A drop would insert text past the character rules.
    setAcceptDrops(false);
    connect(this, &QLineEdit::textChanged, this, [this] { ReflectChange(); });
}

void CFilteredEdit::Setup(const QString& text, int32_t limit, const QString& fastFill, int32_t, FilteredEditOwner* owner)
{
    owner_ = owner;
    limit_ = limit > 0 ? limit : 1;
    setMaxLength(limit_);
    SetText(&text, &fastFill, 0, true);
}

void CFilteredEdit::SetText(const QString* text, const QString* fastFill, int32_t showFastFill, bool redrawNow)
{
    showFastFill_ = showFastFill;
    if (text)
        setText(*text);
    if (fastFill)
        fastFill_ = *fastFill;
    end(false);
    if (redrawNow)
        repaint();
    else
        update();
}

QString CFilteredEdit::GetTextBeforeSelection() const
{
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    return text().left(std::min(start, 254));
}

bool CFilteredEdit::IsCharAllowed(QChar c, int) const { return allowed_.contains(c); }

bool CFilteredEdit::Validate() { return true; }

void CFilteredEdit::OnTextChanged()
{
    if (owner_)
        owner_->FieldChanged(controlId_);
}

void CFilteredEdit::NotifyParent() { Q_EMIT EditChanged(controlId_); }

void CFilteredEdit::ReflectChange()
{
    // A text set for the field, not typed into it, is what the field holds.
    if (!isModified())
        takenText_ = text();
    if (g_changeInProgress)
        return;
    g_changeInProgress = true;
    OnTextChanged();
    g_changeInProgress = false;
}

void CFilteredEdit::RewriteText(const QString& text, int caret)
{
    const bool modified = isModified();
    setText(text);
    setModified(modified);
    setCursorPosition(std::clamp(caret, 0, int(text.size())));
}

int CFilteredEdit::CaretAfterRewrite(int oldStart, bool wasAtEnd, int newLength)
{
    return wasAtEnd ? newLength : std::min(oldStart, newLength);
}

bool CFilteredEdit::Fits(qsizetype n) const { return text().size() - selectedText().size() + n <= limit_; }

bool CFilteredEdit::TakesAsTyped(QChar c, int position) const
{
    if (!Storable(c) || IsControl(c))
        return false;
    // From 126 up the kind's rule does not apply: a tilde or a letter with
    // an accent is typed into any field, a curly quote or a dash too.
    return !IsFiltered(c) || IsCharAllowed(c, position);
}

CFilteredEdit::Typed CFilteredEdit::TypeCharacter(QChar c)
{
    if (isReadOnly())
        return Typed::kRefused;
    if (!Fits(1))
        return Typed::kPastLimit;
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    if (!TakesAsTyped(c, start))
        return Typed::kRefused;
    insert(QString(c));
    NotifyParent();
    return Typed::kTaken;
}

int CFilteredEdit::FirstRefused(const QString& text) const
{
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    for (int i = 0; i < text.size(); ++i)
        if (!TakesAsTyped(text[i], start + i))
            return i;
    return -1;
}

void CFilteredEdit::RefusedTooLong()
{
    const std::string text = "The pasted text was not pasted: it is longer than the " + std::to_string(limit_) +
                             " characters this field holds.";
    AlertStop(text.c_str(), 0);
}

void CFilteredEdit::Paste()
{
    QString clip = QApplication::clipboard()->text();
    // A spreadsheet's cell or an editor's line is copied with its line end:
    // one at the end is no part of the value.
    if (clip.endsWith(QLatin1String("\r\n")))
        clip.chop(2);
    else if (clip.endsWith(QLatin1Char('\n')) || clip.endsWith(QLatin1Char('\r')))
        clip.chop(1);
    // insert() writes even into a read-only edit; typing must not.
    if (clip.isEmpty() || isReadOnly())
        return;
    int dropped = 0;
    const QString kept = StorablePart(clip, &dropped);
    if (!Fits(kept.size())) {
        RefusedTooLong();
        return;
    }
    if (const int refused = FirstRefused(kept); refused >= 0) {
        const QChar c = kept[refused];
        const std::string why = IsControl(c) ? std::string("this field holds one line, without tabs or line ends.")
                                             : "this field does not take \"" + QStringToCp1252(QString(c)) + "\".";
        AlertStop(("The pasted text was not pasted: " + why).c_str(), 0);
        return;
    }
    if (!kept.isEmpty()) {
        insert(kept);
        NotifyParent();
    }
    if (dropped > 0)
        SayDroppedFromPaste(dropped);
}

void CFilteredEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    if (commit.isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // What an input method commits goes in as if its characters were typed
    // one by one: the kind's rule, the code page and the limit apply to each,
    // and one beep says that some were refused.
    if (event->replacementLength() > 0) {
        const int from = std::clamp(cursorPosition() + event->replacementStart(), 0, int(text().size()));
        setSelection(from, std::min(event->replacementLength(), int(text().size()) - from));
    }
    bool refused = false;
    for (QChar c : commit) {
        const Typed typed = TypeCharacter(c);
        if (typed == Typed::kPastLimit) {
            TypedTooLong();
            break;
        }
        refused |= typed == Typed::kRefused;
    }
    if (refused)
        PlayBeep(kBeepRefused);
    // The composition that goes on (if any) is shown as the method asks;
    // a selection that nothing replaced stays text.
    deselect();
    QInputMethodEvent rest(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&rest);
}

bool CFilteredEdit::DataEntryKey(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    int32_t code = 0;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: code = 13; break;
    case Qt::Key_PageUp: code = 33; break;
    case Qt::Key_PageDown: code = 34; break;
    case Qt::Key_End: code = 35; break;
    case Qt::Key_Home: code = 36; break;
    case Qt::Key_Up: code = 38; break;
    case Qt::Key_Down: code = 40; break;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        if (ctrl)
            code = shift || event->key() == Qt::Key_BraceLeft ? 123 : 91;
        break;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        if (ctrl)
            code = shift || event->key() == Qt::Key_BraceRight ? 125 : 93;
        break;
    default: break;
    }
    if (code == 0)
        return false;
    Q_EMIT NavigationKey(code, shift);
    // Enter stored the field, or another record came: either way the
    // text now is what the field holds.
    takenText_ = text();
    return true;
}

bool CFilteredEdit::event(QEvent* e)
{
    // Tab never reaches keyPressEvent: the dialog's focus chain takes it.
    if (dataEntryMode_ && e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            Q_EMIT TabKey(controlId_, key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QLineEdit::event(e);
}

void CFilteredEdit::keyPressEvent(QKeyEvent* event)
{
    if (dataEntryMode_ && DataEntryKey(event)) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        QLineEdit::keyPressEvent(event);
        NotifyParent();
        return;
    }
    const QString typed = event->text();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (!typed.isEmpty() && !AllStorable(typed)) {
        event->accept();
        PlayBeep(kBeepRefused);
        return;
    }
    if (typed.size() != 1) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar c = typed[0];
    if (!ctrl && !alt && IsFiltered(c)) {
        event->accept();
        const Typed typed = TypeCharacter(c);
        if (typed == Typed::kRefused) {
            PlayBeep(kBeepRefused);
            SayRefused(c);
        } else if (typed == Typed::kPastLimit)
            TypedTooLong();
        return;
    }
    // Ctrl+[ and Ctrl+] make escape codes, not text.
    if (ctrl && (c.unicode() == 27 || c.unicode() == 29)) {
        event->accept();
        return;
    }
    // Enter and Tab are the dialog's keys, never text.
    if (c.unicode() == 9 || c.unicode() == 13) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (c.isPrint() && !isReadOnly() && !Fits(1)) {
        event->accept();
        TypedTooLong();
        return;
    }
    QLineEdit::keyPressEvent(event);
    NotifyParent();
}

void CFilteredEdit::focusInEvent(QFocusEvent* event)
{
    takenText_ = text();
    QLineEdit::focusInEvent(event);
}

bool CFilteredEdit::RunCheck()
{
    checkOnFocusLoss_ = false;
    const bool ok = Validate();
    checkOnFocusLoss_ = true;
    return ok;
}

void CFilteredEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Opening the context menu keeps the user in the field.
    if (!checkOnFocusLoss_ || event->reason() == Qt::PopupFocusReason)
        return;
    QWidget* next = QApplication::focusWidget();
    if (next && next != this && next->parentWidget() == parentWidget() && IsFilteredEditWindow(next) &&
        event->reason() != Qt::MouseFocusReason) {
        // Only a keyboard move to a neighbouring field is held back by a
        // failed check; a click shows the message and lets the focus go.
        if (g_refocusInProgress)
            return;
        if (!RunCheck()) {
            g_refocusInProgress = true;
            setFocus(Qt::OtherFocusReason);
            g_refocusInProgress = false;
        }
        return;
    }
    RunCheck();
}

void CFilteredEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    const QString shown = text();
    if (showFastFill_ != 1 || fastFill_.size() <= shown.size())
        return;
    const QString tail = fastFill_.mid(shown.size());
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(QColor(255, 0, 0));
    const QRect area = contentsRect().adjusted(textMargins().left() + 2, 0, -textMargins().right() - 2, 0);
    painter.setClipRect(area);
    const QFontMetrics metrics(font());
    int x = area.left() + metrics.horizontalAdvance(shown);
    if (x >= area.right()) {
        // A scrolled text: the tail follows the caret when that is at the end.
        if (cursorPosition() != shown.size())
            return;
        x = cursorRect().center().x();
    }
    painter.drawText(QRect(x, area.top(), area.right() - x, area.height()), Qt::AlignVCenter | Qt::AlignLeft, tail);
}

void CFilteredEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    // The menu's paste goes through the character rules like Ctrl+V.
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] { Paste(); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CFilteredEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button's selection paste would skip the rules.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

bool IsDecimalMark(QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(','); }

int DecimalMarks(const QString& text) { return int(std::count_if(text.begin(), text.end(), IsDecimalMark)); }

std::string TwoDecimalMarksText(const QString& typed, const QString& kept)
{
    const QString text = QStringLiteral("\"%1\" was not taken: a number has one decimal mark, a point or a comma, "
                                        "and no thousands mark. The box keeps %2.")
                             .arg(typed.trimmed(), kept);
    return QStringToCp1252(text);
}

bool IsFilteredEditWindow(const QWidget* window) { return qobject_cast<const CFilteredEdit*>(window) != nullptr; }

namespace {

// The leading [+-]digits[.digits] of a text, as written; the comma is a
// decimal mark as the point is, whatever the desktop's language.
QString LeadingNumberText(const QString& text, bool withPoint)
{
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const int start = i;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    if (withPoint && i < text.size() && IsDecimalMark(text[i])) {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
    }
    return text.mid(start, i - start);
}

}  // namespace

double LeadingDecimal(const QString& text)
{
    QString number = LeadingNumberText(text, true);
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    if (number.endsWith(QLatin1Char('.')))
        number.chop(1);
    if (number.isEmpty() || number == QLatin1String("+") || number == QLatin1String("-") ||
        number == QLatin1String("+.") || number == QLatin1String("-."))
        return 0.0;
    if (number.startsWith(QLatin1Char('.')) || number.startsWith(QLatin1String("+.")) ||
        number.startsWith(QLatin1String("-.")))
        number.insert(number.indexOf(QLatin1Char('.')), QLatin1Char('0'));
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

int32_t LeadingInteger(const QString& text)
{
    const QString number = LeadingNumberText(text, false);
    bool negative = false;
    int64_t value = 0;
    for (QChar c : number) {
        if (c == QLatin1Char('-'))
            negative = true;
        else if (c.isDigit())
            value = std::min<int64_t>(value * 10 + (c.unicode() - '0'), int64_t(1) << 32);
    }
    if (negative)
        value = -value;
    return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

#include "dbdoc/field_edits.h"

#include <algorithm>

#include <cstring>
#include <string>

#include <QFileInfo>

#include "dialogs/file_choosers.h"
#include "foundation/alerts.h"
#include "foundation/cp1252.h"
#include "foundation/dates.h"
#include "foundation/path_record.h"

namespace {

// Database messages (string 200 + n).
constexpr int32_t kDatabaseMessages = 200;
constexpr int32_t kMessageInvalidDate = 4;
constexpr int32_t kMessageZipDigits = 5;
constexpr int32_t kMessageState = 6;
constexpr int32_t kMessagePicturePath = 34;

bool IsSeparator(QChar c) { return c == QLatin1Char('/') || c == QLatin1Char(':') || c == QLatin1Char('-'); }
bool IsAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
bool IsAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

bool Domestic(const FilteredEditOwner* owner) { return owner && owner->IsDomestic(); }
bool ChecksSpeak(const FilteredEditOwner* owner) { return owner && owner->RefreshAllowed(); }

QString Digits(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (IsAsciiDigit(c))
            out += c;
    return out;
}

QString TrimRight(const QString& text)
{
    int n = int(text.size());
    while (n > 0 && text[n - 1] == QLatin1Char(' '))
        --n;
    return text.left(n);
}

bool DefaultChooser(QWidget* owner, std::string* path)
{
    PathRecord record{};
    if (!ChooseGraphicsFile(owner, &record))
        return false;
    char buffer[kPathTextSize] = {};
    if (PathRecordToString(&record, buffer) != 0)
        return false;
    // The field holds the path as this system writes it: the record's
    // separators become '/' again (a name never holds one).
    *path = buffer;
    std::replace(path->begin(), path->end(), '\\', '/');
    return true;
}

GraphicsFileChooser& Chooser()
{
    static GraphicsFileChooser chooser;
    return chooser;
}

const char* const kStateCodes[] = {
    "AL", "AK", "AZ", "AS", "CA", "CO", "CT", "DE", "DC", "FM", "FL", "GA", "GU", "HI", "ID",
    "IL", "IN", "IA", "KS", "KY", "LA", "ME", "MH", "MD", "MA", "MI", "MN", "MS", "MO", "MT",
    "NE", "NV", "NH", "NJ", "NM", "NY", "NC", "ND", "MP", "OH", "OK", "OR", "PW", "PA", "PR",
    "RI", "SC", "SD", "TN", "TX", "UT", "VT", "VA", "VI", "WA", "WV", "WI", "WY", "AR",
};

// The 33 punctuation characters free text takes besides letters and digits.
const char kTextPunctuation[] = " -+~`!@#$%^&*()_=,.:;\\|[]{}/?<>'\"";

}  // namespace

// --- CDateEdit ----------------------------------------------------------

bool CDateEdit::IsCharAllowed(QChar c, int) const
{
    if (IsAsciiDigit(c))
        return true;
    if (!IsSeparator(c))
        return false;
    const QString t = text();
    return std::count_if(t.begin(), t.end(), IsSeparator) < 2;
}

void CDateEdit::OnTextChanged()
{
    // A date set for the field, not typed into it, is shown as stored.
    if (isModified())
        InsertSeparator();
    CFilteredEdit::OnTextChanged();
}

void CDateEdit::InsertSeparator()
{
    QString t = text();
    int separators = 0;
    int last = -1;
    QChar separator = QLatin1Char('/');
    for (int i = 0; i < t.size(); ++i) {
        if (IsSeparator(t[i])) {
            ++separators;
            last = i;
            separator = t[i];
        }
    }
    if (separators == 0 && t.size() == 3)
        t = t.left(2) + separator + t[2];
    else if (separators == 1 && t.size() - last - 1 == 3)
        t = t.left(last + 3) + separator + t[last + 3];
    else
        return;
    RewriteText(t, int(t.size()));
}

bool CDateEdit::Validate()
{
    if (!ChecksSpeak(Owner()))
        return true;
    const std::string typed = QStringToCp1252(text().left(10));
    if (typed.empty())
        return true;
    const int order = Owner()->IsDomestic() ? 0 : 1;
    char buffer[32] = {};
    std::strncpy(buffer, typed.c_str(), 10);
    if (!CompleteDateText(buffer, order) || !IsValidDateText(buffer, order)) {
        AlertStopById(kDatabaseMessages, kMessageInvalidDate, 0);
        return false;
    }
    const int start = selectionStart();
    const int length = int(selectedText().size());
    const int caret = cursorPosition();
    RewriteText(Cp1252ToQString(buffer), caret);
    if (length > 0)
        setSelection(start, length);
    return true;
}

// --- CPictureEdit -------------------------------------------------------

bool CPictureEdit::IsCharAllowed(QChar c, int) const
{
    // Paths here are written with "/"; the other marks stand for wildcards
    // and redirections in the shell.
    return !QStringLiteral("*?\"<>|").contains(c);
}

void CPictureEdit::RefusedTooLong()
{
    const std::string text = "This path is longer than the " + std::to_string(Limit()) +
                             " characters a picture's path may have in the database; it was not taken. Move the "
                             "picture to a folder with a shorter path.";
    AlertStop(text.c_str(), 0);
}

void CPictureEdit::TypedTooLong()
{
    const QString taken = TakenText();
    if (text() != taken) {
        setText(taken);
        end(false);
        NotifyParent();
    }
    RefusedTooLong();
}

bool CPictureEdit::Validate()
{
    const QString name = TrimRight(text());
    if (name.isEmpty() || QFileInfo::exists(Cp1252ToQString(ExpandHomeFolder(QStringToCp1252(name)))))
        return true;
    if (ChecksSpeak(Owner()))
        AlertStopById(kDatabaseMessages, kMessagePicturePath, 0);
    return true;
}

void CPictureEdit::ImportGraphics()
{
    std::string path;
    const GraphicsFileChooser& chooser = Chooser();
    const bool chosen = chooser ? chooser(this, &path) : DefaultChooser(this, &path);
    if (!chosen)
        return;
    const QString text = Cp1252ToQString(path);
    if (text.size() > Limit()) {
        RefusedTooLong();
        return;
    }
    SetText(&text, nullptr, 0, false);
    OnTextChanged();
}

GraphicsFileChooser SetGraphicsFileChooser(GraphicsFileChooser chooser)
{
    GraphicsFileChooser previous = std::move(Chooser());
    Chooser() = std::move(chooser);
    return previous;
}

// --- CStateEdit ---------------------------------------------------------

bool IsStateCode(const std::string& code)
{
    for (const char* s : kStateCodes)
        if (code == s)
            return true;
    return false;
}

bool CStateEdit::IsCharAllowed(QChar c, int) const { return IsAsciiLetter(c); }

void CStateEdit::OnTextChanged()
{
    // Only what the user types is rewritten: a record loaded into the form
    // shows its state as stored, and storing it keeps it so.
    if (Domestic(Owner()) && isModified()) {
        const QString t = text();
        const QString upper = t.toUpper();
        if (upper != t) {
            const int start = hasSelectedText() ? selectionStart() : cursorPosition();
            const bool atEnd = cursorPosition() == t.size();
            RewriteText(upper, CaretAfterRewrite(start, atEnd, int(upper.size())));
        }
    }
    CFilteredEdit::OnTextChanged();
}

bool CStateEdit::Validate()
{
    if (!Domestic(Owner()) || !ChecksSpeak(Owner()) || text().isEmpty())
        return true;
    const QString code = TrimRight(text()).toUpper();
    if (code.size() != 2 || !IsStateCode(code.toStdString()))
        AlertStopById(kDatabaseMessages, kMessageState, 0);
    return true;
}

// --- CTextEdit ----------------------------------------------------------

CTextEdit::CTextEdit(QWidget* parent) : CFilteredEdit(parent) { allowed_ = QString::fromLatin1(kTextPunctuation); }

bool CTextEdit::IsCharAllowed(QChar c, int position) const
{
    return c.isLetterOrNumber() || CFilteredEdit::IsCharAllowed(c, position);
}

// --- CZipEdit -----------------------------------------------------------

bool CZipEdit::IsCharAllowed(QChar c, int) const
{
    if (!Domestic(Owner()))
        return true;
    return IsAsciiDigit(c) || c == QLatin1Char('-');
}

void CZipEdit::OnTextChanged()
{
    // A stored ZIP code from abroad (30-001) stays as it is until the user
    // types into it.
    if (Domestic(Owner()) && isModified()) {
        const QString t = text();
        const QString digits = Digits(t);
        if (digits.size() == 5 || digits.size() == 9 || digits.size() == 11) {
            QString rebuilt = digits.left(5);
            if (digits.size() > 5)
                rebuilt += QLatin1Char('-') + digits.mid(5);
            if (rebuilt != t) {
                const int start = hasSelectedText() ? selectionStart() : cursorPosition();
                const bool atEnd = cursorPosition() == t.size();
                RewriteText(rebuilt, CaretAfterRewrite(start, atEnd, int(rebuilt.size())));
            }
        }
    }
    CFilteredEdit::OnTextChanged();
}

bool CZipEdit::Validate()
{
    if (!Domestic(Owner()) || !ChecksSpeak(Owner()))
        return true;
    const qsizetype n = Digits(text()).size();
    if (n != 0 && n != 5 && n != 9 && n != 11)
        AlertStopById(kDatabaseMessages, kMessageZipDigits, 0);
    return true;
}

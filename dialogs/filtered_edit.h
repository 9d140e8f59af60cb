// CFilteredEdit: the single-line edit of the data-entry form, the database
// dialogs, the property dialogs and the wizard pages. It refuses typed and
// pasted characters its kind does not take, checks its text when the focus
// leaves it, reports every change to its host, and in data-entry mode turns
// the navigation keys into reports of their own so that the form can move
// between fields and records.
//
// A subclass fixes the kind: its character rule (IsCharAllowed), its check
// (Validate) and what it rewrites as the user types (OnTextChanged).
#pragma once

#include <cstdint>
#include <string>

#include <QLineEdit>

// What an edit asks of the database document it serves (the data-entry
// form's edits have one; dialogs' edits have none).
class FilteredEditOwner {
public:
    virtual ~FilteredEditOwner() = default;
    // The field shown in the edit with this control id was changed.
    virtual void FieldChanged(int32_t controlId) = 0;
    // Cleared while the document fills its views; the checks stay silent.
    virtual bool RefreshAllowed() const = 0;
    // The Verification setting: Domestic (month/day/year, US states and ZIP
    // codes) or International.
    virtual bool IsDomestic() const = 0;
};

class CFilteredEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CFilteredEdit(QWidget* parent = nullptr);

    // The id the edit's reports carry (the dialog control id).
    void SetControlId(int32_t id) { controlId_ = id; }
    int32_t ControlId() const { return controlId_; }

    // Stores owner and limit, then shows the text with the fast-fill text
    // hidden. The flag is taken for the callers' sake and changes nothing.
    void Setup(const QString& text, int32_t limit, const QString& fastFill, int32_t flag, FilteredEditOwner* owner);
    // A null text or fast-fill text leaves that one as it is. The caret
    // goes to the end.
    void SetText(const QString* text, const QString* fastFill, int32_t showFastFill, bool redrawNow);
    // The text up to the selection start (at most 254 characters).
    QString GetTextBeforeSelection() const;
    void SetDataEntryMode(bool on) { dataEntryMode_ = on; }
    bool DataEntryMode() const { return dataEntryMode_; }
    void Repaint() { update(); }

    int32_t Limit() const { return limit_; }
    FilteredEditOwner* Owner() const { return owner_; }
    // The owner is going: the edit checks and reports nothing more.
    void ForgetOwner() { owner_ = nullptr; }
    const QString& FastFillText() const { return fastFill_; }
    bool ShowsFastFill() const { return showFastFill_ != 0; }

    // May the character be typed at the position (the selection start)?
    virtual bool IsCharAllowed(QChar c, int position) const;
    // Is the text acceptable? May rewrite it.
    virtual bool Validate();
    // Once per change of the text.
    virtual void OnTextChanged();
    // Tells the host that the user changed the text.
    virtual void NotifyParent();
    // A paste would pass the limit and was refused. Base: says so.
    virtual void RefusedTooLong();
    // A typed character (or one of an input method's) would pass the limit
    // and was not taken. Base: silence.
    virtual void TypedTooLong() {}
    // A typed character the kind does not take was refused with a beep.
    // Base: nothing more.
    virtual void SayRefused(QChar) {}

    // The clipboard's text, inserted only when all of it is allowed, as
    // typing would take it, and fits; characters Windows-1252 lacks are left
    // out first, with one message, and so is one line end at its end. A
    // paste refused says why.
    void Paste();

Q_SIGNALS:
    // After every typed character that reaches the edit, and after Delete.
    void EditChanged(int32_t controlId);
    // Data-entry mode: Tab, with the Shift state.
    void TabKey(int32_t controlId, bool shift);
    // Data-entry mode: Enter, the page and arrow keys, Home, End and the
    // bracket keys with Ctrl, by their key code or character; shift tells
    // the form whether Shift was held (Shift+Enter starts a new record).
    void NavigationKey(int32_t key, bool shift);

protected:
    bool event(QEvent* event) override;
    // A character Windows-1252 lacks is refused with a beep, as a
    // character the kind does not take.
    void keyPressEvent(QKeyEvent* event) override;
    // What an input method commits goes in as the same characters typed.
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    void focusInEvent(QFocusEvent* event) override;

    // Sets the text without this edit's own change handling running again.
    void RewriteText(const QString& text, int caret);
    // The text as the field last took it: when it got the focus, when its
    // text was set for it, and after Enter or a move to another record.
    const QString& TakenText() const { return takenText_; }
    // The caret after a rewrite: at the end when it was there, else at the
    // old selection start within the new length.
    static int CaretAfterRewrite(int oldStart, bool wasAtEnd, int newLength);

    QString allowed_;

private:
    enum class Typed { kTaken, kRefused, kPastLimit };

    void ReflectChange();
    // Whether the character may go in at the position as typing puts it
    // there: one the code page has, that is no control code and, from 32 to
    // 125, that the kind takes.
    bool TakesAsTyped(QChar c, int position) const;
    // Inserts one character as a key would, without a sound.
    Typed TypeCharacter(QChar c);
    // Whether n more characters fit, the selection replaced.
    bool Fits(qsizetype n) const;
    // The index of the first character of the text that typing would not
    // put in at the selection; -1 when it takes them all.
    int FirstRefused(const QString& text) const;
    // Runs Validate with the focus-loss check switched off meanwhile (its
    // message box takes the focus).
    bool RunCheck();
    bool DataEntryKey(QKeyEvent* event);

    QString fastFill_;
    int32_t limit_ = 255;
    int32_t controlId_ = 0;
    bool dataEntryMode_ = false;
    bool checkOnFocusLoss_ = true;
    int32_t showFastFill_ = 0;
    FilteredEditOwner* owner_ = nullptr;
    QString takenText_;
};

// True for an edit of the filtered family.
bool IsFilteredEditWindow(const QWidget* window);

// The point and the comma are both decimal marks, on every desktop; no box
// takes a thousands mark.
bool IsDecimalMark(QChar c);
// How many decimal marks the text holds: a number typed with two
// ("1.234,5") is refused whole, never read as another number.
int DecimalMarks(const QString& text);
// What a box says when it refuses such a number and keeps its old one.
std::string TwoDecimalMarksText(const QString& typed, const QString& kept);

// The leading decimal number of a text ([+-]digits[.digits], the comma
// taken as a decimal point too), 0 when it has none; the rest of the text is
// ignored.
double LeadingDecimal(const QString& text);
// The leading integer of a text, held within 32 bits; 0 when none.
int32_t LeadingInteger(const QString& text);

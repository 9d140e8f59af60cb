// The edits of the data-entry form's special fields: dates, picture file
// names, US states, free text and ZIP codes. Their checks speak only when
// an owning database document allows it; in a dialog (no owner) they are
// silent.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dialogs/filtered_edit.h"

class CDateEdit : public CFilteredEdit {
    Q_OBJECT

public:
    explicit CDateEdit(QWidget* parent = nullptr) : CFilteredEdit(parent) {}
    // Digits, and up to two separators ("/", ":" or "-").
    bool IsCharAllowed(QChar c, int position) const override;
    // Completes the date from today in the owner's order; "Invalid Date."
    // and false when it is no calendar date.
    bool Validate() override;
    // A separator goes in after the day and month digits as they are typed.
    void OnTextChanged() override;

private:
    void InsertSeparator();
};

class CPictureEdit : public CFilteredEdit {
    Q_OBJECT

public:
    explicit CPictureEdit(QWidget* parent = nullptr) : CFilteredEdit(parent) {}
    // Anything a path of this system may hold, "/" included.
    bool IsCharAllowed(QChar c, int position) const override;
    // Tells the user when no file has the name. Always true.
    bool Validate() override;
    // The File menu's Import Graphics: the chosen file's path becomes the
    // text; a cancelled choice leaves it, and so does a path longer than
    // the field holds (the user is told).
    void ImportGraphics();
    // A cut path would name another file: the user is told the limit.
    void RefusedTooLong() override;
    // A path typed past the limit is refused as a pasted one is: the field
    // gets back the path it held, and the user is told the limit.
    void TypedTooLong() override;
};

// Lets the user choose a picture file; false when cancelled. Tests install
// their own (null restores the file dialog).
using GraphicsFileChooser = std::function<bool(QWidget* owner, std::string* path)>;
GraphicsFileChooser SetGraphicsFileChooser(GraphicsFileChooser chooser);

class CStateEdit : public CFilteredEdit {
    Q_OBJECT

public:
    explicit CStateEdit(QWidget* parent = nullptr) : CFilteredEdit(parent) {}
    bool IsCharAllowed(QChar c, int position) const override;
    // Domestic: one of the state table's codes, else a message. Always true.
    bool Validate() override;
    // Domestic: upper case as typed (a state set for the field stays as
    // it is).
    void OnTextChanged() override;
};

// The US state and territory codes a Domestic state field takes.
bool IsStateCode(const std::string& code);

class CTextEdit : public CFilteredEdit {
    Q_OBJECT

public:
    explicit CTextEdit(QWidget* parent = nullptr);
    // Letters, digits and the punctuation set.
    bool IsCharAllowed(QChar c, int position) const override;
};

class CZipEdit : public CFilteredEdit {
    Q_OBJECT

public:
    explicit CZipEdit(QWidget* parent = nullptr) : CFilteredEdit(parent) {}
    // Domestic: digits and "-"; otherwise anything.
    bool IsCharAllowed(QChar c, int position) const override;
    // Domestic: 5, 9 or 11 digits (or none), else a message. Always true.
    bool Validate() override;
    // Domestic: 12345-6789 is written as soon as nine digits are typed (a
    // code set for the field stays as it is).
    void OnTextChanged() override;
};

// "Find/Replace Text" (Edit > Find\Replace Text): the one dialog that stays
// open beside the card view. Each of its buttons runs the text engine's
// find and replace on the dialog's settings while the text tool is the
// current tool; with another tool they only keep the settings.
//
// The card document keeps a pointer to its open dialog, so that the command
// brings the existing dialog back instead of making a second one; the
// dialog clears that pointer when it is destroyed ("Close" destroys it).
#pragma once

#include <cstdint>

#include "dialogs/record_dialog.h"
#include "foundation/pstr.h"
#include "text/find_replace.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class TextContext;
class CDlgFindReplace;

// What the dialog needs of the card document.
class FindReplaceDocument {
public:
    virtual ~FindReplaceDocument() = default;
    // The text engine of the text tool while it is the current tool, else
    // null.
    virtual TextContext* TextToolContext() = 0;

    // The open dialog, or null.
    CDlgFindReplace* findReplaceDialog = nullptr;
};

class CDlgFindReplace : public OpeningDialog {
public:
    explicit CDlgFindReplace(QWidget* parent = nullptr);
    ~CDlgFindReplace() override;

    // Keeps the document, reads the text tool's selection and copies the
    // settings into the controls.
    void Init(const FindSettings& settings, FindReplaceDocument* document);
    // Reads the selection again, brings the dialog to the front and puts
    // the focus on the whole of the find text.
    void Activate();

    // The settings as the controls last stored them.
    const FindSettings& Settings() const { return settings_; }
    // The selection the buttons were last set for (a PStr).
    const uint8_t* Selection() const { return selection_; }

    QLineEdit* FindEdit() const { return find_; }
    QLineEdit* ReplaceEdit() const { return replace_; }
    QCheckBox* WholeWordBox() const { return wholeWord_; }
    QCheckBox* IgnoreCaseBox() const { return ignoreCase_; }
    QPushButton* FindNextButton() const { return findNext_; }
    QPushButton* ReplaceButton() const { return replaceOne_; }
    QPushButton* ReplaceAllButton() const { return replaceAll_; }
    QPushButton* CloseButton() const { return close_; }

    // "Close" (and Esc) destroy the dialog.
    void reject() override;

private:
    void ReadSelection();
    void StoreControls();
    void UpdateButtons();
    void Run(FindMode mode);
    void OnTextChanged();
    void FocusFindText();

    FindReplaceDocument* document_ = nullptr;
    FindSettings settings_;
    PStr selection_ = {};

    QLineEdit* find_;
    QLineEdit* replace_;
    QCheckBox* wholeWord_;
    QCheckBox* ignoreCase_;
    QPushButton* findNext_;
    QPushButton* replaceOne_;
    QPushButton* replaceAll_;
    QPushButton* close_;
};

// Edit > Find\Replace Text: makes the document's dialog from the settings
// and shows it, or shows and activates the one already open. Returns it.
CDlgFindReplace* ShowFindReplaceDialog(FindReplaceDocument* document, const FindSettings& settings,
                                       QWidget* parent = nullptr);

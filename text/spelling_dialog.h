// The spelling dialog: shows the word the checker found, the dictionary's
// suggestions for it and a field for its replacement, and lets the user
// replace the word, skip it, add a word to the dictionary or remove one.
//
// Replace stays disabled until a suggestion is chosen; Skip is the default
// button until then. Skip and Replace go on to the next word and the
// dialog ends when there is none (in word mode Replace ends it at once).
#pragma once

#include <functional>

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class SpellCheck;

class SpellingDialog : public QDialog {
public:
    // The check has found and selected its first word.
    explicit SpellingDialog(SpellCheck* check, QWidget* parent = nullptr);

    QLabel* SuspectWord() const { return suspect_; }
    QListWidget* Suggestions() const { return list_; }
    QLineEdit* ReplaceWith() const { return edit_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* RemoveButton() const { return remove_; }
    QPushButton* SkipButton() const { return skip_; }
    QPushButton* ReplaceButton() const { return replace_; }
    QPushButton* CloseButton() const { return close_; }

private:
    // The check's word in the suspect text and the field, the suggestion
    // list in the list box, nothing chosen.
    void Refill();
    void Choose(int row);
    void Skip();
    void Replace();
    void Add();
    void Remove();

    SpellCheck* check_;
    QLabel* suspect_;
    QListWidget* list_;
    QLineEdit* edit_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* skip_;
    QPushButton* replace_;
    QPushButton* close_;
    bool replaceIsDefault_ = false;
};

// Runs the dialog modally and returns its result. Tests install a runner
// that drives it instead (null restores the modal loop); the previous
// runner is returned.
using SpellingDialogRunner = std::function<int(SpellingDialog&)>;
SpellingDialogRunner SetSpellingDialogRunner(SpellingDialogRunner runner);
int RunSpellingDialog(SpellingDialog& dialog);

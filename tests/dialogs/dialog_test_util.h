// Helpers of the dialog tests: typing into fields, choosing combo items the
// way the user does, and an owner standing in for a database document.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "dialogs/filtered_edit.h"

// Replaces a field's text by typing, as the user would.
inline void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Chooses a combo item with the mouse: selection, then the confirmation.
inline void ChooseItem(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
}

// Types into an editable combo's edit.
inline void TypeIntoCombo(QComboBox* combo, const QString& text)
{
    QLineEdit* edit = combo->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

struct TestOwner : FilteredEditOwner {
    void FieldChanged(int32_t id) override { changed.push_back(id); }
    bool RefreshAllowed() const override { return refresh; }
    bool IsDomestic() const override { return domestic; }
    std::vector<int32_t> changed;
    bool refresh = true;
    bool domestic = true;
};

// Shows a dialog and lets it open.
template <typename D>
void Open(D& dialog)
{
    dialog.show();
    QApplication::processEvents();
}

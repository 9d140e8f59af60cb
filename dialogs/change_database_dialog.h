// "Change Database": which of the open databases fills the cards of a
// print job. The index is the database's 1-based ordinal among the open
// ones, 0 for none.
#pragma once

#include <cstdint>

#include <QDialog>

class QComboBox;

class CDlgChangeDatabase : public QDialog {
public:
    explicit CDlgChangeDatabase(QWidget* parent = nullptr);

    // Before the dialog runs: the database to select.
    void SetIndex(int16_t index);
    int16_t Index() const { return index_; }
    QComboBox* List() const { return list_; }

    void accept() override;

private:
    void TakeSelection();

    QComboBox* list_ = nullptr;
    int16_t index_ = 0;
};

// CPgWiz_AllBd: the Backdrop page of a custom document: every backdrop of
// the backdrop list under "No Backdrop", and the colour variants of the one
// chosen. The preview takes the size of the document being made.
#pragma once

#include "wizard/pg_wiz.h"

class QComboBox;
class QListWidget;

class CPgWiz_AllBd : public CPgWiz {
public:
    CPgWiz_AllBd();

    void UpdateButtons() override;
    void OnPageShown() override;
    void StoreChoice() override;

    QListWidget* List() const { return list_; }
    QComboBox* Colours() const { return colours_; }
    void OnListSelChanged();
    void ApplyColourSelection();

protected:
    void BuildControls() override;
    bool OnInitDialog() override;

private:
    void FillList();
    void FillColourCombo();
    uint32_t SelectedId() const;

    QListWidget* list_ = nullptr;
    QComboBox* colours_ = nullptr;
};

// CPgWiz_2: the Backdrop page of a ready-made category: the category's
// backdrops as a tree under "No Backdrop", and the colour variants of the
// one chosen.
#pragma once

#include <cstdint>

#include "wizard/pg_wiz.h"

class CCategoryTreeCtrl;
class QComboBox;

class CPgWiz_2 : public CPgWiz {
public:
    CPgWiz_2();

    void UpdateButtons() override;
    void OnPageShown() override;
    void StoreChoice() override;

    CCategoryTreeCtrl* Tree() const { return backdrops_; }
    QComboBox* Colours() const { return colours_; }
    uint32_t ColourIndex() const { return colourIndex_; }
    void OnSelChanged();
    void OnColourChosen();

protected:
    void BuildControls() override;
    bool OnInitDialog() override;

private:
    void FillColourCombo();
    void ShowPreview();
    void SelectRecordBackdrop();
    uint32_t GroupOf(const WizNode* node) const;

    uint32_t colourIndex_ = 0;
    CCategoryTreeCtrl* backdrops_ = nullptr;
    QComboBox* colours_ = nullptr;
};

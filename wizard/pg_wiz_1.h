// CPgWiz_1: the Document Type page, the first of a new document. It shows
// the catalogue's categories with "Custom Document" on top; a category
// brings its label layout along, the custom document goes on to the
// Document Properties page.
#pragma once

#include "wizard/pg_wiz.h"

class CCategoryTreeCtrl;

class CPgWiz_1 : public CPgWiz {
public:
    CPgWiz_1();

    void UpdateButtons() override;
    void OnPageShown() override;
    void StoreChoice() override;

    CCategoryTreeCtrl* Tree() const { return categories_; }
    // TVN_SELCHANGED of the tree.
    void OnSelChanged();

protected:
    void BuildControls() override;
    bool OnInitDialog() override;

private:
    CCategoryTreeCtrl* categories_ = nullptr;
};

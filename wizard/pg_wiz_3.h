// CPgWiz_3: the Layout page: "No Layout" and the templates that suit the
// choices so far, with the chosen one drawn over the backdrop. In a
// Change Layout and Design run it is the last page.
#pragma once

#include <cstdint>

#include "wizard/pg_wiz.h"

class QListWidget;

class CPgWiz_3 : public CPgWiz {
public:
    CPgWiz_3();

    void UpdateButtons() override;
    void OnPageShown() override;
    void StoreChoice() override;

    QListWidget* List() const { return list_; }
    uint32_t TemplateId() const { return templateId_; }
    void ApplyListSelection();

protected:
    void BuildControls() override;
    bool OnInitDialog() override;

private:
    void FillList();
    void Rebuild();
    void ShowOverlay();

    uint32_t templateId_ = 0;
    QListWidget* list_ = nullptr;
};

// CPgWiz_Finish: the last page of a new document. It shows what Finish
// will make, the backdrop with the document drawn over it, and lets the
// user print from the hidden card document before the real one exists.
#pragma once

#include "wizard/pg_wiz.h"

class QPushButton;

class CPgWiz_Finish : public CPgWiz {
public:
    CPgWiz_Finish();

    void UpdateButtons() override;
    void OnPageShown() override;

    CWizardPreviewWnd* FinishPicture() const { return picture_; }
    QPushButton* PrintSheetButton() const { return printSheet_; }
    QPushButton* PrintOptionsButton() const { return printOptions_; }
    QPushButton* PrintFromDatabaseButton() const { return printFromDatabase_; }
    int32_t RebuildCount() const { return rebuilds_; }

    void OnPrintSheet();
    void OnPrintFromDatabase();
    void OnPrintOptions();

protected:
    void BuildControls() override;
    bool OnInitDialog() override;

private:
    void RebuildPreviews();

    CWizardPreviewWnd* picture_ = nullptr;
    QPushButton* printSheet_ = nullptr;
    QPushButton* printOptions_ = nullptr;
    QPushButton* printFromDatabase_ = nullptr;
    int32_t rebuilds_ = 0;
};

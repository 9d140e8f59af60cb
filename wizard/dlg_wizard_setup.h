// CDlgWizardSetup: the "Wizard Setup" sheet, the maintenance tool of the
// wizard's data. Its five pages edit the backdrop list, the template list,
// the wizard tree's relations, the wizard's header pictures, and check the
// whole for damage. It has one button, "Close": every change is made in
// the data at once, and the tree is written back when the caller closes
// the wizard data.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <QDialog>

#include "catalog/wiz_tree.h"

class CPgWS;
class CPgWS_Backdrops;
class CPgWS_Pictures;
class CPgWS_Relations;
class CPgWS_Special;
class CPgWS_Templates;
class QDialogButtonBox;
class QPushButton;
class QTabWidget;

// Pages in the order the sheet shows them.
enum : int32_t {
    kSetupPageBackdrops = 0,
    kSetupPageTemplates = 1,
    kSetupPageRelations = 2,
    kSetupPagePictures = 3,
    kSetupPageSpecial = 4,
    kSetupPageCount = 5,
};

class CDlgWizardSetup : public QDialog {
public:
    CDlgWizardSetup(const char* caption, QWidget* parent, int32_t firstPage = 0);
    ~CDlgWizardSetup() override;
    CDlgWizardSetup(const CDlgWizardSetup&) = delete;
    CDlgWizardSetup& operator=(const CDlgWizardSetup&) = delete;

    // Hands every page the tree and the counters, in the order shown.
    void Init(CWizTree* tree);
    // The sheet's one button closes it: always 2.
    int32_t DoModal();
    // Once, from the first page that initialises.
    void PrepareSheet();
    bool Prepared() const { return prepared_; }

    CWizTree* Tree() const { return tree_; }
    CPgWS* Page(int32_t index) const { return table_[size_t(index)]; }
    int32_t ActiveIndex() const;
    void SetActivePage(int32_t index);
    uint32_t BackdropCounter() const { return backdropCounter_; }
    uint32_t TemplateCounter() const { return templateCounter_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CloseButton() const { return close_; }

private:
    std::unique_ptr<CPgWS_Backdrops> backdrops_;
    std::unique_ptr<CPgWS_Templates> templates_;
    std::unique_ptr<CPgWS_Pictures> pictures_;
    std::unique_ptr<CPgWS_Relations> relations_;
    std::unique_ptr<CPgWS_Special> special_;
    std::array<CPgWS*, kSetupPageCount> table_{};
    CWizTree* tree_ = nullptr;
    bool prepared_ = false;
    uint32_t backdropCounter_ = 1;
    uint32_t templateCounter_ = 1;
    int32_t firstPage_ = 0;
    QTabWidget* tabs_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* close_ = nullptr;
};

// The set-up command: opens the wizard data for reading and writing, runs
// the sheet over the tree when that succeeded, and closes the data in
// every case, which writes the tree back.
void RunWizardSetup(QWidget* parent);

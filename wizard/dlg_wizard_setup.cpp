#include "wizard/dlg_wizard_setup.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "catalog/wizard_data.h"
#include "foundation/cp1252.h"
#include "wizard/pg_ws_backdrops.h"
#include "wizard/pg_ws_pictures.h"
#include "wizard/pg_ws_relations.h"
#include "wizard/pg_ws_special.h"
#include "wizard/pg_ws_templates.h"

CDlgWizardSetup::CDlgWizardSetup(const char* caption, QWidget* parent, int32_t firstPage)
    : QDialog(parent),
      backdrops_(std::make_unique<CPgWS_Backdrops>()),
      templates_(std::make_unique<CPgWS_Templates>()),
      pictures_(std::make_unique<CPgWS_Pictures>()),
      relations_(std::make_unique<CPgWS_Relations>()),
      special_(std::make_unique<CPgWS_Special>()),
      firstPage_(firstPage)
{
    setObjectName(QStringLiteral("wizardSetup"));
    setWindowTitle(Cp1252ToQString(caption ? caption : ""));
    tabs_ = new QTabWidget(this);
    buttons_ = new QDialogButtonBox(this);
    ok_ = buttons_->addButton(QDialogButtonBox::Ok);
    close_ = buttons_->addButton(QDialogButtonBox::Cancel);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons_);
}

CDlgWizardSetup::~CDlgWizardSetup()
{
    // The pages are the sheet's members, not children of its tab widget.
    if (tabs_) {
        while (tabs_->count() > 0) {
            QWidget* page = tabs_->widget(0);
            tabs_->removeTab(0);
            page->setParent(nullptr);
        }
    }
}

void CDlgWizardSetup::Init(CWizTree* tree)
{
    tree_ = tree;
    table_ = {backdrops_.get(), templates_.get(), relations_.get(), pictures_.get(), special_.get()};
    for (CPgWS* page : table_) {
        page->Attach(tree, this, &backdropCounter_, &templateCounter_);
        tabs_->addTab(page, page->Caption());
    }
    if (firstPage_ > 0 && firstPage_ < kSetupPageCount)
        tabs_->setCurrentIndex(firstPage_);
}

int32_t CDlgWizardSetup::DoModal()
{
    exec();
    return 2;
}

void CDlgWizardSetup::PrepareSheet()
{
    if (prepared_)
        return;
    // Every change is made in the data at once: there is nothing to
    // confirm, only to close.
    ok_->hide();
    close_->setText(QStringLiteral("Close"));
    prepared_ = true;
}

int32_t CDlgWizardSetup::ActiveIndex() const
{
    return tabs_->currentIndex();
}

void CDlgWizardSetup::SetActivePage(int32_t index)
{
    tabs_->setCurrentIndex(index);
}

void RunWizardSetup(QWidget* parent)
{
    CDlgWizardSetup sheet("Wizard Setup", parent);
    if (WizardDataOpen(2) == 0 && GetWizardTree()) {
        sheet.Init(GetWizardTree());
        sheet.DoModal();
    }
    WizardDataClose();
}

#include "wizard/card_layout_wizard.h"

#include "catalog/doc_setup.h"
#include "catalog/wizard_data.h"
#include "wizard/dlg_wizard.h"
#include "wizard/dlg_wizard_setup.h"
#include "wizard/new_document_wizard.h"

bool CardLayoutWizard::RunLayoutWizard(uint8_t* record, QWidget* parent)
{
    CDlgWizard sheet("Change Layout", parent);
    // The wizard's data is closed on every way out.
    struct Bracket {
        int32_t opened = WizardDataOpen(0);
        ~Bracket() { WizardDataClose(); }
    } data;
    if (data.opened != 0)
        return false;
    DocSetup setup;
    DocSetupDecode(record, &setup);
    sheet.Init(GetWizardTree(), 2, &setup);
    if (RunWizardSheet(&sheet) != kIdWizFinish)
        return false;
    sheet.GetResult(record);
    return true;
}

void CardLayoutWizard::RunWizardSetup(QWidget* parent) { ::RunWizardSetup(parent); }

void InstallCardLayoutWizard()
{
    static CardLayoutWizard wizard;
    SetLayoutWizard(&wizard);
}

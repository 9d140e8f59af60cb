#include "wizard/new_document_wizard.h"

#include "wizard/dlg_wizard.h"

namespace {

WizardSheetRunner g_runner = nullptr;

}  // namespace

WizardSheetRunner SetWizardSheetRunner(WizardSheetRunner runner)
{
    WizardSheetRunner previous = g_runner;
    g_runner = runner;
    return previous;
}

int32_t RunWizardSheet(CDlgWizard* sheet) { return g_runner ? g_runner(sheet) : sheet->DoModal(); }

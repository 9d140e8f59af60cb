#include "wizard/wizard_shell.h"

namespace {

WizardShell* g_shell = nullptr;

}  // namespace

WizardShell* CurrentWizardShell() { return g_shell; }

WizardShell* SetWizardShell(WizardShell* shell)
{
    WizardShell* previous = g_shell;
    g_shell = shell;
    return previous;
}

#include "carddoc/layout_wizard_host.h"

namespace {

LayoutWizardHost* g_wizard = nullptr;

}  // namespace

LayoutWizardHost* CurrentLayoutWizard() { return g_wizard; }

LayoutWizardHost* SetLayoutWizard(LayoutWizardHost* wizard)
{
    LayoutWizardHost* previous = g_wizard;
    g_wizard = wizard;
    return previous;
}

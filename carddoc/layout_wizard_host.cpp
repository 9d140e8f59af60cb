#include "carddoc/layout_wizard_host.h"

#include <utility>

namespace {

LayoutWizardHost* g_wizard = nullptr;

}  // namespace

LayoutWizardHost* CurrentLayoutWizard() { return g_wizard; }

LayoutWizardHost* SetLayoutWizard(LayoutWizardHost* wizard) { return std::exchange(g_wizard, wizard); }

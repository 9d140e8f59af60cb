// How the wizard's sheet is run: modally, or by a test or tool that presses
// its buttons itself.
#pragma once

#include <cstdint>

class CDlgWizard;

// How the sheet is run; tests and tools press its buttons themselves. The
// default runs it modally. Answers what DoModal answers.
using WizardSheetRunner = int32_t (*)(CDlgWizard* sheet);
WizardSheetRunner SetWizardSheetRunner(WizardSheetRunner runner);
// Runs the sheet the way that is installed.
int32_t RunWizardSheet(CDlgWizard* sheet);

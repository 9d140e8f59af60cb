// File > New > Document: the wizard over the catalogue, then a new card
// document made from the set-up the user finished with.
#pragma once

#include <cstdint>

class CCardApp;
class CDlgWizard;
class ShellDocument;

// Runs the wizard; the new document, or null when the wizard was
// cancelled, its data could not be opened or no document could be made.
ShellDocument* RunNewDocumentWizard(CCardApp* app);

// How the sheet is run; tests and tools press its buttons themselves. The
// default runs it modally. Answers what DoModal answers.
using WizardSheetRunner = int32_t (*)(CDlgWizard* sheet);
WizardSheetRunner SetWizardSheetRunner(WizardSheetRunner runner);
// Runs the sheet the way that is installed.
int32_t RunWizardSheet(CDlgWizard* sheet);

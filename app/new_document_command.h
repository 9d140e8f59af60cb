// File > New > Document: the wizard over the catalogue, then a new card
// document made from the set-up the user finished with.
#pragma once

class CCardApp;
class ShellDocument;

// Runs the wizard; the new document, or null when the wizard was
// cancelled, its data could not be opened or no document could be made.
ShellDocument* RunNewDocumentWizard(CCardApp* app);

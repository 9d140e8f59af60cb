#include "app/new_document_command.h"

#include <cstring>

#include "app/card_app.h"
#include "app/card_document_kind.h"
#include "app/main_frame.h"
#include "carddoc/labels_doc.h"
#include "catalog/wizard_data.h"
#include "database/open_database_registry.h"
#include "wizard/dlg_wizard.h"
#include "wizard/new_document_wizard.h"

namespace {

// Closes the wizard's data on every way out.
struct WizardDataBracket {
    int32_t opened = WizardDataOpen(0);
    ~WizardDataBracket() { WizardDataClose(); }
};

}  // namespace

ShellDocument* RunNewDocumentWizard(CCardApp* app)
{
    if (!app)
        return nullptr;
    CDlgWizard sheet("Wizard", app->MainFrame());
    const bool databaseOpen = AnyDatabaseOpen();
    WizardDataBracket data;
    if (data.opened != 0)
        return nullptr;
    sheet.Init(GetWizardTree(), 1, nullptr);
    const int32_t result = RunWizardSheet(&sheet);
    if (result != kIdOk && result != kIdWizFinish)
        return nullptr;
    uint8_t* setup = app->DefaultDocSetup();
    sheet.GetResult(setup);
    std::memcpy(app->CurrentLabelType(), setup + kDocSetupLabelTypeOffset, kAppLabelTypeSize);
    const bool linked = sheet.Record().databaseUse != 0;
    if (app->MainFrame() && !(databaseOpen && !linked))
        app->MainFrame()->ShowDatabaseToolBar(linked);
    // The card document takes its layout from the application's record and
    // applies its design (template, backdrop, field formats) once its first
    // page is open.
    return app->CreateNewLabelDocument(nullptr, true);
}

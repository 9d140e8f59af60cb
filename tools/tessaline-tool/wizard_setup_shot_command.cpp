// wizard-setup-shot PAGE OUT.png: a picture of one page of the wizard
// set-up sheet over a copy of the shipped starter catalogue, for looking
// at.

#include <cstdlib>
#include <memory>
#include <string>

#include <QApplication>
#include <QCoreApplication>
#include <QPixmap>
#include <QTemporaryDir>

#include "catalog/wizard_data.h"
#include "catalog/wizard_folders.h"
#include "catalog/wizard_profile.h"
#include "foundation/path_record.h"
#include "foundation/program_folder.h"
#include "offscreen_application.h"
#include "tool_command.h"
#include "wizard/dlg_wizard_setup.h"
#include "wizard/pg_ws.h"
#include "wizard/pg_ws_special.h"
#include "wizard/smart_listbox.h"

namespace {

const char* const kPages[kSetupPageCount] = {"backdrops", "templates", "relations", "pictures", "special"};

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

int32_t QuietProfile(const char*, int32_t defaultValue)
{
    return defaultValue;
}

int RunWizardSetupShot(const ToolArgs& args)
{
    std::string names;
    for (const char* page : kPages)
        names += names.empty() ? page : std::string(", ") + page;
    if (args.size() != 2)
        return ToolFail("usage: wizard-setup-shot PAGE OUT.png (PAGE: " + names + ")");
    int32_t index = -1;
    for (int32_t i = 0; i < kSetupPageCount; ++i) {
        if (args[0] == kPages[i])
            index = i;
    }
    if (index < 0)
        return ToolFail("no page named " + args[0] + " (PAGE: " + names + ")");
    const std::unique_ptr<QApplication> app = StartOffscreenApplication();

    QTemporaryDir temp;
    if (!temp.isValid())
        return ToolFail("no temporary folder");
    const std::string home = temp.path().toStdString() + "/";
    if (SeedFolder(InstalledDataFolder() + "/Wizard", home + "Wizard") != 0)
        return ToolFail("the starter catalogue cannot be copied");
    PathRecord record;
    if (PathRecordFromPosix(home, &record) != 0)
        return ToolFail("bad folder " + home);
    const WizardProfileReader previous = SetWizardProfileReader(&QuietProfile);
    if (WizardTreeInit(&record) != 0) {
        WizardTreeFree();
        SetWizardProfileReader(previous);
        return ToolFail("the wizard's files cannot be made ready");
    }
    int status = 0;
    {
        CDlgWizardSetup sheet("Wizard Setup", nullptr, index);
        if (WizardDataOpen(2) == 0) {
            sheet.Init(GetWizardTree());
            sheet.show();
            Settle();
            sheet.SetActivePage(index);
            Settle();
            if (!sheet.grab().save(QString::fromStdString(args[1])))
                status = ToolFail("cannot write " + args[1]);
            sheet.hide();
        } else {
            status = ToolFail("the wizard's data does not open");
        }
    }
    WizardDataClose();
    WizardTreeFree();
    SetWizardHome(nullptr);
    SetWizardProfileReader(previous);
    return status;
}

}  // namespace

TESSALINE_TOOL_COMMAND("wizard-setup-shot", "wizard-setup-shot PAGE OUT.png", RunWizardSetupShot);

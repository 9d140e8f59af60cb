// wizard-shot PAGE OUT.png: a picture of one page of the new-document
// wizard over the shipped starter catalogue, with the choices that lead to
// it already made, for looking at.

#include <cstdlib>
#include <memory>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QPixmap>
#include <QTemporaryDir>

#include "catalog/wizard_data.h"
#include "catalog/wizard_folders.h"
#include "foundation/path_record.h"
#include "foundation/program_folder.h"
#include "offscreen_application.h"
#include "tool_command.h"
#include "wizard/category_tree_ctrl.h"
#include "wizard/dlg_wizard.h"
#include "wizard/pg_wiz_1.h"
#include "wizard/pg_wiz_2.h"

namespace {

const char* const kPages = "type, backdrop, layout, personal, finish, properties, allbackdrops";

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Selects the first item whose text is name.
bool SelectItem(QTreeWidget* tree, const char* name)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) == QLatin1String(name)) {
            tree->setCurrentItem(*it);
            Settle();
            return true;
        }
    }
    return false;
}

// Walks the sheet to the page; false when the route is closed.
bool GoTo(CDlgWizard* sheet, const std::string& page)
{
    auto* first = static_cast<CPgWiz_1*>(sheet->Page(kPageDocumentType));
    if (page == "type")
        return SelectItem(first->Tree(), "Business Cards");
    const bool custom = page == "properties" || page == "allbackdrops";
    if (!SelectItem(first->Tree(), custom ? "Custom Document" : "Business Cards"))
        return false;
    sheet->PressNext();
    Settle();
    if (custom) {
        if (page == "properties")
            return true;
        sheet->PressNext();
        Settle();
        return true;
    }
    auto* backdrops = static_cast<CPgWiz_2*>(sheet->Page(kPageBackdrop));
    QTreeWidgetItem* item = backdrops->Tree()->topLevelItemCount() > 1 ? backdrops->Tree()->topLevelItem(1) : nullptr;
    if (item) {
        backdrops->Tree()->setCurrentItem(item);
        Settle();
    }
    if (page == "backdrop")
        return true;
    for (const char* next : {"layout", "personal", "finish"}) {
        sheet->PressNext();
        Settle();
        if (page == next)
            return true;
    }
    return false;
}

int RunWizardShot(const ToolArgs& args)
{
    if (args.size() != 2)
        return ToolFail(std::string("usage: wizard-shot PAGE OUT.png (PAGE: ") + kPages + ")");
    const std::string page = args[0];
    if (std::string(", ").append(kPages).append(",").find(", " + page + ",") == std::string::npos)
        return ToolFail("no page named " + page + " (PAGE: " + kPages + ")");
    const std::unique_ptr<QApplication> app = StartOffscreenApplication();

    QTemporaryDir temp;
    if (!temp.isValid())
        return ToolFail("no temporary folder");
    const std::string home = temp.path().toStdString() + "/";
    const std::string source = InstalledDataFolder() + "/Wizard";
    if (SeedFolder(source, home + "Wizard") != 0)
        return ToolFail("the starter catalogue cannot be copied");
    PathRecord record;
    if (PathRecordFromPosix(home, &record) != 0)
        return ToolFail("bad folder " + home);
    if (WizardTreeInit(&record) != 0) {
        WizardTreeFree();
        return ToolFail("the wizard's files cannot be made ready");
    }
    int status = 0;
    {
        CDlgWizard sheet("Wizard", nullptr);
        if (WizardDataOpen(0) == 0) {
            sheet.Init(GetWizardTree(), 1, nullptr);
            sheet.show();
            Settle();
            if (!GoTo(&sheet, page))
                status = ToolFail("the wizard does not reach page " + page);
            else if (!sheet.grab().save(QString::fromLocal8Bit(args[1].c_str())))
                status = ToolFail("cannot write " + args[1]);
            sheet.PressCancel();
        } else {
            status = ToolFail("the wizard's data cannot be opened");
        }
        WizardDataClose();
    }
    WizardTreeFree();
    SetWizardHome(nullptr);
    return status;
}

}  // namespace

TESSALINE_TOOL_COMMAND("wizard-shot", "wizard-shot PAGE OUT.png", RunWizardShot);

// A wizard home holding a copy of a small catalogue (tests/data/Wizard:
// three backdrop groups, a few categories, no templates), opened for the
// new-document wizard, and the helpers that press its buttons.
#pragma once

#include <QCoreApplication>
#include <QTreeWidget>

#include "catalog/wizard_data.h"
#include "foundation/program_folder.h"
#include "wizard/category_tree_ctrl.h"
#include "wizard/dlg_wizard.h"
#include "wizard/pg_wiz.h"
#include "wizard/pg_wiz_1.h"
#include "wizard/pg_wiz_2.h"
#include "wizard_fixture.h"

inline void StarterCatalogueSettle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A user's walk through the sheet: shows it, chooses the category on the
// Document Type page, then presses Next (choosing the first backdrop, inside
// a filter when the category keeps them in one) until the Finish page, for
// eight pages at the most.
inline void WalkToFinish(CDlgWizard* sheet, const char* category)
{
    sheet->show();
    StarterCatalogueSettle();
    auto* first = static_cast<CPgWiz_1*>(sheet->Page(kPageDocumentType));
    for (QTreeWidgetItemIterator it(first->Tree()); *it; ++it)
        if ((*it)->text(0) == QLatin1String(category))
            first->Tree()->setCurrentItem(*it);
    for (int step = 0; step < 8 && sheet->ActiveIndex() != kPageFinish; ++step) {
        if (sheet->ActiveIndex() == kPageBackdrop) {
            CCategoryTreeCtrl* tree = static_cast<CPgWiz_2*>(sheet->Page(kPageBackdrop))->Tree();
            for (QTreeWidgetItemIterator it(tree); *it; ++it) {
                if (tree->GetNodeOfItem(*it)->kind == kWizKindBackdrop) {
                    tree->setCurrentItem(*it);
                    break;
                }
            }
        }
        StarterCatalogueSettle();
        sheet->PressNext();
        StarterCatalogueSettle();
    }
}

// Ends a scripted run: Finish when the user means to and the sheet is on
// the Finish page, else Cancel; the sheet's result.
inline int32_t FinishOrCancel(CDlgWizard* sheet, bool finish)
{
    if (finish && sheet->ActiveIndex() == kPageFinish)
        sheet->PressFinish();
    else
        sheet->PressCancel();
    return sheet->result();
}

class StarterCatalogue : public WizardHome {
protected:
    void SetUp() override
    {
        WizardHome::SetUp();
        const std::string source = TESSALINE_TEST_DATA_DIR "/Wizard";
        ASSERT_EQ(SeedFolder(source, dir.path() + "/Wizard"), 0);
        PathRecord home = PosixRecord(dir.path() + "/");
        ASSERT_EQ(WizardTreeInit(&home), 0);
        ASSERT_EQ(WizardDataOpen(0), 0);
    }
    void TearDown() override
    {
        WizardDataClose();
        WizardTreeFree();
        WizardHome::TearDown();
    }

    static void Settle() { StarterCatalogueSettle(); }
    static QTreeWidgetItem* FindItem(QTreeWidget* tree, const char* name)
    {
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if ((*it)->text(0) == QLatin1String(name))
                return *it;
        return nullptr;
    }
    static void Select(QTreeWidget* tree, const char* name)
    {
        QTreeWidgetItem* item = FindItem(tree, name);
        ASSERT_NE(item, nullptr) << name;
        tree->setCurrentItem(item);
        Settle();
    }
    static void Next(CDlgWizard& sheet)
    {
        Settle();
        sheet.PressNext();
        Settle();
    }
    static void Back(CDlgWizard& sheet)
    {
        Settle();
        sheet.PressBack();
        Settle();
    }
};

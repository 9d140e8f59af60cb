// The card window's menu items that follow the document: the page items of
// the View menu, and the master-mode items for the wizard's stock. Also
// the small view commands on the backdrop and the two sides.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "carddoc/labels_doc.h"
#include "carddoc/selection_tool.h"
#include "foundation/cp1252.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "platform/command_target.h"
#include "platform/menus.h"
#include "platform/profile.h"
#include "records/command_ids.h"
#include "records/menu_resources.h"

namespace {

// The View menu's items before the page items.
constexpr int kPageMenuKeptItems = 9;

QAction* AddItem(QMenu* menu, const char* text, uint32_t id)
{
    QAction* action = menu->addAction(Cp1252ToQString(text));
    MenuSetCommandId(action, id);
    // The item shows its key, as the menus' other items do.
    SetCommandKeys(action, id);
    return action;
}

}  // namespace

int32_t CLabelsDoc::BuildPageMenu(QMenu* menu)
{
    if (!menu)
        return 1;
    const QList<QAction*> actions = menu->actions();
    for (int i = kPageMenuKeptItems; i < actions.size(); ++i) {
        menu->removeAction(actions[i]);
        if (actions[i]->parent() == menu)
            delete actions[i];
    }
    if (pageBlock_.sides == 1 || pageBlock_.sides == 2) {
        AddItem(menu, "Front Page", kCmdFrontPage);
        if (pageBlock_.sides == 2)
            AddItem(menu, "Back Page", kCmdBackPage);
    } else {
        AddItem(menu, "Insert Page...", kCmdInsertPage);
        AddItem(menu, "Delete Page...", kCmdDeletePage);
        AddItem(menu, "Goto Page...", kCmdGotoPage);
    }
    return 0;
}

void CLabelsDoc::BuildTemplatesMenu(QWidget* mainMenu)
{
    if (!IsMasterMode() || !mainMenu)
        return;
    int32_t position = -1;
    if (QMenu* edit = MenuFindSubmenu(mainMenu, "&Edit", &position)) {
        const QList<QAction*> items = edit->actions();
        if (items.isEmpty() || MenuGetCommandId(items.back()) != kCmdWizardSetup)
            AddItem(edit, "Wizard Setup...", kCmdWizardSetup);
    }
    QMenu* file = MenuFindSubmenu(mainMenu, "&File", &position);
    if (!file || MenuFindSubmenu(file, "Templates", &position))
        return;
    const QList<QAction*> items = file->actions();
    QAction* before = nullptr;
    for (int i = 0; i < items.size(); ++i) {
        if (MenuGetCommandId(items[i]) == kCmdCloseAll) {
            before = i + 1 < items.size() ? items[i + 1] : nullptr;
            break;
        }
    }
    auto* templates = new QMenu(QStringLiteral("Templates"), file);
    MenuSetCommandId(templates->menuAction(), kMenuSubmenuId);
    AddItem(templates, "Save Template to File...", kCmdSaveTemplateToFile);
    AddItem(templates, "Load Template from File...", kCmdLoadTemplateFromFile);
    AddItem(templates, "Add Template To Wizard...", kCmdAddTemplateToWizard);
    AddItem(templates, "Change Template in Wizard", kCmdChangeTemplateInWizard);
    // Without Close All the popup goes last.
    if (before) {
        file->insertSeparator(before);
        file->insertMenu(before, templates);
    } else {
        file->addSeparator();
        file->addMenu(templates);
    }
}

// ---- the view commands ----

static FrameObj* OnlySelectedFrame(CLabelsDoc* doc)
{
    SelectionTool* tool = SelectionToolOf(doc);
    if (!tool || doc->GetCurrentToolIndex() != kToolObject || tool->GetSelCount() != 1)
        return nullptr;
    return tool->GetSelFrame(0);
}

bool CLabelsDoc::CanToggleFrameFlag(int32_t which, bool* checked)
{
    FrameObj* frame = OnlySelectedFrame(this);
    *checked = frame && (which == 0 ? frame->Block().undeletable : frame->Block().pinned) == 1;
    return frame != nullptr;
}

void CLabelsDoc::ToggleFrameFlag(int32_t which)
{
    FrameObj* frame = OnlySelectedFrame(this);
    if (!frame)
        return;
    if (which == 0)
        frame->SetUndeletable(frame->Block().undeletable ? 0 : 1);
    else
        frame->SetPinned(frame->Block().pinned ? 0 : 1);
    SetModified(true);
}

bool CLabelsDoc::CanTogglePrintableBackdrop(bool* checked)
{
    FrameObj* backdrop = manager_->GetBackdropFrame();
    *checked = backdrop && backdrop->Block().attr.printable != 0;
    return backdrop != nullptr;
}

void CLabelsDoc::TogglePrintableBackdrop()
{
    if (FrameObj* backdrop = manager_->GetBackdropFrame()) {
        backdrop->SetPrintable(backdrop->Block().attr.printable ? 0 : 1);
        SetModified(true);
    }
}

void CLabelsDoc::ShowSide(int16_t page)
{
    if (GetCurrentPage() != page)
        SwitchToPage(page);
}

// ---- the commands' route ----

bool CLabelsDoc::OnTemplateCommand(uint32_t id)
{
    QWidget* parent = ViewWidget();
    switch (id) {
    case kCmdSaveTemplateToFile: SaveTemplate(true, false, false, parent); return true;
    case kCmdAddTemplateToWizard: SaveTemplate(false, true, true, parent); return true;
    case kCmdLoadTemplateFromFile: LoadTemplateFromFile(parent); return true;
    case kCmdChangeTemplateInWizard: ChangeTemplateInWizard(parent); return true;
    case kCmdSetAsBackdrop: ToggleBackdrop(); return true;
    case kCmdChangeBackdrop: ChangeBackdropPicture(parent); return true;
    case kCmdSaveBackdrop: RegisterBackdropPicture(parent); return true;
    case kCmdLoadBackdrop: LoadBackdropFromWizard(parent); return true;
    case kCmdFrameFlagFirst: ToggleFrameFlag(0); return true;
    case kCmdFrameFlagSecond: ToggleFrameFlag(1); return true;
    case kCmdPrintableBackdrop: TogglePrintableBackdrop(); return true;
    case kCmdFrontPage: ShowSide(1); return true;
    case kCmdBackPage: ShowSide(2); return true;
    case kCmdChangeLayout: ChangeLayoutAndDesign(parent); return true;
    case kCmdWizardSetup: RunWizardSetup(parent); return true;
    default: return false;
    }
}

bool CLabelsDoc::OnUpdateTemplateCommand(CmdUI& ui)
{
    bool checked = false;
    switch (ui.id) {
    case kCmdSaveTemplateToFile:
    case kCmdAddTemplateToWizard: ui.Enable(CanSaveTemplate()); return true;
    case kCmdChangeTemplateInWizard: ui.Enable(CanChangeTemplateInWizard()); return true;
    case kCmdSetAsBackdrop:
        ui.Enable(CanToggleBackdrop(&checked));
        ui.SetCheck(checked);
        return true;
    case kCmdFrameFlagFirst:
    case kCmdFrameFlagSecond:
        ui.Enable(CanToggleFrameFlag(ui.id == kCmdFrameFlagFirst ? 0 : 1, &checked));
        ui.SetCheck(checked);
        return true;
    case kCmdPrintableBackdrop:
        ui.Enable(CanTogglePrintableBackdrop(&checked));
        ui.SetCheck(checked);
        return true;
    case kCmdFrontPage:
    case kCmdBackPage:
        ui.Enable(true);
        ui.SetCheck(GetCurrentPage() == (ui.id == kCmdFrontPage ? 1 : 2));
        return true;
    case kCmdLoadTemplateFromFile:
    case kCmdChangeBackdrop:
    case kCmdSaveBackdrop:
    case kCmdLoadBackdrop:
    case kCmdChangeLayout:
    case kCmdWizardSetup: ui.Enable(true); return true;
    case kPaneDocument: ui.SetText(DocumentNameText()); return true;
    case kPaneTemplateName:
        if (IsMasterMode())
            ui.SetText(TemplateNameText());
        return true;
    default: return false;
    }
}

// CPgWS_Special: the "Special Page", the repair bench of the wizard's
// data. Each of its five tabs scans one part of the data (the backdrop
// files, the template files, the design files, the tree's references to
// the lists, and the tree's own links), lists what it finds at fault with
// a warning per entry, previews the selected file, and offers the actions
// that correct the selected fault.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "catalog/wizard_fault_list.h"
#include "foundation/path_record.h"
#include "wizard/pg_ws.h"

class CFolderListBox;
class QLabel;
class QTabBar;

enum : int32_t {
    kSpecialTabBackdrops = 0,
    kSpecialTabTemplates = 1,
    kSpecialTabDesigns = 2,
    kSpecialTabRelations = 3,
    kSpecialTabTree = 4,
    kSpecialTabCount = 5,
};

// The actions of the tabs.
enum : int32_t {
    kIdSpecialRemoveBackdrop = 1463,
    kIdSpecialAddBackdrop = 1752,
    kIdSpecialBackdropOriginal = 1760,
    kIdSpecialRemoveTemplate = 1747,
    kIdSpecialAddTemplate = 1753,
    kIdSpecialTemplateOriginal = 1763,
    kIdSpecialRemoveDesign = 1762,
    kIdSpecialRemoveBackdropRef = 1757,
    kIdSpecialRemoveTemplateRef = 1758,
    kIdSpecialCorrectNode = 1759,
    kIdSpecialRescan = 1755,
    kIdSpecialWarning = 1751,
};

// What an entry is warned of, on one tab: the text shown for it, its
// marker rating and the actions that apply.
struct SpecialVerdict {
    std::string text;
    uint32_t rating = 0;
    bool remove = false;
    bool addToList = false;
    bool selectOriginal = false;
};
SpecialVerdict JudgeFault(int32_t tab, const WizardFault& fault);

class CPgWS_Special : public CPgWS {
public:
    CPgWS_Special();

    void OnPageShown(bool shown) override;

    int32_t CurrentTab() const { return tab_; }
    const WizardFaultList& List(int32_t tab) const { return lists_[size_t(tab)]; }
    CFolderListBox* Faults() const { return faults_; }
    QTabBar* Tabs() const { return tabs_; }
    QLabel* WarningText() const { return warning_; }

    void SelectTab(int32_t tab);
    void Rescan();
    void SelectEntry(int32_t index);
    void OnEntrySelected();

    // The actions on the selected entry.
    void OnRemoveBackdrop();
    void OnAddBackdrop();
    void OnBackdropOriginal();
    void OnRemoveTemplate();
    void OnAddTemplate();
    void OnTemplateOriginal();
    void OnRemoveDesign();
    void OnRemoveBackdropRef();
    void OnRemoveTemplateRef();
    void OnCorrectNode();

protected:
    void BuildControls() override;
    bool OnInitDialog() override;

private:
    void Scan(int32_t tab);
    void ScanFolder(int32_t folder, WizardFaultList* list, bool templates);
    void ScanBackdrops(WizardFaultList* list);
    void ScanTemplates(WizardFaultList* list);
    void ScanDesigns(WizardFaultList* list);
    void ShowList();
    void ShowTabButtons(int32_t tab, bool show);
    void ShowPreview(const WizardFault& fault);
    WizardFault* Selected();
    // Ends an action that removed something: the tab is scanned again.
    void RescanKeeping();
    // Removes the selected entry's file from the folder, after unregister
    // (when given) has taken it out of the lists; a folder is left to the
    // user.
    void RemoveSelectedFile(int32_t folder, const std::function<void(const WizardFault&)>& unregister);
    // Takes the tree's references to the missing backdrop group or
    // template of the selected entry out, when that is its fault.
    void RemoveReference(uint32_t relationFault);
    // Ends an action that changed the backdrop list (folder
    // kWizFolderBackdrops) or the template list: the list's counter is
    // raised and the tab scanned again.
    void ListChanged(int32_t folder);
    // Says that the selected file could not be registered in the list.
    void RegisterFailed(int32_t folder);
    bool FilePath(int32_t folder, const WizardFault& fault, PathRecord* path) const;
    // Where the file choosers start: the folder used last, else the
    // program folder.
    std::string StartFolder() const;

    QTabBar* tabs_ = nullptr;
    QLabel* caption_ = nullptr;
    CFolderListBox* faults_ = nullptr;
    QLabel* warning_ = nullptr;
    int32_t tab_ = 0;
    std::array<WizardFaultList, kSpecialTabCount> lists_;
    std::string lastFolder_;
};

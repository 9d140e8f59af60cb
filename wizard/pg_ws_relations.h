// CPgWS_Relations: the "Edit Relationships (Main Page)" page, which edits
// the wizard tree. Here the tree's kinds are categories and subcategories
// of documents, folders for documents, documents (backdrop nodes) and the
// templates of a document. The page adds, deletes, renames and edits
// nodes, gives documents their backdrop and templates, and previews what
// is selected.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/handle.h"
#include "graphics/dib_handle.h"
#include "wizard/pg_ws.h"

class CCategoryTreeCtrl;
class CSmartEdit;
class CSmartListbox;
class QCheckBox;
class QListWidget;
class QTreeWidgetItem;
struct SmartListChange;

// The dialog in which a category's or subcategory's layout is edited:
// layout (168 bytes) in and out, size mode 2 when the node has children
// (its size stays), the node's picture (owned by the caller, may be null),
// and on OK the path of a design picture chosen (empty for none). 1 on OK.
// The program's own is CDlgDocSubCategory's (wizard/dlg_doc_sub_category.h);
// without one the page offers no button that needs it.
using SubCategoryDialogRunner = int32_t (*)(QWidget* parent, uint8_t* layout, int32_t sizeMode,
                                            DibHandle picture, std::string* designPath);
SubCategoryDialogRunner SetSubCategoryDialogRunner(SubCategoryDialogRunner runner);

class CPgWS_Relations : public CPgWS {
public:
    CPgWS_Relations();
    ~CPgWS_Relations() override;

    void OnPageShown(bool shown) override;
    int32_t GetToolTipId(int32_t controlId) override;

    CCategoryTreeCtrl* TreeCtrl() const { return treeCtrl_; }
    CSmartListbox* Entries() const { return entries_; }
    CSmartEdit* EntryName() const { return entryName_; }
    QListWidget* AllBackdrops() const { return allBackdrops_; }
    QListWidget* AllTemplates() const { return allTemplates_; }
    QCheckBox* DocumentRatio() const { return ratio_; }
    WizNode* SelectedNode() const { return node_; }
    int32_t LastFocus() const { return lastFocus_; }
    // As a focus change on the control would.
    void NoteFocus(int32_t controlId);

    void OnAddCategory();
    void OnAddSubCategory();
    void OnAddFilter();
    void OnAddBackdrop();
    void OnAddTemplate();
    void OnDelete();
    void OnEdit();
    void OnTreeSelected();
    void OnTreeItemRenamed(QTreeWidgetItem* item);
    void OnEntrySelected();
    void OnEntryNameEdited();
    void OnAllBackdropsSelected();
    void OnAllTemplatesSelected();
    void OnRatioClicked();
    void OnEntriesChanged(const SmartListChange& change);
    void UpdateControls();

protected:
    void BuildControls() override;
    bool OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillAllBackdrops();
    void ReadTemplateList();
    void FillAllTemplates();
    void FillEntries();
    void ShowTree(WizNode* select);
    void SelectFirstCategory();
    void ShowNodePicture();
    void ShowTemplate(uint32_t templateId);
    WizNode* NearestOfKinds(std::initializer_list<uint32_t> kinds) const;
    uint32_t SelectedGroup() const;
    uint32_t NodeKind() const;
    // Puts the new node into the control under its parent and selects it.
    void ShowAdded(WizNode* node);

    CCategoryTreeCtrl* treeCtrl_ = nullptr;
    CSmartListbox* entries_ = nullptr;
    CSmartEdit* entryName_ = nullptr;
    QListWidget* allBackdrops_ = nullptr;
    QListWidget* allTemplates_ = nullptr;
    QCheckBox* ratio_ = nullptr;
    WizNode* node_ = nullptr;
    int32_t lastFocus_ = 0;
    bool ratioChecked_ = false;
    HandleOwner templateRecords_{HandleNew(0)};
    HandleOwner templateIds_{HandleNew(0)};
    int32_t templateCount_ = 0;
    bool filling_ = false;
};

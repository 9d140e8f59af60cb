#include "wizard/pg_wiz_1.h"

#include "foundation/int_math.h"
#include "wizard/category_tree_ctrl.h"
#include "wizard/dlg_wizard.h"
#include "wizard/wizard_preview_wnd.h"

CPgWiz_1::CPgWiz_1() : CPgWiz(560, "Document Type.") {}

void CPgWiz_1::BuildControls()
{
    CPgWiz::BuildControls();
    AddFrame(kIdPreviewFrame, 7, 41, 232, 193);
    AddLabel("Select Document Type You want to create.", -1, 249, 42, 177, 10);
    categories_ = Place(new CCategoryTreeCtrl, 1599, 249, 55, 178, 179);
}

bool CPgWiz_1::OnInitDialog()
{
    CPgWiz::OnInitDialog();
    CreateContentPreview();
    categories_->Fill(tree_);
    categories_->ClearKinds();
    categories_->AddKind(kWizKindCategory);
    categories_->AddKind(kWizKindSubCategory);
    categories_->SetOptions(kTreeMarkUsable | kTreeSyntheticEntry);
    categories_->SetSyntheticKind(kSyntheticCustomDocument);
    categories_->SetRoot(tree_ ? tree_->Root() : nullptr);
    QObject::connect(categories_, &QTreeWidget::itemSelectionChanged, this, [this] { OnSelChanged(); });
    UpdateButtons();
    return true;
}

void CPgWiz_1::OnSelChanged()
{
    WizNode* node = categories_->GetNodeOfItem(categories_->SelectedItem());
    SetCurrentNode(node);
    pageNode_ = node;
    double width = 1.0;
    double height = 1.0;
    if (tree_ && node && tree_->GetDocSize(node, &width, &height) == 0)
        content_->SetBackground(tree_->GetPicture(node, 0), TruncToInt32(width), TruncToInt32(height));
    UpdateButtons();
}

void CPgWiz_1::UpdateButtons()
{
    QTreeWidgetItem* item = categories_ ? categories_->SelectedItem() : nullptr;
    if (!item) {
        Sheet()->SetWizardButtons(0);
        return;
    }
    if (item->childCount() > 0 && !(tree_ && tree_->HasBackdrops(pageNode_))) {
        Sheet()->SetWizardButtons(0);
        return;
    }
    CPgWiz::UpdateButtons();
}

void CPgWiz_1::OnPageShown()
{
    // Showing the page turns the sheet's usual buttons on; Next must still
    // wait for a usable choice.
    UpdateButtons();
}

void CPgWiz_1::StoreChoice()
{
    DocSetup& r = Record();
    if (tree_ && pageNode_ && (pageNode_->kind == kWizKindCategory || pageNode_->kind == kWizKindSubCategory) &&
        tree_->GetLabelType(pageNode_, r.labelLayout) == 0) {
        r.fromCategory = 1;
        return;
    }
    r.fromCategory = 0;
}

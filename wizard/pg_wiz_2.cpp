#include "wizard/pg_wiz_2.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "catalog/backdrop_list.h"
#include "catalog/wizard_list_format.h"
#include "foundation/int_math.h"
#include "wizard/backdrop_colour_names.h"
#include "wizard/category_tree_ctrl.h"
#include "wizard/dlg_wizard.h"
#include "wizard/wiz_page_pictures.h"
#include "wizard/wizard_preview_wnd.h"

CPgWiz_2::CPgWiz_2() : CPgWiz(561, "Backdrop.") {}

void CPgWiz_2::BuildControls()
{
    CPgWiz::BuildControls();
    AddFrame(kIdPreviewFrame, 7, 41, 229, 193);
    AddLabel("Select Backdrop for Document You want to create.", -1, 249, 42, 177, 12);
    backdrops_ = Place(new CCategoryTreeCtrl, 1600, 249, 55, 177, 154);
    AddLabel("Color:", 1582, 249, 211, 19, 8);
    colours_ = Place(new QComboBox, 1533, 249, 222, 177, 12);
}

bool CPgWiz_2::OnInitDialog()
{
    CPgWiz::OnInitDialog();
    CreateContentPreview();
    backdrops_->Fill(tree_);
    backdrops_->ClearKinds();
    backdrops_->AddKind(kWizKindFilter);
    backdrops_->AddKind(kWizKindBackdrop);
    backdrops_->SetOptions(kTreeSyntheticEntry);
    backdrops_->SetSyntheticKind(kSyntheticNoBackdrop);
    backdrops_->SetRoot(CurrentNode());
    TakeSnapshot();
    if (Mode() == 2 && Record().backdropId > 0)
        SelectRecordBackdrop();
    QObject::connect(backdrops_, &QTreeWidget::itemSelectionChanged, this, [this] { OnSelChanged(); });
    QObject::connect(colours_, &QComboBox::activated, this, [this] { OnColourChosen(); });
    UpdateButtons();
    return true;
}

uint32_t CPgWiz_2::GroupOf(const WizNode* node) const
{
    uint32_t group = 0;
    if (!tree_ || !node || tree_->GetGroup(node, &group) != 0)
        return 0;
    return group;
}

void CPgWiz_2::SelectRecordBackdrop()
{
    const DocSetup& r = Record();
    for (QTreeWidgetItemIterator it(backdrops_); *it; ++it) {
        WizNode* node = backdrops_->GetNodeOfItem(*it);
        if (!node || node->kind != kWizKindBackdrop || GroupOf(node) != r.backdropId)
            continue;
        int32_t colours = 0;
        if (GetGroupItemCount(int32_t(r.backdropId), &colours) != 0 || colours < int32_t(r.backdropColour))
            continue;
        if (r.templateId >= 1) {
            int32_t count = 0;
            bool carries = false;
            tree_->GetEntryCount(node, &count);
            for (int32_t n = 1; n <= count && !carries; ++n) {
                WizTemplateEntry entry;
                carries = tree_->GetEntry(node, n, &entry) == 0 && entry.templateId == r.templateId;
            }
            if (!carries)
                continue;
        }
        {
            const QSignalBlocker quiet(backdrops_);
            backdrops_->setCurrentItem(*it);
        }
        SetCurrentNode(node);
        pageNode_ = node;
        FillColourCombo();
        if (colours_->count() > 0)
            colours_->setCurrentIndex(int(r.backdropColour) - 1);
        ShowPreview();
        return;
    }
}

void CPgWiz_2::OnSelChanged()
{
    WizNode* node = backdrops_->GetNodeOfItem(backdrops_->SelectedItem());
    SetCurrentNode(node);
    pageNode_ = node;
    FillColourCombo();
    UpdateButtons();
}

void CPgWiz_2::OnColourChosen()
{
    ShowPreview();
    UpdateButtons();
}

void CPgWiz_2::FillColourCombo()
{
    colours_->clear();
    if (pageNode_ && pageNode_->kind == kWizKindBackdrop) {
        const int32_t group = int32_t(GroupOf(pageNode_));
        int32_t count = 0;
        GetGroupItemCount(group, &count);
        if (count > 1) {
            colours_->setEnabled(true);
            AddBackdropColourNames(colours_, group);
            colours_->setCurrentIndex(colours_->count() > 0 ? 0 : -1);
        } else {
            colourIndex_ = 1;
            colours_->setEnabled(false);
        }
    }
    ShowPreview();
}

void CPgWiz_2::ShowPreview()
{
    if (pageNode_ && pageNode_->kind == kWizKindBackdrop) {
        colourIndex_ = colours_->currentIndex() >= 0 ? uint32_t(colours_->currentIndex() + 1) : 1;
        double width = 1.0;
        double height = 1.0;
        tree_->GetDocSize(pageNode_, &width, &height);
        ShowBackdropPicture(content_, int32_t(GroupOf(pageNode_)), int32_t(colourIndex_), TruncToInt32(width),
                            TruncToInt32(height));
    } else {
        content_->SetBackground(nullptr, -1, -1);
    }
}

void CPgWiz_2::UpdateButtons()
{
    QTreeWidgetItem* item = backdrops_ ? backdrops_->SelectedItem() : nullptr;
    if (item && item->childCount() == 0) {
        pageNode_ = backdrops_->GetNodeOfItem(item);
        if (pageNode_ && (pageNode_->kind == kWizKindBackdrop || pageNode_->kind == kWizKindNoBackdrop)) {
            CPgWiz::UpdateButtons();
            return;
        }
    }
    Sheet()->SetWizardButtons(kWizButtonBack);
    if (colours_) {
        colours_->clear();
        colours_->setEnabled(false);
    }
}

void CPgWiz_2::OnPageShown()
{
    if (HasChanged(kChangedNodeOrLayout)) {
        backdrops_->SetRoot(CurrentNode());
        TakeSnapshot();
    }
    // Showing the page turns the sheet's usual buttons on; Next must still
    // wait for a backdrop or "No Backdrop".
    UpdateButtons();
}

void CPgWiz_2::StoreChoice()
{
    DocSetup& r = Record();
    if (pageNode_ && pageNode_->kind == kWizKindBackdrop) {
        r.backdropId = GroupOf(pageNode_);
        r.backdropColour = colourIndex_;
    } else {
        r.backdropId = 0;
        r.backdropColour = 0;
    }
}

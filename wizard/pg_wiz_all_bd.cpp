#include "wizard/pg_wiz_all_bd.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

#include "catalog/backdrop_list.h"
#include "catalog/wizard_list_format.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "wizard/backdrop_colour_names.h"
#include "wizard/dlg_wizard.h"
#include "wizard/wiz_page_pictures.h"
#include "wizard/wizard_preview_wnd.h"

CPgWiz_AllBd::CPgWiz_AllBd() : CPgWiz(600, "Backdrop.") {}

void CPgWiz_AllBd::BuildControls()
{
    CPgWiz::BuildControls();
    AddFrame(kIdPreviewFrame, 7, 41, 232, 193);
    AddLabel("Select Backdrop Picture:", -1, 249, 42, 177, 12);
    list_ = Place(new QListWidget, 1612, 249, 54, 177, 155);
    AddLabel("Color:", 1582, 249, 211, 19, 8);
    colours_ = Place(new QComboBox, 1613, 249, 222, 177, 12);
}

bool CPgWiz_AllBd::OnInitDialog()
{
    CPgWiz::OnInitDialog();
    CreateContentPreview();
    FillList();
    FillColourCombo();
    const DocSetup& r = Record();
    if (Mode() == 2 && r.backdropId > 0) {
        for (int i = 0; i < list_->count(); ++i) {
            if (list_->item(i)->data(Qt::UserRole).toUInt() != r.backdropId)
                continue;
            int32_t colours = 0;
            if (GetGroupItemCount(int32_t(r.backdropId), &colours) != 0)
                break;
            if (colours >= int32_t(r.backdropColour)) {
                const QSignalBlocker quiet(list_);
                list_->setCurrentRow(i);
                FillColourCombo();
                colours_->setCurrentIndex(r.backdropColour > 0 ? int(r.backdropColour) - 1 : 0);
            }
            break;
        }
    }
    ApplyColourSelection();
    QObject::connect(list_, &QListWidget::itemSelectionChanged, this, [this] { OnListSelChanged(); });
    QObject::connect(colours_, &QComboBox::activated, this, [this] { ApplyColourSelection(); });
    return true;
}

void CPgWiz_AllBd::FillList()
{
    const QSignalBlocker quiet(list_);
    list_->clear();
    auto* none = new QListWidgetItem(QStringLiteral("No Backdrop"));
    none->setData(Qt::UserRole, 0u);
    list_->addItem(none);
    const std::vector<BackdropGroupEntry> groups = BackdropGroupEntries();
    for (const BackdropGroupEntry& group : groups) {
        auto* item = new QListWidgetItem(Cp1252ToQString(group.name.c_str()));
        item->setData(Qt::UserRole, group.id);
        list_->addItem(item);
    }
    if (!groups.empty())
        list_->setCurrentRow(0);
}

uint32_t CPgWiz_AllBd::SelectedId() const
{
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? 0 : selected.front()->data(Qt::UserRole).toUInt();
}

void CPgWiz_AllBd::FillColourCombo()
{
    colours_->clear();
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty() || list_->row(selected.front()) == 0)
        return;
    AddBackdropColourNames(colours_, int32_t(SelectedId()));
    if (colours_->count() > 0)
        colours_->setCurrentIndex(0);
}

void CPgWiz_AllBd::OnListSelChanged()
{
    Record().backdropId = SelectedId();
    FillColourCombo();
    ApplyColourSelection();
}

void CPgWiz_AllBd::ApplyColourSelection()
{
    DocSetup& r = Record();
    const int selection = colours_->currentIndex();
    r.backdropColour = selection >= 0 ? uint32_t(selection + 1) : 0;
    if (r.backdropColour > 0)
        ShowBackdropPicture(content_, int32_t(r.backdropId), int32_t(r.backdropColour), LabelWidth(), LabelHeight());
    else
        ClearBackdropLayer(content_);
    UpdateButtons();
}

void CPgWiz_AllBd::UpdateButtons()
{
    CPgWiz::UpdateButtons();
    if (colours_)
        colours_->setEnabled(colours_->count() >= 2);
}

void CPgWiz_AllBd::OnPageShown()
{
    if (HasChanged(kChangedNodeOrLayout)) {
        ApplyColourSelection();
        TakeSnapshot();
    }
}

void CPgWiz_AllBd::StoreChoice()
{
    Record().backdropId = SelectedId();
}

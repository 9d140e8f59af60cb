#include "wizard/pg_wiz_3.h"

#include <cstring>

#include <QListWidget>
#include <QSignalBlocker>

#include "catalog/template_list.h"
#include "catalog/wizard_list_format.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "wizard/dlg_wizard.h"
#include "wizard/wiz_page_pictures.h"
#include "wizard/wizard_preview_wnd.h"

namespace {

QListWidgetItem* AddEntry(QListWidget* list, const QString& name, uint32_t id)
{
    auto* item = new QListWidgetItem(name);
    item->setData(Qt::UserRole, id);
    list->addItem(item);
    return item;
}

}  // namespace

CPgWiz_3::CPgWiz_3() : CPgWiz(562, "Layout.") {}

void CPgWiz_3::BuildControls()
{
    CPgWiz::BuildControls();
    AddFrame(kIdPreviewFrame, 7, 41, 232, 193);
    AddLabel("Select Layout You want to use.", -1, 248, 42, 178, 10);
    list_ = Place(new QListWidget, 1535, 248, 55, 178, 179);
}

bool CPgWiz_3::OnInitDialog()
{
    CPgWiz::OnInitDialog();
    CreateContentPreview();
    // The rebuild starts the list on "No Layout", which writes 0 into the
    // record; the template the document already has is to be found after
    // it.
    const uint32_t kept = Record().templateId;
    Rebuild();
    if (Mode() == 2 && kept > 0) {
        for (int i = 0; i < list_->count(); ++i) {
            if (list_->item(i)->data(Qt::UserRole).toUInt() == kept) {
                const QSignalBlocker quiet(list_);
                list_->setCurrentRow(i);
                break;
            }
        }
        ApplyListSelection();
    }
    QObject::connect(list_, &QListWidget::itemSelectionChanged, this, [this] { ApplyListSelection(); });
    UpdateButtons();
    return true;
}

void CPgWiz_3::FillList()
{
    const QSignalBlocker quiet(list_);
    list_->clear();
    AddEntry(list_, QStringLiteral("No Layout"), 0);
    const DocSetup& r = Record();
    WizNode* node = CurrentNode();
    if (r.fromCategory == 1 && node && node->kind == kWizKindBackdrop && tree_) {
        int32_t count = 0;
        if (tree_->GetEntryCount(node, &count) != 0)
            return;
        for (int32_t n = 1; n <= count; ++n) {
            WizTemplateEntry entry;
            if (tree_->GetEntry(node, n, &entry) != 0)
                return;
            AddEntry(list_, Cp1252ToQString(std::string_view(entry.name, strnlen(entry.name, sizeof entry.name))),
                     entry.templateId);
        }
    } else {
        HandleOwner records(HandleNew(0));
        HandleOwner ids(HandleNew(0));
        int32_t count = 0;
        if (records && ids && ListTemplates(records.get(), ids.get(), &count) == 0) {
            const double width = DocSetupLabelWidth(r);
            const double height = DocSetupLabelHeight(r);
            for (int32_t i = 0; i < count; ++i) {
                if (size_t(i + 1) * kTmInSize > HandleGetSize(records.get()) ||
                    size_t(i + 1) * 4 > HandleGetSize(ids.get()))
                    break;
                const uint8_t* info = HandleData<uint8_t>(records.get()) + size_t(i) * kTmInSize;
                double w = 0;
                double h = 0;
                TemplateInfoSize(info, &w, &h);
                if (w != width || h != height)
                    continue;
                char name[256] = {};
                TemplateInfoName(info, name, sizeof name);
                AddEntry(list_, Cp1252ToQString(name), GetU32LE(HandleData<uint8_t>(ids.get()) + size_t(i) * 4));
            }
        }
    }
    list_->setCurrentRow(0);
}

void CPgWiz_3::ApplyListSelection()
{
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (!selected.isEmpty()) {
        templateId_ = selected.front()->data(Qt::UserRole).toUInt();
        Record().templateId = templateId_;
        ShowOverlay();
    } else {
        templateId_ = 0;
        ClearOverlayLayer(content_);
    }
    UpdateButtons();
}

void CPgWiz_3::ShowOverlay()
{
    if (templateId_ >= 1)
        ShowTemplateOverlay(content_, int32_t(templateId_), LabelWidth(), LabelHeight());
    else
        ClearOverlayLayer(content_);
}

void CPgWiz_3::Rebuild()
{
    FillList();
    const DocSetup& r = Record();
    if (r.backdropId < 1 ||
        ShowBackdropPicture(content_, int32_t(r.backdropId), int32_t(r.backdropColour), LabelWidth(), LabelHeight()) != 0)
        ClearBackdropLayer(content_);
    ShowOverlay();
    ApplyListSelection();
    TakeSnapshot();
}

void CPgWiz_3::OnPageShown()
{
    if (HasChanged(kChangedNodeOrLayout | kChangedBackdrop))
        Rebuild();
    UpdateButtons();
}

void CPgWiz_3::UpdateButtons()
{
    if (list_ && list_->count() > 0 && !list_->selectedItems().isEmpty())
        CPgWiz::UpdateButtons();
    else
        Sheet()->SetWizardButtons(kWizButtonBack);
}

void CPgWiz_3::StoreChoice()
{
    Record().templateId = templateId_;
}

#include "wizard/pg_ws_backdrops.h"

#include <QPushButton>

#include "catalog/backdrop_list.h"
#include "catalog/wiz_tree.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_list_format.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/handle.h"
#include "wizard/picture_file_dialog_run.h"
#include "wizard/smart_listbox.h"
#include "wizard/wiz_page_pictures.h"
#include "wizard/wizard_preview_wnd.h"

namespace {

enum : int32_t {
    kIdBackdropList = 1565,
    kIdBackdropName = 1576,
    kIdSubtypeList = 1575,
    kIdSubtypeName = 1577,
    kIdAddBackdrops = 1463,
    kIdDeleteBackdrops = 1542,
    kIdAddSubtypes = 1539,
    kIdDeleteSubtypes = 1543,
};

// Names typed for a backdrop or subtype keep at most 62 characters.
constexpr size_t kTypedNameField = 63;

std::string ItemName(const uint8_t* item)
{
    char name[kWizFileNameSize];
    BackdropItemName(item, name, int32_t(sizeof name));
    return name;
}

// The pictures the user chose, as host paths; empty after Cancel.
std::vector<std::string> ChoosePictures(QWidget* owner, const PathRecord& start, PathRecord* folder)
{
    std::vector<std::string> paths;
    HandleOwner list(HandleNew(0));
    int32_t count = 0;
    if (!list ||
        PictureFileDialogRun(owner, "Select Picture/Pictures To Import", start, &count, list.get()) != 1)
        return paths;
    for (int32_t i = 0; i < count; ++i) {
        const PathRecord& r = HandleData<PathRecord>(list.get())[i];
        paths.push_back(PathRecordToPosix(r));
        if (i == 0) {
            *folder = r;
            folder->name[0] = '\0';
            folder->extension[0] = '\0';
        }
    }
    return paths;
}

}  // namespace

CPgWS_Backdrops::CPgWS_Backdrops() : CPgWS(589, "Edit Backdrop List") {}

void CPgWS_Backdrops::BuildControls()
{
    AddLabel("Backdrop List:", -1, 7, 7, 140, 9);
    backdrops_ = Place(new CSmartListbox, kIdBackdropList, 7, 17, 140, 118);
    backdropName_ = Place(new CSmartEdit, kIdBackdropName, 7, 139, 140, 13);
    AddButton("Add New Backdrop...", kIdAddBackdrops, 7, 156, 140, 14);
    AddButton("Delete Backdrops", kIdDeleteBackdrops, 7, 173, 140, 14);
    AddLabel("Backdrop Subtype (Color):", -1, 155, 7, 140, 9);
    subtypes_ = Place(new CSmartListbox, kIdSubtypeList, 155, 17, 140, 118);
    subtypeName_ = Place(new CSmartEdit, kIdSubtypeName, 155, 139, 140, 13);
    AddButton("Add New Subtype...", kIdAddSubtypes, 155, 156, 140, 14);
    AddButton("Delete Subtypes", kIdDeleteSubtypes, 155, 173, 140, 14);
    AddFrame(kIdSetupPreviewPlace, 303, 17, 163, 118);

    connect(backdrops_, &QListWidget::itemSelectionChanged, this, [this] { OnBackdropSelected(); });
    connect(subtypes_, &QListWidget::itemSelectionChanged, this, [this] { OnSubtypeSelected(); });
    connect(backdropName_, &QLineEdit::textEdited, this, [this] { OnBackdropNameEdited(); });
    connect(subtypeName_, &QLineEdit::textEdited, this, [this] { OnSubtypeNameEdited(); });
    connect(Button(kIdAddBackdrops), &QPushButton::clicked, this, [this] { OnAddBackdrops(); });
    connect(Button(kIdDeleteBackdrops), &QPushButton::clicked, this, [this] { OnDeleteBackdrops(); });
    connect(Button(kIdAddSubtypes), &QPushButton::clicked, this, [this] { OnAddSubtypes(); });
    connect(Button(kIdDeleteSubtypes), &QPushButton::clicked, this, [this] { OnDeleteSubtypes(); });
    const auto changed = [this](const SmartListChange& change, CSmartListbox* list) { OnListChanged(change, list); };
    backdrops_->SetChangeHandler(changed);
    subtypes_->SetChangeHandler(changed);
}

bool CPgWS_Backdrops::OnInitDialog()
{
    CPgWS::OnInitDialog();
    backdrops_->SetStyle(kSmartMultiSelect | kSmartDragReorder);
    subtypes_->SetStyle(kSmartMultiSelect | kSmartDragReorder);
    FillBackdropList();
    OnBackdropSelected();
    TakeBackdropCounter();
    return true;
}

void CPgWS_Backdrops::OnPageShown(bool shown)
{
    if (!shown || !BackdropsChanged())
        return;
    FillBackdropList();
    OnBackdropSelected();
    TakeBackdropCounter();
}

int32_t CPgWS_Backdrops::SelectedGroup() const
{
    const int32_t index = backdrops_->GetFirstSelected();
    return index < 0 ? 0 : int32_t(backdrops_->GetItemData(index));
}

void CPgWS_Backdrops::FillBackdropList()
{
    backdrops_->ResetContent();
    for (const BackdropGroupEntry& group : BackdropGroupEntries()) {
        CSmartListItem entry;
        entry.text = group.name;
        entry.data = group.id;
        backdrops_->AddItem(&entry);
    }
    backdrops_->SelectRange(0, 0);
}

void CPgWS_Backdrops::FillSubtypes()
{
    subtypes_->ResetContent();
    const int32_t group = SelectedGroup();
    HandleOwner names(HandleNew(0));
    int32_t count = 0;
    if (group == 0 || !names || ListGroupItemNames(group, names.get(), &count) != 0)
        return;
    for (int32_t i = 0; i < count; ++i) {
        char name[kWizFileNameSize];
        WizGetName(HandleData<uint8_t>(names.get()) + size_t(i) * kWizFileNameSize, kWizFileNameSize, name,
                   int32_t(sizeof name));
        CSmartListItem entry;
        entry.text = name;
        entry.data = uint32_t(i + 1);
        subtypes_->AddItem(&entry);
    }
    subtypes_->SelectRange(0, 0);
}

void CPgWS_Backdrops::OnBackdropSelected()
{
    const int32_t index = backdrops_->GetFirstSelected();
    CSmartListItem entry;
    backdropName_->SetTextQuiet(backdrops_->GetItem(index, &entry) ? entry.text : std::string());
    FillSubtypes();
    OnSubtypeSelected();
    UpdateButtons();
}

void CPgWS_Backdrops::OnSubtypeSelected()
{
    const int32_t group = SelectedGroup();
    const int32_t index = subtypes_->GetFirstSelected();
    CSmartListItem entry;
    subtypeName_->SetTextQuiet(subtypes_->GetItem(index, &entry) ? entry.text : std::string());
    if (group == 0 || index < 0 || ShowBackdropPicture(preview_, group, index + 1, -1, -1) != 0)
        ClearBackdropLayer(preview_);
    UpdateButtons();
}

void CPgWS_Backdrops::UpdateButtons()
{
    const bool backdrop = backdrops_->Count() > 0 && backdrops_->GetFirstSelected() >= 0;
    EnableControl(kIdBackdropName, backdrop);
    EnableControl(kIdDeleteBackdrops, backdrop);
    EnableControl(kIdAddSubtypes, backdrop);
    const bool subtype = backdrop && subtypes_->Count() > 0;
    EnableControl(kIdSubtypeName, subtype);
    EnableControl(kIdDeleteSubtypes, subtype);
}

void CPgWS_Backdrops::OnBackdropNameEdited()
{
    backdropName_->setModified(false);
    int32_t group = SelectedGroup();
    const int32_t index = backdrops_->GetFirstSelected();
    uint8_t item[kBkItemSize];
    if (group == 0 || GetBackdropItem(group, 1, item) != 0)
        return;
    const std::string text = QStringToCp1252(backdropName_->text());
    WizPutName(item + kBkItemNameAt, kTypedNameField, text.c_str());
    int32_t n = 1;
    if (PutBackdropItem(&group, &n, item) != 0)
        return;
    backdrops_->SetItemText(index, ItemName(item));
    subtypes_->SetItemText(0, ItemName(item));
}

void CPgWS_Backdrops::OnSubtypeNameEdited()
{
    subtypeName_->setModified(false);
    int32_t group = SelectedGroup();
    const int32_t index = subtypes_->GetFirstSelected();
    int32_t n = index + 1;
    uint8_t item[kBkItemSize];
    if (group == 0 || index < 0 || GetBackdropItem(group, n, item) != 0)
        return;
    const std::string text = QStringToCp1252(subtypeName_->text());
    WizPutName(item + kBkItemNameAt, kTypedNameField, text.c_str());
    if (PutBackdropItem(&group, &n, item) != 0)
        return;
    subtypes_->SetItemText(index, ItemName(item));
    // The first subtype names the backdrop.
    if (n == 1)
        backdrops_->SetItemText(backdrops_->GetFirstSelected(), ItemName(item));
}

bool CPgWS_Backdrops::AddPictures(CSmartListbox* list, int32_t* group, bool newGroups)
{
    const std::vector<std::string> paths = ChoosePictures(this, lastFolder_, &lastFolder_);
    int32_t first = -1;
    int32_t last = -1;
    for (const std::string& path : paths) {
        PathRecord source{};
        if (PathRecordFromPosix(path, &source) != 0)
            continue;
        if (newGroups)
            *group = 0;
        int32_t n = 0;
        uint8_t item[kBkItemSize] = {};
        // A picture that does not convert is left out; the others still
        // come in.
        if (ReadBackdropFile(&source, nullptr, group, &n, item) != 0)
            continue;
        CSmartListItem entry;
        entry.text = ItemName(item);
        entry.data = uint32_t(newGroups ? *group : n);
        last = list->AddItem(&entry);
        if (first < 0)
            first = last;
    }
    if (first < 0)
        return false;
    list->SelectRange(first, last);
    return true;
}

void CPgWS_Backdrops::OnAddBackdrops()
{
    int32_t group = 0;
    if (AddPictures(backdrops_, &group, true))
        OnBackdropSelected();
    RaiseBackdropCounter();
}

void CPgWS_Backdrops::OnDeleteBackdrops()
{
    const std::vector<int32_t> selected = backdrops_->SelectedIndexes();
    // From the last, so that the indexes still to come stay where they are.
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        const int32_t group = int32_t(backdrops_->GetItemData(*it));
        if (tree_)
            tree_->DeleteBackdropNodes(uint32_t(group));
        if (DeleteBackdrop(group, 0) != 0)
            break;
        backdrops_->DeleteItem(*it);
    }
    backdrops_->SelectRange(0, 0);
    OnBackdropSelected();
    RaiseBackdropCounter();
}

void CPgWS_Backdrops::OnAddSubtypes()
{
    int32_t group = SelectedGroup();
    if (group == 0)
        return;
    if (AddPictures(subtypes_, &group, false))
        OnSubtypeSelected();
    UpdateButtons();
}

void CPgWS_Backdrops::OnDeleteSubtypes()
{
    const int32_t group = SelectedGroup();
    if (group == 0)
        return;
    const std::vector<int32_t> selected = subtypes_->SelectedIndexes();
    bool firstGone = false;
    for (size_t k = 0; k < selected.size(); ++k) {
        const int32_t index = selected[k] - int32_t(k);
        if (DeleteBackdrop(group, index + 1) != 0)
            break;
        firstGone = firstGone || index == 0;
        subtypes_->DeleteItem(index);
    }
    if (firstGone)
        RereadBackdropName();
    subtypes_->SelectRange(0, 0);
    OnSubtypeSelected();
}

void CPgWS_Backdrops::RereadBackdropName()
{
    const int32_t group = SelectedGroup();
    const int32_t index = backdrops_->GetFirstSelected();
    uint8_t item[kBkItemSize];
    if (group == 0 || GetBackdropItem(group, 1, item) != 0)
        return;
    backdrops_->SetItemText(index, ItemName(item));
    backdropName_->SetTextQuiet(ItemName(item));
}

void CPgWS_Backdrops::OnListChanged(const SmartListChange& change, CSmartListbox* list)
{
    if (change.code != kSmartMoved)
        return;
    if (list == backdrops_) {
        const int32_t group = int32_t(backdrops_->GetItemData(change.second));
        MoveBackdropItem(group, 0, change.second + 1);
    } else if (list == subtypes_) {
        const int32_t group = SelectedGroup();
        if (MoveBackdropItem(group, change.first + 1, change.second + 1) == 0 &&
            (change.first == 0 || change.second == 0))
            RereadBackdropName();
    }
    RaiseBackdropCounter();
}

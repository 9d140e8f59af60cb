#include "wizard/pg_ws_relations.h"

#include <cmath>
#include <cstring>

#include <QCheckBox>
#include <QEvent>
#include <QKeySequence>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "catalog/backdrop_list.h"
#include "catalog/template_list.h"
#include "catalog/wiz_tree_format.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_list_format.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/int_math.h"
#include "wizard/category_tree_ctrl.h"
#include "wizard/dlg_doc_sub_category.h"
#include "wizard/smart_listbox.h"
#include "wizard/wiz_page_pictures.h"
#include "wizard/wizard_preview_wnd.h"

namespace {

enum : int32_t {
    kIdTree = 1592,
    kIdAddCategory = 1463,
    kIdAddSubCategory = 1593,
    kIdAddFilter = 1594,
    kIdAddBackdrop = 1595,
    kIdAddTemplate = 1596,
    kIdDelete = 1598,
    kIdEdit = 1602,
    kIdEntries = 1535,
    kIdEntryName = 1587,
    kIdAllBackdrops = 1567,
    kIdAllTemplates = 1568,
    kIdRatio = 1608,
};

// Entry names typed here keep at most 62 characters, names taken from a
// template's record at most 63.
constexpr size_t kTypedNameField = 63;

SubCategoryDialogRunner g_runner = &RunDocSubCategoryDialog;

int32_t Round(double value)
{
    return TruncToInt32(std::floor(value + 0.5));
}

uint32_t SelectedData(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toUInt() : 0;
}

// The buttons' icons (20 x 20): adding, then deleting and changing by what
// the button acts on.
enum : int32_t {
    kIconAddCategory = 594,
    kIconAddSubCategory = 604,
    kIconAddFilter = 605,
    kIconAddBackdrop = 606,
    kIconAddTemplate = 607,
    kIconDeleteTemplate = 608,
    kIconDeleteCategory = 609,  // 609 to 612 by node kind 1 to 4
    kIconEditCategory = 613,
    kIconEditSubCategory = 614,
    kIconEditBackdrop = 615,
};

// The icon replaces the button's text; its mnemonic still presses it.
void SetButtonIcon(QPushButton* button, int32_t icon)
{
    if (!button)
        return;
    const QIcon picture = CCategoryTreeCtrl::LoadIcon20(icon);
    if (picture.isNull())
        return;
    if (!button->text().isEmpty()) {
        button->setShortcut(QKeySequence::mnemonic(button->text()));
        button->setText(QString());
    }
    button->setIcon(picture);
    button->setIconSize(QSize(20, 20));
}

}  // namespace

SubCategoryDialogRunner SetSubCategoryDialogRunner(SubCategoryDialogRunner runner)
{
    SubCategoryDialogRunner previous = g_runner;
    g_runner = runner;
    return previous;
}

CPgWS_Relations::CPgWS_Relations() : CPgWS(586, "Edit Relationships (Main Page)") {}

CPgWS_Relations::~CPgWS_Relations() = default;

void CPgWS_Relations::BuildControls()
{
    treeCtrl_ = Place(new CCategoryTreeCtrl, kIdTree, 7, 7, 150, 170);
    AddButton("D&C", kIdAddCategory, 161, 7, 28, 14);
    AddButton("D&SC", kIdAddSubCategory, 161, 24, 28, 14);
    AddButton("D&F", kIdAddFilter, 161, 41, 28, 14);
    AddButton("D&BD", kIdAddBackdrop, 161, 58, 28, 14);
    AddButton("D&T", kIdAddTemplate, 161, 75, 28, 14);
    AddButton("&DRM", kIdDelete, 161, 100, 28, 14);
    AddButton("&Edit", kIdEdit, 161, 117, 28, 14);
    AddLabel("Templates:", -1, 195, 7, 110, 9);
    entries_ = Place(new CSmartListbox, kIdEntries, 195, 17, 110, 62);
    entryName_ = Place(new CSmartEdit, kIdEntryName, 195, 82, 110, 13);
    AddLabel("All Backdrops:", -1, 195, 99, 110, 9);
    allBackdrops_ = Place(new QListWidget, kIdAllBackdrops, 195, 109, 110, 68);
    AddLabel("All Templates:", -1, 311, 99, 155, 9);
    allTemplates_ = Place(new QListWidget, kIdAllTemplates, 311, 109, 155, 68);
    AddFrame(kIdSetupPreviewPlace, 311, 7, 155, 76);
    ratio_ = Place(new QCheckBox(QStringLiteral("Picture in Document Ratio")), kIdRatio, 311, 86, 155, 10);

    connect(Button(kIdAddCategory), &QPushButton::clicked, this, [this] { OnAddCategory(); });
    connect(Button(kIdAddSubCategory), &QPushButton::clicked, this, [this] { OnAddSubCategory(); });
    connect(Button(kIdAddFilter), &QPushButton::clicked, this, [this] { OnAddFilter(); });
    connect(Button(kIdAddBackdrop), &QPushButton::clicked, this, [this] { OnAddBackdrop(); });
    connect(Button(kIdAddTemplate), &QPushButton::clicked, this, [this] { OnAddTemplate(); });
    connect(Button(kIdDelete), &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(Button(kIdEdit), &QPushButton::clicked, this, [this] { OnEdit(); });
    connect(treeCtrl_, &QTreeWidget::currentItemChanged, this, [this] {
        if (!filling_)
            OnTreeSelected();
    });
    connect(treeCtrl_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        if (!filling_)
            OnTreeItemRenamed(item);
    });
    connect(entries_, &QListWidget::itemSelectionChanged, this, [this] { OnEntrySelected(); });
    connect(entryName_, &QLineEdit::textEdited, this, [this] { OnEntryNameEdited(); });
    connect(allBackdrops_, &QListWidget::itemSelectionChanged, this, [this] {
        if (!filling_)
            OnAllBackdropsSelected();
    });
    connect(allTemplates_, &QListWidget::itemSelectionChanged, this, [this] {
        if (!filling_)
            OnAllTemplatesSelected();
    });
    connect(ratio_, &QCheckBox::clicked, this, [this] { OnRatioClicked(); });
    entries_->SetChangeHandler([this](const SmartListChange& change, CSmartListbox*) { OnEntriesChanged(change); });
}

bool CPgWS_Relations::OnInitDialog()
{
    CPgWS::OnInitDialog();
    treeCtrl_->Fill(tree_);
    treeCtrl_->SetOptions(4);
    treeCtrl_->ClearKinds();
    for (uint32_t kind : {kWizKindCategory, kWizKindSubCategory, kWizKindFilter, kWizKindBackdrop})
        treeCtrl_->AddKind(kind);
    FillAllBackdrops();
    SetButtonIcon(Button(kIdAddCategory), kIconAddCategory);
    SetButtonIcon(Button(kIdAddSubCategory), kIconAddSubCategory);
    SetButtonIcon(Button(kIdAddFilter), kIconAddFilter);
    SetButtonIcon(Button(kIdAddBackdrop), kIconAddBackdrop);
    SetButtonIcon(Button(kIdAddTemplate), kIconAddTemplate);
    SetButtonIcon(Button(kIdDelete), kIconDeleteCategory);
    SetButtonIcon(Button(kIdEdit), kIconEditCategory);
    entries_->SetStyle(kSmartDragReorder);
    ReadTemplateList();
    ShowTree(nullptr);
    SelectFirstCategory();
    ratio_->setChecked(true);
    ratioChecked_ = true;
    OnTreeSelected();
    TakeBackdropCounter();
    TakeTemplateCounter();
    return true;
}

void CPgWS_Relations::OnPageShown(bool shown)
{
    if (!shown || (!BackdropsChanged() && !TemplatesChanged()))
        return;
    if (BackdropsChanged())
        FillAllBackdrops();
    if (TemplatesChanged())
        ReadTemplateList();
    ShowTree(nullptr);
    SelectFirstCategory();
    OnTreeSelected();
    TakeBackdropCounter();
    TakeTemplateCounter();
    UpdateControls();
}

bool CPgWS_Relations::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int32_t id : {kIdEntries, kIdAllBackdrops, kIdAllTemplates, kIdTree}) {
            if (Control(id) == watched)
                NoteFocus(id);
        }
    }
    return CPgWS::eventFilter(watched, event);
}

void CPgWS_Relations::NoteFocus(int32_t controlId)
{
    lastFocus_ = controlId;
    if (controlId == kIdTree)
        ShowNodePicture();
    UpdateControls();
}

// --- Lists ----------------------------------------------------------------

void CPgWS_Relations::FillAllBackdrops()
{
    const QSignalBlocker quiet(allBackdrops_);
    allBackdrops_->clear();
    for (const BackdropGroupEntry& group : BackdropGroupEntries()) {
        auto* item = new QListWidgetItem(Cp1252ToQString(group.name.c_str()));
        item->setData(Qt::UserRole, group.id);
        allBackdrops_->addItem(item);
    }
}

void CPgWS_Relations::ReadTemplateList()
{
    if (!templateRecords_ || !templateIds_ ||
        ListTemplates(templateRecords_.get(), templateIds_.get(), &templateCount_) != 0)
        templateCount_ = 0;
}

void CPgWS_Relations::FillAllTemplates()
{
    const QSignalBlocker quiet(allTemplates_);
    allTemplates_->clear();
    double width = 0;
    double height = 0;
    if (!node_ || tree_->GetDocSize(node_, &width, &height) != 0)
        return;
    for (int32_t i = 0; i < templateCount_; ++i) {
        const uint8_t* info = HandleData<uint8_t>(templateRecords_.get()) + size_t(i) * kTmInSize;
        const uint32_t id = GetU32LE(HandleData<uint8_t>(templateIds_.get()) + size_t(i) * 4);
        double w = 0;
        double h = 0;
        TemplateInfoSize(info, &w, &h);
        if (id == 0 || w != width || h != height)
            continue;
        char name[kWizNameSize];
        TemplateInfoName(info, name, int32_t(sizeof name));
        auto* item = new QListWidgetItem(Cp1252ToQString(name));
        item->setData(Qt::UserRole, id);
        allTemplates_->addItem(item);
    }
    if (allTemplates_->count() > 0)
        allTemplates_->setCurrentRow(0);
}

void CPgWS_Relations::FillEntries()
{
    entries_->ResetContent();
    int32_t count = 0;
    if (NodeKind() != kWizKindBackdrop || tree_->GetEntryCount(node_, &count) != 0)
        return;
    for (int32_t i = 1; i <= count; ++i) {
        WizTemplateEntry entry;
        if (tree_->GetEntry(node_, i, &entry) != 0)
            continue;
        char name[kWizNameSize];
        WizGetName(reinterpret_cast<const uint8_t*>(entry.name), kWizNameSize, name, int32_t(sizeof name));
        CSmartListItem item;
        item.text = name;
        item.data = entry.templateId;
        entries_->AddItem(&item);
    }
}

// --- The tree -------------------------------------------------------------

void CPgWS_Relations::ShowTree(WizNode* select)
{
    filling_ = true;
    treeCtrl_->SetRoot(tree_->Root());
    for (QTreeWidgetItemIterator it(treeCtrl_); *it; ++it)
        (*it)->setFlags((*it)->flags() | Qt::ItemIsEditable);
    if (select) {
        if (QTreeWidgetItem* item = treeCtrl_->FindItemOfNode(select)) {
            if (item->parent())
                item->parent()->setExpanded(true);
            treeCtrl_->setCurrentItem(item);
        }
    }
    filling_ = false;
}

void CPgWS_Relations::SelectFirstCategory()
{
    const uint32_t kinds[] = {kWizKindCategory};
    QTreeWidgetItem* first = treeCtrl_->topLevelItemCount() > 0
                                 ? treeCtrl_->FindDescendantOfKind(treeCtrl_->topLevelItem(0), 1, kinds)
                                 : nullptr;
    filling_ = true;
    treeCtrl_->setCurrentItem(first);
    filling_ = false;
}

uint32_t CPgWS_Relations::NodeKind() const
{
    return node_ ? node_->kind : 0;
}

WizNode* CPgWS_Relations::NearestOfKinds(std::initializer_list<uint32_t> kinds) const
{
    for (WizNode* n = node_; n; n = n->parent) {
        for (uint32_t kind : kinds) {
            if (n->kind == kind)
                return n;
        }
    }
    return nullptr;
}

uint32_t CPgWS_Relations::SelectedGroup() const
{
    return SelectedData(allBackdrops_);
}

void CPgWS_Relations::ShowAdded(WizNode* node)
{
    if (!node)
        return;
    ShowTree(node);
    OnTreeSelected();
}

void CPgWS_Relations::OnTreeSelected()
{
    QTreeWidgetItem* item = treeCtrl_->currentItem();
    node_ = item ? treeCtrl_->GetNodeOfItem(item) : nullptr;
    if (node_ == tree_->Root())
        node_ = nullptr;
    ShowNodePicture();
    FillAllTemplates();
    FillEntries();
    UpdateControls();
}

void CPgWS_Relations::OnTreeItemRenamed(QTreeWidgetItem* item)
{
    WizNode* node = treeCtrl_->GetNodeOfItem(item);
    if (!node || node == tree_->Root())
        return;
    tree_->SetName(node, QStringToCp1252(item->text(0)).c_str());
    char name[kWizNameSize];
    tree_->GetName(node, name, int32_t(sizeof name));
    filling_ = true;
    item->setText(0, Cp1252ToQString(name));
    filling_ = false;
    UpdateControls();
}

// --- Pictures -------------------------------------------------------------

void CPgWS_Relations::ShowNodePicture()
{
    ClearOverlayLayer(preview_);
    double width = 0;
    double height = 0;
    if (!node_ || tree_->GetDocSize(node_, &width, &height) != 0) {
        ClearBackdropLayer(preview_);
        return;
    }
    if (node_->kind == kWizKindBackdrop) {
        uint32_t group = 0;
        if (tree_->GetGroup(node_, &group) != 0 ||
            ShowBackdropPicture(preview_, int32_t(group), 1, Round(width), Round(height)) != 0)
            ClearBackdropLayer(preview_);
        return;
    }
    DibHandle picture = tree_->GetPicture(node_, 1);
    if (!picture) {
        ClearBackdropLayer(preview_);
        return;
    }
    preview_->SetBackground(picture, Round(width), Round(height));
}

void CPgWS_Relations::ShowTemplate(uint32_t templateId)
{
    double width = 0;
    double height = 0;
    if (templateId == 0 || !node_ || tree_->GetDocSize(node_, &width, &height) != 0) {
        ClearOverlayLayer(preview_);
        ClearBackdropLayer(preview_);
        return;
    }
    ShowTemplatePicture(templateId, Round(width), Round(height));
}

// --- Adding ---------------------------------------------------------------

void CPgWS_Relations::OnAddCategory()
{
    uint8_t layout[kWizLayoutSize] = {};
    std::string design;
    if (!g_runner || g_runner(this, layout, 1, nullptr, &design) != 1)
        return;
    ShowAdded(tree_->AddCategory(layout, design.c_str()));
}

void CPgWS_Relations::OnAddSubCategory()
{
    WizNode* category = NearestOfKinds({kWizKindCategory});
    uint8_t layout[kWizLayoutSize] = {};
    if (!category || tree_->GetLabelType(category, layout) != 0)
        return;
    std::string design;
    if (!g_runner || g_runner(this, layout, 1, nullptr, &design) != 1)
        return;
    ShowAdded(tree_->AddSubCategory(category, layout, design.c_str()));
}

void CPgWS_Relations::OnAddFilter()
{
    WizNode* parent = NearestOfKinds({kWizKindCategory, kWizKindSubCategory});
    if (parent)
        ShowAdded(tree_->AddFilter(parent));
}

void CPgWS_Relations::OnAddBackdrop()
{
    WizNode* parent = NearestOfKinds({kWizKindCategory, kWizKindSubCategory, kWizKindFilter});
    const uint32_t group = SelectedGroup();
    if (parent && group != 0)
        ShowAdded(tree_->AddBackdrop(parent, group));
}

void CPgWS_Relations::OnAddTemplate()
{
    const uint32_t id = SelectedData(allTemplates_);
    uint8_t info[kTmInSize];
    if (NodeKind() != kWizKindBackdrop || id == 0 || ReadTemplateInfo(int32_t(id), info) != 0) {
        UpdateControls();
        return;
    }
    WizTemplateEntry entry;
    char name[kWizNameSize];
    TemplateInfoName(info, name, int32_t(sizeof name));
    WizPutName(reinterpret_cast<uint8_t*>(entry.name), kWizNameSize, name);
    entry.templateId = id;
    int32_t n = 0;
    if (tree_->SetEntry(node_, &n, entry) == 0) {
        CSmartListItem item;
        item.text = name;
        item.data = id;
        const int32_t index = entries_->AddItem(&item);
        entries_->SelectRange(index, index);
        OnEntrySelected();
    }
    UpdateControls();
}

// --- Deleting and editing -------------------------------------------------

void CPgWS_Relations::OnDelete()
{
    if (lastFocus_ == kIdEntries) {
        const int32_t index = entries_->GetFirstSelected();
        if (NodeKind() == kWizKindBackdrop && index >= 0 && tree_->RemoveEntry(node_, index + 1) == 0) {
            entries_->DeleteItem(index);
            const int32_t next = std::min(index, entries_->Count() - 1);
            entries_->SelectRange(next, next);
            OnEntrySelected();
        }
    } else if (lastFocus_ == kIdTree && node_) {
        WizNode* doomed = node_;
        filling_ = true;
        treeCtrl_->DeleteSelected();
        filling_ = false;
        tree_->DeleteNode(doomed);
        node_ = nullptr;
        OnTreeSelected();
    }
    UpdateControls();
}

void CPgWS_Relations::OnEdit()
{
    const uint32_t kind = NodeKind();
    QTreeWidgetItem* item = treeCtrl_->currentItem();
    if (kind == kWizKindCategory || kind == kWizKindSubCategory) {
        uint8_t layout[kWizLayoutSize] = {};
        if (tree_->GetLabelType(node_, layout) != 0 || !g_runner)
            return;
        DibHandleOwner picture(tree_->GetPicture(node_, 1));
        std::string design;
        if (g_runner(this, layout, node_->firstChild ? 2 : 1, picture.get(), &design) != 1)
            return;
        tree_->SetLabelType(node_, layout);
        if (!design.empty())
            tree_->SetDesign(node_, design.c_str(), 0);
    } else if (kind == kWizKindBackdrop) {
        const uint32_t group = SelectedGroup();
        uint8_t first[kBkItemSize];
        if (group == 0 || tree_->SetDesign(node_, "", group) != 0)
            return;
        if (GetBackdropItem(int32_t(group), 1, first) == 0) {
            char name[kWizFileNameSize];
            BackdropItemName(first, name, int32_t(sizeof name));
            tree_->SetName(node_, name);
        }
    } else {
        return;
    }
    if (item) {
        char name[kWizNameSize];
        tree_->GetName(node_, name, int32_t(sizeof name));
        filling_ = true;
        item->setText(0, Cp1252ToQString(name));
        filling_ = false;
    }
    ShowNodePicture();
    UpdateControls();
}

// --- The other controls ---------------------------------------------------

void CPgWS_Relations::OnEntrySelected()
{
    const int32_t index = entries_->GetFirstSelected();
    CSmartListItem item;
    if (NodeKind() != kWizKindBackdrop || !entries_->GetItem(index, &item)) {
        entryName_->SetTextQuiet(std::string());
        ClearOverlayLayer(preview_);
        ClearBackdropLayer(preview_);
        UpdateControls();
        return;
    }
    entryName_->SetTextQuiet(item.text);
    ShowTemplate(item.data);
    UpdateControls();
}

void CPgWS_Relations::OnEntryNameEdited()
{
    entryName_->setModified(false);
    const int32_t index = entries_->GetFirstSelected();
    WizTemplateEntry entry;
    if (NodeKind() != kWizKindBackdrop || index < 0 || tree_->GetEntry(node_, index + 1, &entry) != 0)
        return;
    const std::string text = QStringToCp1252(entryName_->text());
    std::memset(entry.name, 0, sizeof entry.name);
    WizPutName(reinterpret_cast<uint8_t*>(entry.name), kTypedNameField, text.c_str());
    int32_t n = index + 1;
    if (tree_->SetEntry(node_, &n, entry) == 0)
        entries_->SetItemText(index, std::string(entry.name, strnlen(entry.name, sizeof entry.name)));
}

void CPgWS_Relations::OnAllBackdropsSelected()
{
    const uint32_t group = SelectedGroup();
    ClearOverlayLayer(preview_);
    if (group == 0) {
        ClearBackdropLayer(preview_);
    } else if (ratioChecked_) {
        WizNode* category = NearestOfKinds({kWizKindCategory, kWizKindSubCategory});
        uint8_t layout[kWizLayoutSize];
        if (!category || tree_->GetLabelType(category, layout) != 0) {
            ClearBackdropLayer(preview_);
        } else {
            const int32_t width = Round(GetF64LE(layout + kWizLayoutWidthAt));
            const int32_t height = Round(GetF64LE(layout + kWizLayoutHeightAt));
            if (ShowBackdropPicture(preview_, int32_t(group), 1, width, height) != 0)
                ClearBackdropLayer(preview_);
        }
    } else if (ShowBackdropPicture(preview_, int32_t(group), 1, -1, -1) != 0) {
        ClearBackdropLayer(preview_);
    }
    UpdateControls();
}

void CPgWS_Relations::OnAllTemplatesSelected()
{
    ShowTemplate(SelectedData(allTemplates_));
    UpdateControls();
}

void CPgWS_Relations::OnRatioClicked()
{
    ratioChecked_ = ratio_->isChecked();
    OnAllBackdropsSelected();
}

void CPgWS_Relations::OnEntriesChanged(const SmartListChange& change)
{
    if (change.code == kSmartMoved && NodeKind() == kWizKindBackdrop)
        tree_->MoveEntry(node_, change.first + 1, change.second + 1);
}

void CPgWS_Relations::UpdateControls()
{
    const uint32_t kind = NodeKind();
    const bool group = SelectedGroup() != 0;
    const bool layoutNode = kind == kWizKindCategory || kind == kWizKindSubCategory;
    // Categories are made and changed in the layout dialog; without one
    // those buttons have nothing to offer.
    const bool dialog = g_runner != nullptr;
    EnableControl(kIdAddCategory, dialog && (kind == 0 || kind == kWizKindCategory));
    EnableControl(kIdAddSubCategory, dialog && layoutNode);
    EnableControl(kIdAddFilter, layoutNode || kind == kWizKindFilter);
    EnableControl(kIdAddBackdrop, kind != 0 && group);
    EnableControl(kIdAddTemplate, kind == kWizKindBackdrop && SelectedData(allTemplates_) != 0);
    bool edit = (dialog && layoutNode) || (kind == kWizKindBackdrop && group);
    bool remove = kind != 0;
    if (kind != kWizKindBackdrop && entries_->Count() > 0)
        entries_->ResetContent();
    EnableControl(kIdEntries, kind == kWizKindBackdrop);
    if (lastFocus_ == kIdEntries) {
        remove = entries_->GetFirstSelected() >= 0;
        edit = false;
    } else if (lastFocus_ != kIdTree) {
        remove = false;
    }
    EnableControl(kIdDelete, remove);
    EnableControl(kIdEdit, edit);
    // "&DRM" and "&Edit" show what they would act on.
    int32_t deleteIcon = kIconDeleteCategory;
    if (lastFocus_ == kIdEntries)
        deleteIcon = kIconDeleteTemplate;
    else if (kind >= kWizKindCategory && kind <= kWizKindBackdrop)
        deleteIcon = kIconDeleteCategory + int32_t(kind) - 1;
    SetButtonIcon(Button(kIdDelete), deleteIcon);
    SetButtonIcon(Button(kIdEdit), kind == kWizKindSubCategory ? kIconEditSubCategory
                                   : kind == kWizKindBackdrop  ? kIconEditBackdrop
                                                               : kIconEditCategory);
    EnableControl(kIdEntryName, entries_->Count() > 0);
    EnableControl(kIdRatio, kind != 0);
    if (kind == 0) {
        ratio_->setChecked(false);
        ratioChecked_ = false;
    }
}

int32_t CPgWS_Relations::GetToolTipId(int32_t controlId)
{
    const uint32_t kind = NodeKind();
    switch (controlId) {
    case kIdAddCategory:
        return 1015;
    case kIdAddSubCategory:
        return 1016;
    case kIdAddFilter:
        return 1017;
    case kIdAddBackdrop:
        return 1018;
    case kIdAddTemplate:
        return 1019;
    case kIdDelete:
        if (lastFocus_ == kIdEntries)
            return 1029;
        if (lastFocus_ == kIdTree && kind >= kWizKindCategory && kind <= kWizKindBackdrop)
            return int32_t(1024 + kind);
        return 0;
    case kIdEdit:
        if (kind == kWizKindCategory)
            return 1030;
        if (kind == kWizKindSubCategory)
            return 1031;
        if (kind == kWizKindBackdrop)
            return 1033;
        return 0;
    default:
        return 0;
    }
}

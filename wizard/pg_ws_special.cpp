#include "wizard/pg_ws_special.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>

#include "catalog/backdrop_list.h"
#include "catalog/item_file.h"
#include "catalog/item_file_format.h"
#include "catalog/template_file.h"
#include "catalog/template_file_format.h"
#include "catalog/template_list.h"
#include "catalog/wiz_tree_format.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_folders.h"
#include "catalog/wizard_list_format.h"
#include "dialogs/dlg_template_name.h"
#include "dialogs/picture_file_dialogs.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/cursors.h"
#include "foundation/file_io.h"
#include "foundation/int_math.h"
#include "foundation/program_folder.h"
#include "wizard/setup_file_choosers.h"
#include "wizard/smart_listbox.h"
#include "wizard/wiz_page_pictures.h"
#include "wizard/wizard_preview_wnd.h"

namespace {

enum : int32_t {
    kIdTabs = 1744,
    kIdCaption = 1742,
    kIdFaults = 1756,
};

struct TabLook {
    const char* name;
    const char* caption;
    const char* rescan;
};

const TabLook kTabs[kSpecialTabCount] = {
    {"Backdrops", "Backdrops Warning:", "Rescan Backdrops"},
    {"Templates", "Template Warning:", "Rescan Templates"},
    {"Design", "Design Warning:", "Rescan Designs"},
    {"Relations", "Relationships Warning:", "Rescan Relationships"},
    {"Tree", "Nodes Warning:", "Rescan Nodes"},
};

// When an action applies to the selected entry.
enum class ActionWhen { kRemove, kAddToList, kSelectOriginal, kGroupMissing, kTemplateMissing, kAlways };

struct ActionButton {
    int32_t tab;
    int32_t id;
    const char* text;
    void (CPgWS_Special::*handler)();
    ActionWhen when;
};

const ActionButton kActions[] = {
    {0, kIdSpecialRemoveBackdrop, "Remove Backdrop", &CPgWS_Special::OnRemoveBackdrop, ActionWhen::kRemove},
    {0, kIdSpecialAddBackdrop, "Add to Backdrops List", &CPgWS_Special::OnAddBackdrop, ActionWhen::kAddToList},
    {0, kIdSpecialBackdropOriginal, "Select Original File", &CPgWS_Special::OnBackdropOriginal,
     ActionWhen::kSelectOriginal},
    {1, kIdSpecialRemoveTemplate, "Remove Template", &CPgWS_Special::OnRemoveTemplate, ActionWhen::kRemove},
    {1, kIdSpecialAddTemplate, "Add to Templates List", &CPgWS_Special::OnAddTemplate, ActionWhen::kAddToList},
    {1, kIdSpecialTemplateOriginal, "Select Original File", &CPgWS_Special::OnTemplateOriginal,
     ActionWhen::kSelectOriginal},
    {2, kIdSpecialRemoveDesign, "Remove Design Preview", &CPgWS_Special::OnRemoveDesign, ActionWhen::kRemove},
    {3, kIdSpecialRemoveBackdropRef, "Remove Backdrop Reference ", &CPgWS_Special::OnRemoveBackdropRef,
     ActionWhen::kGroupMissing},
    {3, kIdSpecialRemoveTemplateRef, "Remove Template Reference", &CPgWS_Special::OnRemoveTemplateRef,
     ActionWhen::kTemplateMissing},
    {4, kIdSpecialCorrectNode, "Correct Node", &CPgWS_Special::OnCorrectNode, ActionWhen::kAlways},
};

bool Applies(ActionWhen when, const SpecialVerdict& v, const WizardFault& f)
{
    switch (when) {
    case ActionWhen::kRemove:
        return v.remove;
    case ActionWhen::kAddToList:
        return v.addToList;
    case ActionWhen::kSelectOriginal:
        return v.selectOriginal;
    case ActionWhen::kGroupMissing:
        return f.relationFault == kWizRelationGroupMissing;
    case ActionWhen::kTemplateMissing:
        return f.relationFault == kWizRelationTemplateMissing;
    case ActionWhen::kAlways:
        return true;
    }
    return false;
}

constexpr uint32_t kItemVersion = 3;
constexpr uint32_t kTemplateVersion = 4;
constexpr int32_t kHeaderPictures[] = {1, 2, 3, 4, 5, 6, 7, 1000};
constexpr int32_t kFinishPicture = 1000;

const char* const kFolderBox = "You should remove folder yourself";

std::string FieldText(const uint8_t* field, size_t size)
{
    char text[256];
    WizGetName(field, size, text, int32_t(sizeof text));
    return text;
}

std::string WithoutExtension(const std::string& name)
{
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool KnownFile(const WizardFault& f)
{
    return !f.isFolder && !f.unknownFormat && f.filePresent;
}

// The warnings of the file tabs, in the order they are shown. An old or
// missing file is warned of in its own words where it is one of the
// wizard's header pictures.
struct FileWarnings {
    const char* folder;
    const char* oldNotRegistered;
    const char* oldRegistered;
    const char* oldHeaderPicture;
    const char* unknown;
    const char* missing;
    const char* missingHeaderPicture;
    const char* unused;
    const char* notRegistered;
};

const char* const kOldBackdrop = "Backdrop is old version. Remove it. ";
const char* const kMissingBackdrop =
    "Backdrop file not present in Backdrop folder. Remove it or Select Original File. ";
const char* const kOldTemplate = "Template is old version. Remove it. ";
const char* const kMissingTemplate =
    "Template file not present in Template folder. Remove it or Select Original File. ";

const FileWarnings kFileWarnings[3] = {
    {"Folder not be present in Wizard. Remove it. ", "Backdrop old version. Not used. Remove it. ", kOldBackdrop,
     kOldBackdrop, "Unknown file format. Remove it. ", kMissingBackdrop, kMissingBackdrop,
     "Backdrop file not use in Relationships. Remove it or use in Wizard (Relationships Page)",
     "Backdrop file not registered in Backdrops List. Remove it or Add to Backdrops List."},
    {"Folder not be present in Wizard. Remove it.", "Template is old version. Not used. Remove it.", kOldTemplate,
     kOldTemplate, "Unknown file format. Remove it. ", kMissingTemplate, kMissingTemplate,
     "Template file not use in Relationships. Remove it or use.(Relationships Page) ",
     "Template file not registered in Wizard. Remove it or Add to Templates List.(Edit Template List Page)"},
    {"Folder not be present in Wizard. Remove it.", "Picture preview is old version. Not used. Remove this file.",
     "Document preview is old version. Change it. (Relationships Page:Edit Document)",
     "Is old version. Change it. (Wizard Pictures Page)", "Unknown file format. Remove it.",
     "Document preview not present. Select new. (Relationship Page:Edit Document)",
     "Wizard picture not present. Choose it. ( Wizard Pictures Page)", nullptr, "Remove this file."},
};

// Finds the entry of a file that a list registers, adding one for a file
// the folder lacks.
WizardFault* RegisteredEntry(WizardFaultList* list, const std::string& file, uint32_t versionExpected)
{
    WizardFault* f = list->FindByFileName(file);
    if (!f) {
        WizardFault missing;
        missing.fileName = file;
        missing.versionExpected = versionExpected;
        list->entries.push_back(std::move(missing));
        f = &list->entries.back();
    }
    f->registered = 1;
    return f;
}

std::string FolderOf(const std::string& chosen)
{
    return QFileInfo(QString::fromLocal8Bit(chosen.c_str())).absolutePath().toLocal8Bit().toStdString();
}

}  // namespace

SpecialVerdict JudgeFault(int32_t tab, const WizardFault& f)
{
    SpecialVerdict v;
    if (tab == kSpecialTabRelations) {
        v.rating = kFaultMarkRed;
        v.text = f.relationFault == kWizRelationGroupMissing
                     ? "Backdrop assigned to a node not present in wizard rsrc.\nRemove backdrop reference or assign "
                       "new backdrop.(Relationship Page: Edit Backdrop)\n"
                     : "Template assigned to a node not present in wizard rsrc.\nRemove template reference or "
                       "assign new template. (Relationship Page: Add/Delete Template)\n";
        v.text += "Parent: " + f.parentName;
        return v;
    }
    if (tab == kSpecialTabTree) {
        v.rating = kFaultMarkRed;
        v.text = f.treeFaultText;
        return v;
    }
    if (tab < 0 || tab > kSpecialTabDesigns)
        return v;
    const FileWarnings& w = kFileWarnings[tab];
    v.text = "[ " + f.headerName + " ] [ " + f.displayName + " ]\n";
    bool warned = false;
    auto warn = [&](const char* text, uint32_t rating) {
        if (!text)
            return;
        v.text += text;
        v.rating |= rating;
        warned = true;
    };
    const bool versionDiffers = KnownFile(f) && f.versionFound != f.versionExpected;
    if (f.isFolder)
        warn(w.folder, kFaultMarkRed);
    if (versionDiffers && !f.registered)
        warn(w.oldNotRegistered, kFaultMarkRed);
    if (versionDiffers && f.registered)
        warn(f.headerPicture ? w.oldHeaderPicture : w.oldRegistered, kFaultMarkRed);
    if (f.unknownFormat && !f.isFolder)
        warn(w.unknown, kFaultMarkRed);
    if (f.registered && !f.filePresent)
        warn(f.headerPicture ? w.missingHeaderPicture : w.missing, kFaultMarkRed);
    if (f.registered && f.referenceCount == 0 && tab != kSpecialTabDesigns)
        warn(w.unused, kFaultMarkGreen);
    const bool stray = KnownFile(f) && !f.registered && !versionDiffers;
    if (stray)
        warn(w.notRegistered, tab == kSpecialTabDesigns ? kFaultMarkRed : kFaultMarkYellow);
    v.remove = warned;
    v.addToList = stray && tab != kSpecialTabDesigns;
    v.selectOriginal = f.registered && !f.filePresent && tab != kSpecialTabDesigns;
    return v;
}

CPgWS_Special::CPgWS_Special() : CPgWS(602, "Special Page") {}

void CPgWS_Special::BuildControls()
{
    tabs_ = Place(new QTabBar, kIdTabs, 7, 4, 459, 14);
    caption_ = AddLabel("Warnings:", kIdCaption, 7, 22, 220, 9);
    faults_ = Place(new CFolderListBox, kIdFaults, 7, 32, 220, 118);
    warning_ = AddLabel(" ", kIdSpecialWarning, 7, 153, 326, 40);
    AddGroup("Correct Actions:", 233, 22, 100, 128);
    AddButton("Rescan", kIdSpecialRescan, 239, 34, 88, 14);
    for (const ActionButton& action : kActions) {
        int32_t slot = 0;
        for (const ActionButton& other : kActions) {
            if (&other == &action)
                break;
            if (other.tab == action.tab)
                ++slot;
        }
        AddButton(action.text, action.id, 239, 56 + slot * 18, 88, 14);
    }
    AddFrame(kIdSetupPreviewPlace, 339, 22, 127, 128);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { SelectTab(index); });
    connect(faults_, &QListWidget::itemSelectionChanged, this, [this] { OnEntrySelected(); });
    connect(Button(kIdSpecialRescan), &QPushButton::clicked, this, [this] { Rescan(); });
    for (const ActionButton& action : kActions)
        connect(Button(action.id), &QPushButton::clicked, this,
                [this, handler = action.handler] { (this->*handler)(); });
    faults_->SetRater([this](const WizardFault& f) { return JudgeFault(tab_, f).rating; });
}

bool CPgWS_Special::OnInitDialog()
{
    CPgWS::OnInitDialog();
    {
        const QSignalBlocker quiet(tabs_);
        for (const TabLook& look : kTabs)
            tabs_->addTab(QString::fromLatin1(look.name));
    }
    for (int32_t tab = 1; tab < kSpecialTabCount; ++tab)
        ShowTabButtons(tab, false);
    tab_ = -1;
    SelectTab(0);
    return true;
}

void CPgWS_Special::OnPageShown(bool shown)
{
    // What the other pages changed is seen at the next look. Scanning is
    // left until the page is shown: a scan of the tree reports in boxes.
    for (WizardFaultList& list : lists_)
        list.scanned = false;
    if (!shown)
        return;
    Scan(tab_);
    ShowList();
}

void CPgWS_Special::ShowTabButtons(int32_t tab, bool show)
{
    for (const ActionButton& action : kActions) {
        if (action.tab == tab)
            Button(action.id)->setVisible(show);
    }
}

void CPgWS_Special::SelectTab(int32_t tab)
{
    if (tab < 0 || tab >= kSpecialTabCount)
        return;
    if (tab_ >= 0)
        ShowTabButtons(tab_, false);
    tab_ = tab;
    if (tabs_->currentIndex() != tab) {
        const QSignalBlocker quiet(tabs_);
        tabs_->setCurrentIndex(tab);
    }
    ShowTabButtons(tab, true);
    caption_->setText(QString::fromLatin1(kTabs[tab].caption));
    Button(kIdSpecialRescan)->setText(QString::fromLatin1(kTabs[tab].rescan));
    if (!lists_[size_t(tab)].scanned)
        Scan(tab);
    ShowList();
}

void CPgWS_Special::Rescan()
{
    lists_[size_t(tab_)].scanned = false;
    Scan(tab_);
    ShowList();
}

void CPgWS_Special::ShowList()
{
    faults_->SetSource(&lists_[size_t(tab_)], tab_);
    SelectEntry(lists_[size_t(tab_)].entries.empty() ? -1 : 0);
}

void CPgWS_Special::SelectEntry(int32_t index)
{
    {
        const QSignalBlocker quiet(faults_);
        faults_->clearSelection();
        if (index >= 0 && index < faults_->count()) {
            faults_->setCurrentRow(index);
            faults_->item(index)->setSelected(true);
        }
    }
    OnEntrySelected();
}

WizardFault* CPgWS_Special::Selected()
{
    const int32_t index = faults_->SelectedIndex();
    WizardFaultList& list = lists_[size_t(tab_)];
    return index >= 0 && size_t(index) < list.entries.size() ? &list.entries[size_t(index)] : nullptr;
}

// --- Scanning -------------------------------------------------------------

void CPgWS_Special::Scan(int32_t tab)
{
    if (tab < 0 || tab >= kSpecialTabCount)
        return;
    WizardFaultList& list = lists_[size_t(tab)];
    list.entries.clear();
    SetWaitCursor();
    switch (tab) {
    case kSpecialTabBackdrops:
        ScanBackdrops(&list);
        break;
    case kSpecialTabTemplates:
        ScanTemplates(&list);
        break;
    case kSpecialTabDesigns:
        ScanDesigns(&list);
        break;
    case kSpecialTabRelations:
        if (tree_)
            tree_->CheckBackdropRefs(&list);
        break;
    case kSpecialTabTree:
        if (tree_)
            tree_->CheckWizardTree(&list);
        break;
    default:
        break;
    }
    RestoreSavedCursor();
    list.scanned = true;
}

void CPgWS_Special::ScanFolder(int32_t folder, WizardFaultList* list, bool templates)
{
    PathRecord path{};
    if (WizardFolderPath(&path, folder) != 0)
        return;
    const QDir dir(QString::fromLocal8Bit(PathRecordToPosix(path).c_str()));
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo& info : entries) {
        WizardFault f;
        f.fileName = QStringToCp1252(info.fileName());
        f.displayName = f.fileName;
        f.filePresent = 1;
        f.versionExpected = templates ? kTemplateVersion : kItemVersion;
        if (info.isDir()) {
            f.isFolder = 1;
        } else {
            QFile file(info.absoluteFilePath());
            uint8_t header[kTemplateHeaderSize] = {};
            const qint64 got = file.open(QIODevice::ReadOnly)
                                   ? file.read(reinterpret_cast<char*>(header), qint64(sizeof header))
                                   : 0;
            const uint32_t code = got >= 4 ? GetU32LE(header) : 0;
            if (templates && code == kTemplateFileCode && got >= qint64(kTemplateHeaderSize)) {
                f.versionFound = GetU32LE(header + kTemplateVersionAt);
                f.headerName = FieldText(header + kTemplateNameAt, kTemplateNameSize);
            } else if (!templates && code == kItemFileCode && got >= qint64(kItemHeaderSize)) {
                f.versionFound = GetU32LE(header + kItemVersionAt);
                f.headerName = FieldText(header + kItemSourceAt, kItemSourceSize);
            } else {
                f.unknownFormat = 1;
            }
        }
        list->entries.push_back(std::move(f));
    }
}

void CPgWS_Special::ScanBackdrops(WizardFaultList* list)
{
    ScanFolder(kWizFolderBackdrops, list, false);
    HandleOwner items(HandleNew(0));
    HandleOwner ids(HandleNew(0));
    int32_t groups = 0;
    if (items && ids && ListBackdropGroups(items.get(), ids.get(), &groups) == 0) {
        for (int32_t g = 0; g < groups; ++g) {
            const int32_t group = int32_t(GetU32LE(HandleData<uint8_t>(ids.get()) + size_t(g) * 4));
            int32_t count = 0;
            if (group == 0 || GetGroupItemCount(group, &count) != 0)
                continue;
            for (int32_t n = 1; n <= count; ++n) {
                uint8_t item[kBkItemSize];
                if (GetBackdropItem(group, n, item) != 0)
                    continue;
                WizardFault* f =
                    RegisteredEntry(list, FieldText(item + kBkItemFileAt, kWizFileNameSize), kItemVersion);
                f->displayName = FieldText(item + kBkItemNameAt, kWizFileNameSize);
                f->id = uint32_t(group);
                f->itemNumber = uint32_t(n);
            }
        }
    }
    if (tree_)
        tree_->CountTreeReferences(2, list);
}

void CPgWS_Special::ScanTemplates(WizardFaultList* list)
{
    ScanFolder(kWizFolderTemplates, list, true);
    HandleOwner records(HandleNew(0));
    HandleOwner ids(HandleNew(0));
    int32_t count = 0;
    if (records && ids && ListTemplates(records.get(), ids.get(), &count) == 0) {
        for (int32_t i = 0; i < count; ++i) {
            const uint32_t id = GetU32LE(HandleData<uint8_t>(ids.get()) + size_t(i) * 4);
            if (id == 0)
                continue;
            const uint8_t* info = HandleData<uint8_t>(records.get()) + size_t(i) * kTmInSize;
            WizardFault* f =
                RegisteredEntry(list, FieldText(info + kTmInFileAt, kWizFileNameSize), kTemplateVersion);
            f->displayName = FieldText(info + kTmInNameAt, kWizNameSize);
            f->id = id;
        }
    }
    if (tree_)
        tree_->CountTreeReferences(1, list);
}

void CPgWS_Special::ScanDesigns(WizardFaultList* list)
{
    ScanFolder(kWizFolderDesigns, list, false);
    auto registerFile = [list](const std::string& file, const std::string& name, bool header) {
        WizardFault* f = RegisteredEntry(list, file, kItemVersion);
        f->headerPicture = header ? 1 : 0;
        f->displayName = name;
        ++f->referenceCount;
    };
    for (int32_t number : kHeaderPictures) {
        const std::string file = "hdrp" + std::to_string(number) + ".sp";
        registerFile(file,
                     number == kFinishPicture ? std::string("Wizard Finish Picture")
                                              : "Wizard Header Picture N " + std::to_string(number),
                     true);
    }
    if (!tree_)
        return;
    for (WizNode* n = tree_->Root(); n; n = CWizTreeNode::NextPreOrder(n, tree_->Root())) {
        if (n->kind != kWizKindCategory && n->kind != kWizKindSubCategory)
            continue;
        Handle payload = nullptr;
        if (tree_->GetPayload(n, &payload) != 0 || !payload)
            continue;
        const uint8_t* bytes = HandleData<uint8_t>(payload);
        if (GetU32LE(bytes + kWizCategoryPictureAt) != 0)
            continue;
        const std::string file = FieldText(bytes + kWizCategoryDesignAt, kWizNameSize);
        if (file.empty())
            continue;
        char name[kWizNameSize];
        tree_->GetName(n, name, int32_t(sizeof name));
        registerFile(file, name, false);
    }
}

// --- The selected entry ---------------------------------------------------

void CPgWS_Special::OnEntrySelected()
{
    for (const ActionButton& action : kActions)
        EnableControl(action.id, false);
    const WizardFault* f = Selected();
    if (!f) {
        warning_->setText(QStringLiteral(" "));
        ClearBackdropLayer(preview_);
        return;
    }
    const SpecialVerdict v = JudgeFault(tab_, *f);
    warning_->setText(Cp1252ToQString(v.text));
    for (const ActionButton& action : kActions) {
        if (action.tab == tab_)
            EnableControl(action.id, Applies(action.when, v, *f));
    }
    ShowPreview(*f);
}

bool CPgWS_Special::FilePath(int32_t folder, const WizardFault& f, PathRecord* path) const
{
    // Names found in a folder or a record are used only when they name a
    // file in that folder.
    if (!WizIsPlainFileName(f.fileName.c_str(), f.fileName.size() + 1))
        return false;
    return WizardFilePath(folder, f.fileName.c_str(), path) == 0;
}

void CPgWS_Special::ShowPreview(const WizardFault& f)
{
    ClearOverlayLayer(preview_);
    ClearBackdropLayer(preview_);
    if (!KnownFile(f) || f.versionFound != f.versionExpected)
        return;
    PathRecord path{};
    if (tab_ == kSpecialTabBackdrops || tab_ == kSpecialTabDesigns) {
        const int32_t folder = tab_ == kSpecialTabBackdrops ? kWizFolderBackdrops : kWizFolderDesigns;
        uint8_t header[kItemHeaderSize];
        HandleOwner body(HandleNew(0));
        if (!body || !FilePath(folder, f, &path) || ReadItemFile(&path, header, body.get()) != 0)
            return;
        const uint32_t kind = GetU32LE(header + kItemKindAt);
        if (kind == kWizPictureMetafile) {
            preview_->SetBackdrop(body.release(), true, -1, -1);
        } else if (kind == kWizPictureDib) {
            DibHandleOwner picture;
            if (picture && ItemPicture(body.get(), kind, picture.get()) == 0)
                preview_->SetBackdrop(picture.release(), false, -1, -1);
        }
    } else if (tab_ == kSpecialTabTemplates) {
        uint8_t header[kTemplateHeaderSize];
        HandleOwner data(HandleNew(0));
        if (!data || !FilePath(kWizFolderTemplates, f, &path) ||
            LoadTemplateFile(&path, header, data.get(), 0) != 0)
            return;
        const int32_t width = TruncToInt32(std::floor(GetF64LE(header + kTemplateWidthAt) + 0.5));
        const int32_t height = TruncToInt32(std::floor(GetF64LE(header + kTemplateHeightAt) + 0.5));
        DibHandleOwner picture;
        if (picture && ItemPicture(data.get(), GetU32LE(header + kTemplateKindAt), picture.get()) == 0)
            preview_->SetBackground(picture.release(), width, height);
    }
}

std::string CPgWS_Special::StartFolder() const
{
    return lastFolder_.empty() ? ProgramFolderPath() : lastFolder_;
}

void CPgWS_Special::RescanKeeping()
{
    const int32_t index = faults_->SelectedIndex();
    lists_[size_t(tab_)].scanned = false;
    Scan(tab_);
    faults_->SetSource(&lists_[size_t(tab_)], tab_);
    const int32_t count = int32_t(lists_[size_t(tab_)].entries.size());
    SelectEntry(count == 0 ? -1 : std::min(std::max(index, 0), count - 1));
}

// --- Actions --------------------------------------------------------------

void CPgWS_Special::RemoveSelectedFile(int32_t folder, const std::function<void(const WizardFault&)>& unregister)
{
    WizardFault* f = Selected();
    if (!f)
        return;
    if (f->isFolder) {
        AlertNote(kFolderBox, 0);
        return;
    }
    if (unregister)
        unregister(*f);
    PathRecord path{};
    if (f->filePresent && FilePath(folder, *f, &path))
        FileDelete(&path);
    RescanKeeping();
}

void CPgWS_Special::RemoveReference(uint32_t relationFault)
{
    WizardFault* f = Selected();
    if (!f || f->relationFault != relationFault || !tree_)
        return;
    if (relationFault == kWizRelationGroupMissing) {
        tree_->DeleteBackdropNodes(f->id);
        ListChanged(kWizFolderBackdrops);
    } else {
        tree_->RemoveTemplateRefs(f->id);
        ListChanged(kWizFolderTemplates);
    }
}

void CPgWS_Special::ListChanged(int32_t folder)
{
    if (folder == kWizFolderBackdrops)
        RaiseBackdropCounter();
    else
        RaiseTemplateCounter();
    RescanKeeping();
}

void CPgWS_Special::RegisterFailed(int32_t folder)
{
    warning_->setText(folder == kWizFolderBackdrops ? QStringLiteral("Error while register Backdrop file. Delete it.")
                                                    : QStringLiteral("Error while register Template file. Delete it."));
}

void CPgWS_Special::OnRemoveBackdrop()
{
    RemoveSelectedFile(kWizFolderBackdrops, [this](const WizardFault& f) {
        if (!f.registered || f.id == 0 || f.unknownFormat)
            return;
        if (tree_)
            tree_->DeleteBackdropNodes(f.id);
        int32_t count = 0;
        GetGroupItemCount(int32_t(f.id), &count);
        RemoveBackdropItem(int32_t(f.id), count <= 1 ? 0 : int32_t(f.itemNumber));
        RaiseBackdropCounter();
    });
}

void CPgWS_Special::OnAddBackdrop()
{
    WizardFault* f = Selected();
    if (!f)
        return;
    PathRecord path{};
    uint8_t header[kItemHeaderSize];
    HandleOwner body(HandleNew(0));
    int32_t group = 0;
    int32_t n = 0;
    bool done = false;
    if (body && FilePath(kWizFolderBackdrops, *f, &path) && ReadItemFile(&path, header, body.get()) == 0) {
        uint8_t item[kBkItemSize] = {};
        WizPutName(item + kBkItemNameAt, kWizFileNameSize, WithoutExtension(f->fileName).c_str());
        std::memcpy(item + kBkItemSourceAt, header + kItemSourceAt, kWizFileNameSize);
        item[kBkItemSourceAt + kWizFileNameSize - 1] = 0;
        WizPutName(item + kBkItemFileAt, kWizFileNameSize, f->fileName.c_str());
        std::memcpy(item + kBkItemHeaderAt, header + kItemVersionAt, kBkItemHeaderSize);
        done = PutBackdropItem(&group, &n, item) == 0;
    }
    if (!done) {
        RegisterFailed(kWizFolderBackdrops);
        return;
    }
    ListChanged(kWizFolderBackdrops);
}

void CPgWS_Special::OnBackdropOriginal()
{
    WizardFault* f = Selected();
    if (!f || !f->registered)
        return;
    OpenPictureSettings settings = {};
    settings.showPreview = 1;
    settings.pictureMode = 1;
    std::strncpy(settings.title, "Select graphics file", sizeof settings.title - 1);
    std::strncpy(settings.folder, StartFolder().c_str(), sizeof settings.folder - 1);
    std::string chosen;
    if (!ChooseSetupPicture(this, &settings, &chosen))
        return;
    lastFolder_ = FolderOf(chosen);
    PathRecord source{};
    PathRecord dest{};
    uint8_t header[kItemHeaderSize] = {};
    uint8_t item[kBkItemSize];
    int32_t group = int32_t(f->id);
    int32_t n = int32_t(f->itemNumber);
    if (PathRecordFromPosix(chosen, &source) != 0 || !FilePath(kWizFolderBackdrops, *f, &dest) ||
        GetBackdropItem(group, n, item) != 0 || MakeItemFile(&source, &dest, header) != 0) {
        RegisterFailed(kWizFolderBackdrops);
        return;
    }
    PutU32LE(item + kBkItemPictureAt, 0);
    std::memcpy(item + kBkItemSourceAt, header + kItemSourceAt, kWizFileNameSize);
    item[kBkItemSourceAt + kWizFileNameSize - 1] = 0;
    std::memcpy(item + kBkItemHeaderAt, header + kItemVersionAt, kBkItemHeaderSize);
    PutBackdropItem(&group, &n, item);
    ListChanged(kWizFolderBackdrops);
}

void CPgWS_Special::OnRemoveTemplate()
{
    RemoveSelectedFile(kWizFolderTemplates, [this](const WizardFault& f) {
        if (!f.registered || f.id == 0)
            return;
        if (tree_)
            tree_->RemoveTemplateRefs(f.id);
        RemoveTemplateInfo(int32_t(f.id));
        RaiseTemplateCounter();
    });
}

void CPgWS_Special::OnAddTemplate()
{
    WizardFault* f = Selected();
    if (!f)
        return;
    PathRecord path{};
    uint8_t header[kTemplateHeaderSize];
    if (!FilePath(kWizFolderTemplates, *f, &path) || LoadTemplateFile(&path, header, nullptr, 0) != 0) {
        RegisterFailed(kWizFolderTemplates);
        return;
    }
    CDlgTemplateName dialog(this);
    dialog.SetName(WithoutExtension(f->fileName).c_str());
    if (dialog.DoModal() != 1)
        return;
    char name[kWizNameSize] = {};
    dialog.GetName(name, int32_t(sizeof name));
    uint8_t info[kTmInSize] = {};
    WizPutName(info + kTmInFileAt, kWizFileNameSize, f->fileName.c_str());
    std::memcpy(info + kTmInHeaderAt, header + kTemplateVersionAt, kTmInHeaderSize);
    WizPutName(info + kTmInNameAt, kWizNameSize, name);
    int32_t id = 0;
    if (WriteTemplateInfo(&id, info) != 0) {
        RegisterFailed(kWizFolderTemplates);
        return;
    }
    ListChanged(kWizFolderTemplates);
}

void CPgWS_Special::OnTemplateOriginal()
{
    WizardFault* f = Selected();
    if (!f || !f->registered || f->id == 0)
        return;
    std::vector<std::string> paths;
    if (!ChooseTemplateFiles(this, "Load Template from File", StartFolder(), false, &paths))
        return;
    lastFolder_ = FolderOf(paths.front());
    PathRecord source{};
    PathRecord dest{};
    uint8_t header[kTemplateHeaderSize];
    HandleOwner block1(HandleNew(0));
    HandleOwner block2(HandleNew(0));
    uint8_t info[kTmInSize];
    if (!block1 || !block2 || PathRecordFromPosix(paths.front(), &source) != 0 ||
        !FilePath(kWizFolderTemplates, *f, &dest) || ReadTemplateInfo(int32_t(f->id), info) != 0 ||
        LoadTemplateFile(&source, header, block1.get(), 1) != 0 ||
        LoadTemplateFile(&source, header, block2.get(), 0) != 0 ||
        SaveTemplateFile(&dest, header, block1.get(), block2.get()) != 0) {
        RegisterFailed(kWizFolderTemplates);
        return;
    }
    int32_t id = int32_t(f->id);
    PutU32LE(info + kTmInPictureAt, 0);
    WizPutName(info + kTmInFileAt, kWizFileNameSize, f->fileName.c_str());
    WriteTemplateInfo(&id, info);
    ListChanged(kWizFolderTemplates);
}

void CPgWS_Special::OnRemoveDesign() { RemoveSelectedFile(kWizFolderDesigns, nullptr); }

void CPgWS_Special::OnRemoveBackdropRef() { RemoveReference(kWizRelationGroupMissing); }

void CPgWS_Special::OnRemoveTemplateRef() { RemoveReference(kWizRelationTemplateMissing); }

void CPgWS_Special::OnCorrectNode()
{
    AlertNote("Not implemented... You must close Wizard Setup dialog and open again", 0);
}

#include "wizard/pg_ws_templates.h"

#include <cstdio>
#include <cstring>

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include "catalog/template_list.h"
#include "catalog/wiz_tree_format.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_list_format.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/int_math.h"
#include "wizard/setup_file_choosers.h"
#include "wizard/smart_listbox.h"
#include "wizard/wiz_page_pictures.h"
#include "wizard/wizard_preview_wnd.h"

namespace {

enum : int32_t {
    kIdSizeFilter = 1612,
    kIdUnits = 1249,
    kIdName = 1545,
    kIdList = 1535,
    kIdWidthText = 1548,
    kIdHeightText = 1549,
    kIdImport = 1546,
    kIdDelete = 1021,
};

const char* const kUnitNames[] = {"Point", "Inch", "Cm", "Pica"};

// Names typed here keep at most 63 characters.
constexpr size_t kNameField = kWizNameSize;

std::string Format(const char* format, double a)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a);
    return text;
}

}  // namespace

CPgWS_Templates::CPgWS_Templates() : CPgWS(587, "Edit Template List") {}

CPgWS_Templates::~CPgWS_Templates() = default;

void CPgWS_Templates::BuildControls()
{
    AddLabel("Show Templates with Size:", -1, 7, 7, 170, 9);
    sizeFilter_ = Place(new QComboBox, kIdSizeFilter, 7, 17, 170, 13);
    AddLabel("All Templates:", -1, 7, 34, 170, 9);
    list_ = Place(new CSmartListbox, kIdList, 7, 44, 170, 108);
    name_ = Place(new CSmartEdit, kIdName, 7, 155, 170, 13);
    AddButton("Add New Templates...", kIdImport, 7, 173, 84, 14);
    AddButton("Delete Template", kIdDelete, 95, 173, 82, 14);
    AddFrame(kIdSetupPreviewPlace, 185, 17, 180, 151);
    AddGroup("Size", 371, 17, 95, 80);
    AddLabel("Units:", -1, 377, 29, 83, 9);
    units_ = Place(new QComboBox, kIdUnits, 377, 39, 83, 13);
    AddLabel("Width:", -1, 377, 57, 30, 9);
    AddLabel("", kIdWidthText, 407, 57, 53, 9);
    AddLabel("Height:", -1, 377, 72, 30, 9);
    AddLabel("", kIdHeightText, 407, 72, 53, 9);

    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
    connect(name_, &QLineEdit::textEdited, this, [this] { OnNameEdited(); });
    connect(Button(kIdImport), &QPushButton::clicked, this, [this] { OnImport(); });
    connect(Button(kIdDelete), &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(units_, &QComboBox::activated, this, [this] { OnUnitsChosen(); });
    connect(sizeFilter_, &QComboBox::activated, this, [this] { OnSizeFilterChosen(); });
    list_->SetChangeHandler([this](const SmartListChange& change, CSmartListbox*) { OnListChanged(change); });
}

bool CPgWS_Templates::OnInitDialog()
{
    CPgWS::OnInitDialog();
    list_->SetStyle(kSmartMultiSelect | kSmartDragReorder);
    for (const char* unit : kUnitNames)
        units_->addItem(QString::fromLatin1(unit));
    units_->setCurrentIndex(0);
    Load();
    UpdateEnableState();
    return true;
}

void CPgWS_Templates::OnPageShown(bool shown)
{
    if (!shown || !TemplatesChanged())
        return;
    Load();
    UpdateEnableState();
    TakeTemplateCounter();
}

double CPgWS_Templates::UnitFactor() const
{
    return PointsPerUnit(units_ ? units_->currentIndex() : 0);
}

bool CPgWS_Templates::ListAll()
{
    if (!records_ || !ids_ || ListTemplates(records_.get(), ids_.get(), &count_) != 0) {
        // Nothing half-read is kept.
        if (records_)
            HandleResize(records_.get(), 0);
        if (ids_)
            HandleResize(ids_.get(), 0);
        count_ = 0;
        return false;
    }
    return true;
}

bool CPgWS_Templates::AddSize(double width, double height)
{
    for (const auto& [w, h] : sizes_) {
        if (w == width && h == height)
            return false;
    }
    sizes_.emplace_back(width, height);
    return true;
}

void CPgWS_Templates::RebuildSizes()
{
    sizes_.clear();
    for (int32_t i = 0; i < count_; ++i) {
        double w = 0;
        double h = 0;
        TemplateInfoSize(HandleData<uint8_t>(records_.get()) + size_t(i) * kTmInSize, &w, &h);
        AddSize(w, h);
    }
}

uint8_t* CPgWS_Templates::RecordOf(uint32_t id)
{
    for (int32_t i = 0; i < count_; ++i) {
        if (GetU32LE(HandleData<uint8_t>(ids_.get()) + size_t(i) * 4) == id)
            return HandleData<uint8_t>(records_.get()) + size_t(i) * kTmInSize;
    }
    return nullptr;
}

void CPgWS_Templates::Load()
{
    const bool listed = ListAll();
    RebuildSizes();
    if (listed) {
        FillSizeFilter();
        sizeFilter_->setCurrentIndex(0);
        FillTemplateList();
        OnSelectionChanged();
        ShowSizeTexts();
    }
    TakeTemplateCounter();
}

void CPgWS_Templates::FillSizeFilter()
{
    const int32_t remembered = sizeFilter_->currentIndex();
    const double factor = UnitFactor();
    const char* unit = kUnitNames[std::clamp(units_->currentIndex(), 0, 3)];
    sizeFilter_->clear();
    sizeFilter_->addItem(QStringLiteral("Any Size"));
    for (const auto& [w, h] : sizes_) {
        char text[128];
        std::snprintf(text, sizeof text, " %5.3f * %5.3f %s", w / factor, h / factor, unit);
        sizeFilter_->addItem(QString::fromLatin1(text));
    }
    const int32_t sizes = int32_t(sizes_.size());
    if (sizes == 0)
        sizeFilter_->setCurrentIndex(-1);
    else
        sizeFilter_->setCurrentIndex(remembered >= 0 && remembered < sizes ? remembered : sizes);
}

void CPgWS_Templates::FillTemplateList()
{
    list_->ResetContent();
    const int32_t chosen = sizeFilter_->currentIndex();
    for (int32_t i = 0; i < count_; ++i) {
        const uint8_t* info = HandleData<uint8_t>(records_.get()) + size_t(i) * kTmInSize;
        const uint32_t id = GetU32LE(HandleData<uint8_t>(ids_.get()) + size_t(i) * 4);
        if (chosen < 0)
            continue;
        if (chosen > 0) {
            if (size_t(chosen) > sizes_.size())
                continue;
            double w = 0;
            double h = 0;
            TemplateInfoSize(info, &w, &h);
            if (w != sizes_[size_t(chosen - 1)].first || h != sizes_[size_t(chosen - 1)].second)
                continue;
        }
        char name[kWizNameSize];
        TemplateInfoName(info, name, int32_t(sizeof name));
        CSmartListItem item;
        item.text = name;
        item.data = id;
        list_->AddItem(&item);
    }
    if (list_->Count() > 0)
        list_->SelectRange(0, 0);
}

void CPgWS_Templates::OnSelectionChanged()
{
    const int32_t index = list_->GetFirstSelected();
    const uint8_t* info = index >= 0 ? RecordOf(list_->GetItemData(index)) : nullptr;
    if (info) {
        char name[kWizNameSize];
        TemplateInfoName(info, name, int32_t(sizeof name));
        name_->SetTextQuiet(name);
        TemplateInfoSize(info, &width_, &height_);
        ShowSizeTexts();
        ShowTemplatePicture(list_->GetItemData(index), TruncToInt32(width_), TruncToInt32(height_));
    } else {
        name_->SetTextQuiet(std::string());
        ClearOverlayLayer(preview_);
        ClearBackdropLayer(preview_);
    }
    UpdateEnableState();
}

void CPgWS_Templates::ShowSizeTexts()
{
    const double factor = UnitFactor();
    if (auto* width = Item<QLabel>(kIdWidthText))
        width->setText(QString::fromLatin1(Format("%5.3f", width_ / factor).c_str()));
    if (auto* height = Item<QLabel>(kIdHeightText))
        height->setText(QString::fromLatin1(Format("%5.3f", height_ / factor).c_str()));
    FillSizeFilter();
}

void CPgWS_Templates::OnUnitsChosen()
{
    ShowSizeTexts();
}

void CPgWS_Templates::OnSizeFilterChosen()
{
    FillTemplateList();
    if (list_->Count() > 0)
        list_->SelectRange(0, 0);
    OnSelectionChanged();
}

void CPgWS_Templates::OnNameEdited()
{
    name_->setModified(false);
    const int32_t index = list_->GetFirstSelected();
    const uint32_t id = index >= 0 ? list_->GetItemData(index) : 0;
    uint8_t* info = id ? RecordOf(id) : nullptr;
    if (info) {
        const std::string text = QStringToCp1252(name_->text());
        WizPutName(info + kTmInNameAt, kNameField, text.c_str());
        int32_t writeId = int32_t(id);
        if (WriteTemplateInfo(&writeId, info) == 0) {
            char name[kWizNameSize];
            TemplateInfoName(info, name, int32_t(sizeof name));
            list_->SetItemText(index, name);
            RaiseTemplateCounter();
        }
    }
    UpdateEnableState();
}

void CPgWS_Templates::OnListChanged(const SmartListChange& change)
{
    if (change.code != kSmartMoved)
        return;
    RaiseTemplateCounter();
    // The list may show only the templates of one size: the moved one goes
    // next to its new neighbour in the whole list, not to the position it
    // has among the few shown.
    const bool up = change.second < change.first;
    const int32_t neighbour = up ? change.second + 1 : change.second - 1;
    const int32_t to = StorePosition(list_->GetItemData(neighbour));
    if (to > 0 && MoveTemplate(int32_t(list_->GetItemData(change.second)), to) == 0)
        ListAll();
}

int32_t CPgWS_Templates::StorePosition(uint32_t id) const
{
    for (int32_t i = 0; i < count_; ++i) {
        if (GetU32LE(HandleData<uint8_t>(ids_.get()) + size_t(i) * 4) == id)
            return i + 1;
    }
    return 0;
}

void CPgWS_Templates::OnImport()
{
    std::vector<std::string> paths;
    if (ChooseTemplateFiles(this, "Select Templates to Import", importFolder_, true, &paths)) {
        sizeFilter_->setCurrentIndex(0);
        FillTemplateList();
        int32_t first = -1;
        int32_t last = -1;
        for (const std::string& path : paths) {
            PathRecord source{};
            int32_t id = 0;
            uint8_t info[kTmInSize] = {};
            if (PathRecordFromPosix(path, &source) != 0 || ReadTemplateFile(&source, &id, info) != 0)
                break;
            double w = 0;
            double h = 0;
            TemplateInfoSize(info, &w, &h);
            if (AddSize(w, h)) {
                char text[128];
                const double factor = UnitFactor();
                std::snprintf(text, sizeof text, " %5.3f * %5.3f %s", w / factor, h / factor,
                              kUnitNames[std::clamp(units_->currentIndex(), 0, 3)]);
                sizeFilter_->addItem(QString::fromLatin1(text));
            }
            char name[kWizNameSize];
            TemplateInfoName(info, name, int32_t(sizeof name));
            CSmartListItem item;
            item.text = name;
            item.data = uint32_t(id);
            last = list_->AddItem(&item);
            if (first < 0)
                first = last;
        }
        if (ListAll()) {
            importFolder_ =
                QFileInfo(QString::fromLocal8Bit(paths.back().c_str())).absolutePath().toLocal8Bit().toStdString();
            if (first >= 0)
                list_->SelectRange(first, last);
            OnSelectionChanged();
        }
    }
    RaiseTemplateCounter();
    UpdateEnableState();
}

void CPgWS_Templates::OnDelete()
{
    const std::vector<int32_t> selected = list_->SelectedIndexes();
    for (size_t k = 0; k < selected.size(); ++k) {
        const int32_t position = selected[k] - int32_t(k);
        const uint32_t id = list_->GetItemData(position);
        if (tree_)
            tree_->RemoveTemplateRefs(id);
        if (DeleteTemplate(int32_t(id)) != 0)
            break;
        list_->DeleteItem(position);
    }
    ListAll();
    RebuildSizes();
    FillSizeFilter();
    OnSelectionChanged();
    RaiseTemplateCounter();
    UpdateEnableState();
}

void CPgWS_Templates::UpdateEnableState()
{
    EnableControl(kIdImport, true);
    const bool selected = list_->Count() > 0 && list_->GetFirstSelected() >= 0;
    EnableControl(kIdName, selected);
    EnableControl(kIdDelete, selected);
    EnableControl(kIdUnits, selected);
    if (!selected) {
        if (auto* width = Item<QLabel>(kIdWidthText))
            width->clear();
        if (auto* height = Item<QLabel>(kIdHeightText))
            height->clear();
    }
}

#include "dbdoc/db_dialogs.h"

#include <algorithm>
#include <cstring>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "database/data_file.h"
#include "database/merge_text.h"
#include "database/open_database_registry.h"
#include "database/record_file_format.h"
#include "dbdoc/cdb_document.h"
#include "dbdoc/field_form.h"
#include "dialogs/filtered_edit.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"

namespace {

QPointer<CDlgFindOne> g_findOne;

// A window manager cuts a title that is wider than its window: a small
// dialog is made wide enough for its title and the title bar's buttons.
void FitTitle(QDialog* dialog)
{
    QFont font = dialog->font();
    font.setBold(true);
    const int needed = QFontMetrics(font).horizontalAdvance(dialog->windowTitle()) + 150;
    dialog->setMinimumWidth(std::max(dialog->minimumWidth(), needed));
}

QPointer<CDlgSearchAllFields> g_searchAll;

// Button ids of the Find One dialog.
constexpr int32_t kIdPrev = 1093;
constexpr int32_t kIdNext = 1092;
constexpr int32_t kIdActiveRecord = 1095;

void CopyText(char* out, size_t size, const std::string& text, size_t limit)
{
    std::memset(out, 0, size);
    std::memcpy(out, text.data(), std::min({text.size(), limit, size - 1}));
}

std::string SlotText(const uint8_t* slot, size_t size)
{
    const auto* text = reinterpret_cast<const char*>(slot);
    return std::string(text, strnlen(text, size));
}

void FillFieldCombo(QComboBox* combo, bool withNone)
{
    if (withNone)
        combo->addItem("None");
    for (int32_t column = 0; column < kEntryColumnCount; ++column)
        combo->addItem(ColumnFieldName(column));
}

}  // namespace

QString ColumnFieldName(int32_t column)
{
    char name[kFieldTypeNameSize] = {};
    FieldTypeName(FieldIdByIndex(column), name, true, true);
    return Cp1252ToQString(name);
}

// ---- Find One ----

CDlgFindOne::CDlgFindOne(int32_t mode, QWidget* parent) : QDialog(parent), mode_(mode)
{
    setWindowTitle("Find One");
    auto* outer = new QVBoxLayout(this);
    auto* form = new QWidget(this);
    BuildFieldForm(form, FieldEditKind::Text, edits_, labels_);
    for (CFilteredEdit* edit : edits_)
        edit->Setup(QString(), 255, QString(), 0, nullptr);
    outer->addWidget(form);
    auto* buttons = new QHBoxLayout;
    ok_ = new QPushButton("OK", this);
    cancel_ = new QPushButton("Cancel", this);
    prev_ = new QPushButton("Prev", this);
    next_ = new QPushButton("Next", this);
    active_ = new QPushButton("Active Record", this);
    for (QPushButton* b : {ok_, cancel_, prev_, next_, active_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    ok_->setDefault(true);
    outer->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &CDlgFindOne::accept);
    connect(cancel_, &QPushButton::clicked, this, &CDlgFindOne::reject);
    connect(prev_, &QPushButton::clicked, this, [this] { Search(kFindBackward); });
    connect(next_, &QPushButton::clicked, this, [this] { Search(kFindForward); });
    connect(active_, &QPushButton::clicked, this, [this] { FillFromActiveRecord(); });

    switch (mode_) {
    case kFindOne:
        ok_->setText("Find");
        cancel_->setText("Close");
        active_->hide();
        break;
    case kFindAll:
        ok_->setText("Find All");
        setWindowTitle("Find All");
        prev_->hide();
        next_->hide();
        active_->hide();
        break;
    case kDefaultCardInfo:
        setWindowTitle("Default Card Info");
        prev_->hide();
        next_->hide();
        active_->setEnabled(GetCurrentDataFile() != nullptr);
        break;
    default:
        mode_ = kFindOne;
        ok_->hide();
        break;
    }
}

CDlgFindOne::~CDlgFindOne()
{
    if (g_findOne == this)
        g_findOne = nullptr;
}

QPushButton* CDlgFindOne::Button(int32_t id) const
{
    switch (id) {
    case 1: return ok_;
    case 2: return cancel_;
    case kIdPrev: return prev_;
    case kIdNext: return next_;
    case kIdActiveRecord: return active_;
    default: return nullptr;
    }
}

void CDlgFindOne::SetFields(const char values[kEntryColumnCount][256], const uint8_t* names, uint8_t dateOrder)
{
    dateOrder_ = dateOrder;
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        std::memcpy(values_[column], values[column], 256);
        values_[column][255] = 0;
        edits_[column]->setText(Cp1252ToQString(values_[column]));
    }
    for (int32_t i = 0; i < 6; ++i) {
        const std::string name = names ? SlotText(names + 32 * i, 32) : std::string();
        if (!name.empty() && !IsCustomNamePlaceholder(name.c_str()))
            labels_[i]->setText(Cp1252ToQString(name));
        else
            SetCustomLabelText(labels_[i], i);
    }
}

void CDlgFindOne::TakeTexts()
{
    for (int32_t column = 0; column < kEntryColumnCount; ++column)
        CopyText(values_[column], 256, QStringToCp1252(edits_[column]->text()), 255);
}

void CDlgFindOne::GetFields(char values[kEntryColumnCount][256]) const
{
    const size_t limit = mode_ == kDefaultCardInfo ? 255 : 40;
    for (int32_t column = 0; column < kEntryColumnCount; ++column)
        CopyText(values[column], 256, values_[column], limit);
}

void CDlgFindOne::SetFields40(const uint8_t* values, const uint8_t* names, uint8_t dateOrder)
{
    char wide[kEntryColumnCount][256] = {};
    for (int32_t column = 0; column < kEntryColumnCount; ++column)
        CopyText(wide[column], 256, SlotText(values + 40 * column, 40), 40);
    SetFields(wide, names, dateOrder);
}

void CDlgFindOne::GetFields40(uint8_t* values) const
{
    // A slot of 40 bytes holds 40 characters when it needs no terminator.
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        const size_t length = std::min<size_t>(std::strlen(values_[column]), 40);
        std::memset(values + 40 * column, 0, 40);
        std::memcpy(values + 40 * column, values_[column], length);
    }
}

void CDlgFindOne::Search(int32_t direction)
{
    TakeTexts();
    CDBDocument* document = CurrentDbDocument();
    if (!document)
        return;
    GetFields40(document->Header() + dbh::kFindValues);
    document->FindOne(direction);
}

void CDlgFindOne::FillFromActiveRecord()
{
    DataFile* data = GetCurrentDataFile();
    if (!data)
        return;
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        char text[256] = {};
        data->GetFieldDisplayText(FieldIdByIndex(column), false, text);
        edits_[column]->setText(Cp1252ToQString(text));
    }
}

void CDlgFindOne::accept()
{
    TakeTexts();
    if (mode_ == kFindOne) {
        Search(kFindFromFirst);
        close();
        deleteLater();
        return;
    }
    QDialog::accept();
}

void CDlgFindOne::reject()
{
    if (mode_ == kFindOne) {
        close();
        deleteLater();
        return;
    }
    QDialog::reject();
}

CDlgFindOne* CDlgFindOne::Open() { return g_findOne.data(); }

void CDlgFindOne::ShowModeless(QWidget* parent)
{
    CDBDocument* document = CurrentDbDocument();
    if (!g_findOne) {
        g_findOne = new CDlgFindOne(kFindOne, parent);
        g_findOne->setModal(false);
    }
    if (document)
        g_findOne->SetFields40(document->Header() + dbh::kFindValues, document->Header() + dbh::kCustomNames,
                               document->Header()[dbh::kVerification]);
    g_findOne->show();
    g_findOne->raise();
    g_findOne->activateWindow();
    if (document)
        document->UpdateSortToolBar();
}

// ---- Query ----

const char* const kQueryOperators[kQueryOperatorCount] = {
    "Starts With",   "Ends With",     "Contains",       "Does Not Contain",       "Is Greater Than",        "Is Less Than",
    "Length Equals", "Length does not Equal", "Length is Greater Than", "Length is Less Than", "Is Blank", "Is not Blank",
};

CDlgQuery::CDlgQuery(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Query");
    FitTitle(this);
    auto* outer = new QVBoxLayout(this);
    auto* group = new QGroupBox("Find Records if:", this);
    auto* row = new QHBoxLayout(group);
    field_ = new QComboBox(group);
    operator_ = new QComboBox(group);
    value_ = new QLineEdit(group);
    value_->setMaxLength(62);
    FillFieldCombo(field_, false);
    for (const char* op : kQueryOperators)
        operator_->addItem(op);
    row->addWidget(field_);
    row->addWidget(operator_);
    row->addWidget(value_, 1);
    outer->addWidget(group);
    outer->addWidget(OkCancelBox(this));
    connect(operator_, &QComboBox::activated, this, &CDlgQuery::OperatorChosen);
}

void CDlgQuery::OperatorChosen(int index)
{
    value_->setEnabled(index < 10);
}

void CDlgQuery::SetData(const uint8_t* block)
{
    std::memcpy(block_, block, kQueryBlockSize);
    const int32_t op = block_[dbh::kQueryOperator - kQueryBlockOffset];
    operator_->setCurrentIndex(op < kQueryOperatorCount ? op : -1);
    char text[dbh::kQueryValueSize] = {};
    std::memcpy(text, block_ + (dbh::kQueryValue - kQueryBlockOffset), dbh::kQueryValueSize - 1);
    value_->setText(Cp1252ToQString(text));
    const int32_t column = FieldIndexOfId(GetU16LE(block_ + (dbh::kQueryField - kQueryBlockOffset)), 0);
    field_->setCurrentIndex(column >= 0 && column < kEntryColumnCount ? column : 0);
    // A stored "Is Blank" query has no value to edit.
    value_->setEnabled(operator_->currentIndex() < 10);
}

void CDlgQuery::GetData(uint8_t* block)
{
    const int32_t column = std::max(field_->currentIndex(), 0);
    PutU16LE(block_ + (dbh::kQueryField - kQueryBlockOffset), uint16_t(FieldIdByIndex(column)));
    block_[dbh::kQueryOperator - kQueryBlockOffset] = uint8_t(operator_->currentIndex() < 0 ? 0xFF : operator_->currentIndex());
    uint8_t* value = block_ + (dbh::kQueryValue - kQueryBlockOffset);
    std::memset(value, 0, dbh::kQueryValueSize);
    const std::string text = QStringToCp1252(value_->text());
    std::memcpy(value, text.data(), std::min<size_t>(text.size(), 62));
    std::memcpy(block, block_, kQueryBlockSize);
}

// ---- Search All Fields ----

CDlgSearchAllFields::CDlgSearchAllFields(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Search All Fields");
    FitTitle(this);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(new QLabel("Search all fields for :", this));
    text_ = new QLineEdit(this);
    text_->setMaxLength(62);
    outer->addWidget(text_);
    auto* row = new QHBoxLayout;
    auto* all = new QPushButton("Search All", this);
    search_ = new QPushButton("Search", this);
    auto* cancel = new QPushButton("Cancel", this);
    all->setDefault(true);
    row->addWidget(all);
    row->addWidget(search_);
    row->addWidget(cancel);
    outer->addLayout(row);
    connect(all, &QPushButton::clicked, this, &CDlgSearchAllFields::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgSearchAllFields::reject);
    connect(search_, &QPushButton::clicked, this, [this] {
        kind_ = 1;
        if (CDBDocument* document = CurrentDbDocument()) {
            GetData(document->Header());
            document->SearchAllFields(kFindFromFirst);
        }
    });
}

CDlgSearchAllFields::~CDlgSearchAllFields()
{
    if (g_searchAll == this)
        g_searchAll = nullptr;
}

void CDlgSearchAllFields::SetData(const uint8_t* header)
{
    char text[dbh::kSearchTextSize] = {};
    std::memcpy(text, header + dbh::kSearchText, 62);
    text_->setText(Cp1252ToQString(text));
}

void CDlgSearchAllFields::GetData(uint8_t* header) const
{
    const std::string text = QStringToCp1252(text_->text());
    std::memset(header + dbh::kSearchText, 0, dbh::kSearchTextSize);
    std::memcpy(header + dbh::kSearchText, text.data(), std::min<size_t>(text.size(), 62));
}

void CDlgSearchAllFields::accept()
{
    kind_ = 2;
    if (CDBDocument* document = CurrentDbDocument())
        document->ApplySearchAll(QStringToCp1252(text_->text()));
    close();
    deleteLater();
}

void CDlgSearchAllFields::reject()
{
    close();
    deleteLater();
}

CDlgSearchAllFields* CDlgSearchAllFields::Open() { return g_searchAll.data(); }

void CDlgSearchAllFields::ShowModeless(QWidget* parent)
{
    if (!g_searchAll)
        g_searchAll = new CDlgSearchAllFields(parent);
    if (CDBDocument* document = CurrentDbDocument())
        g_searchAll->SetData(document->Header());
    g_searchAll->show();
    g_searchAll->raise();
    g_searchAll->activateWindow();
}

// ---- Sorting Criteria ----

CDlgSortCriteria::CDlgSortCriteria(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Sorting Criteria");
    FitTitle(this);
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const char* labels[3] = {"First :", "Second :", "Third :"};
    for (int32_t i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(labels[i], this), i, 0);
        combos_[i] = new QComboBox(this);
        FillFieldCombo(combos_[i], true);
        grid->addWidget(combos_[i], i, 1);
    }
    outer->addLayout(grid);
    order_ = new QButtonGroup(this);
    auto* ascending = new QRadioButton("Ascending Order", this);
    auto* descending = new QRadioButton("Descending Order", this);
    order_->addButton(ascending, 0);
    order_->addButton(descending, 1);
    ascending->setChecked(true);
    outer->addWidget(ascending);
    outer->addWidget(descending);
    outer->addWidget(OkCancelBox(this));
}

void CDlgSortCriteria::SetData(const SortSpec& order)
{
    sortOrder_ = order;
    for (int32_t i = 0; i < 3; ++i) {
        const uint16_t id = order.fields[i];
        const int32_t column = id == dbsort::kNone ? -1 : FieldIndexOfId(id, 0);
        combos_[i]->setCurrentIndex(column >= 0 && column < kEntryColumnCount ? column + 1 : 0);
    }
    SetDescending(order.descending != 0);
}

void CDlgSortCriteria::SetDescending(bool on)
{
    order_->button(on ? 1 : 0)->setChecked(true);
}

void CDlgSortCriteria::GetData(SortSpec* order) const
{
    *order = sortOrder_;
    for (int32_t i = 0; i < 3; ++i) {
        const int32_t entry = combos_[i]->currentIndex();
        order->fields[i] = entry <= 0 ? dbsort::kNone : uint16_t(FieldIdByIndex(entry - 1));
    }
    order->descending = order_->checkedId() == 1 ? 1 : 0;
}

// ---- Name Custom Fields ----

CDlgNameCustomFields::CDlgNameCustomFields(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Name Custom Fields");
    FitTitle(this);
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int32_t i = 0; i < 6; ++i) {
        grid->addWidget(new QLabel(QString("Custom Field %1").arg(i + 1), this), i, 0);
        edits_[i] = new QLineEdit(this);
        edits_[i]->setMaxLength(31);
        grid->addWidget(edits_[i], i, 1);
    }
    outer->addLayout(grid);
    outer->addWidget(OkCancelBox(this));
    edits_[0]->setFocus();
}

void CDlgNameCustomFields::SetNames(const uint8_t* names)
{
    for (int32_t i = 0; i < 6; ++i)
        edits_[i]->setText(Cp1252ToQString(SlotText(names + 32 * i, 31)));
    edits_[0]->selectAll();
}

void CDlgNameCustomFields::GetNames(uint8_t* names) const
{
    for (int32_t i = 0; i < 6; ++i) {
        const std::string text = QStringToCp1252(edits_[i]->text());
        std::memset(names + 32 * i, 0, 32);
        std::memcpy(names + 32 * i, text.data(), std::min<size_t>(text.size(), 31));
    }
}

// ---- Bulk Mail Sorting ----

CDlgBulkMailSort::CDlgBulkMailSort(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Bulk Mail Sorting");
    FitTitle(this);
    auto* outer = new QVBoxLayout(this);
    group_ = new QButtonGroup(this);
    auto* first = new QRadioButton("First Class Bulk Mail Presort", this);
    auto* standard = new QRadioButton("Standard Mail (A) Presort", this);
    group_->addButton(first, 0);
    group_->addButton(standard, 1);
    outer->addWidget(first);
    outer->addWidget(standard);
    outer->addWidget(OkCancelBox(this));
}

void CDlgBulkMailSort::SetMode(int32_t mode)
{
    group_->button(std::clamp(mode - 1, 0, 1))->setChecked(true);
}

int32_t CDlgBulkMailSort::GetMode() const
{
    const int32_t id = group_->checkedId();
    return id < 0 ? 0 : id + 1;
}

// ---- Preferences ----

CDlgDBPreferences::CDlgDBPreferences(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Preferences");
    FitTitle(this);
    auto* outer = new QVBoxLayout(this);
    deleteIndex_ = new QCheckBox("Delete the Index file after a database closing", this);
    outer->addWidget(deleteIndex_);
    // Kept in the block but not offered: they pass through unchanged.
    fastFind_ = new QCheckBox("Fast Find", this);
    fastFind_->hide();
    verification_ = new QButtonGroup(this);
    for (int32_t i = 0; i < 3; ++i) {
        sortCombos_[i] = new QComboBox(this);
        FillFieldCombo(sortCombos_[i], true);
        sortCombos_[i]->hide();
    }
    outer->addWidget(OkCancelBox(this));
}

void CDlgDBPreferences::SetData(const uint8_t* block)
{
    std::memcpy(block_, block, sizeof block_);
    deleteIndex_->setChecked(GetU16LE(block_) != 0);
    fastFind_->setChecked(GetU16LE(block_ + 14) != 0);
}

void CDlgDBPreferences::GetData(uint8_t* block) const
{
    uint8_t out[24];
    std::memcpy(out, block_, sizeof out);
    PutU16LE(out, deleteIndex_->isChecked() ? 1 : 0);
    std::memcpy(block, out, sizeof out);
}

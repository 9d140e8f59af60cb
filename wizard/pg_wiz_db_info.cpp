#include "wizard/pg_wiz_db_info.h"

#include <cstring>

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "database/field_table.h"
#include "dbdoc/field_edits.h"
#include "foundation/cp1252.h"
#include "resources/artwork_resources.h"
#include "wizard/dlg_wizard.h"
#include "wizard/wiz_choose_picture.h"
#include "wizard/wizard_shell.h"

namespace {

// Field ids of the columns whose edits check their input.
constexpr int32_t kStateField = 9;
constexpr int32_t kZipField = 10;
constexpr int32_t kPictureField = 16;
constexpr int32_t kFirstCustomField = 17;

struct EditPlace {
    int32_t x, y, width;
};

// Where the 21 fields sit, in column order.
constexpr EditPlace kEditPlaces[kWizDatabaseEditCount] = {
    {60, 72, 90},  {154, 72, 100}, {60, 86, 194},  {60, 100, 194}, {60, 114, 194}, {60, 128, 194},
    {60, 142, 100}, {164, 142, 30}, {198, 142, 56}, {60, 156, 194}, {60, 170, 194}, {60, 184, 95},
    {159, 184, 95}, {60, 198, 194}, {60, 212, 176}, {315, 72, 111}, {315, 86, 111}, {315, 100, 111},
    {315, 114, 111}, {315, 128, 111}, {315, 142, 111},
};

struct RowLabel {
    const char* text;
    int32_t y;
};

constexpr RowLabel kRowLabels[] = {
    {"Name", 72},     {"Title", 86},      {"Company", 100}, {"Address 1", 114}, {"Address 2", 128},
    {"Ci, St, ZIP", 142}, {"Country", 156}, {"Fax", 170},     {"Phone 1-2", 184}, {"E-Mail", 198},
    {"Picture", 212},
};

struct Tip {
    int32_t control;
    int32_t text;
};

constexpr Tip kTips[] = {
    {kIdAddRecord, 580},      {kIdDeleteRecord, 581},   {kIdFirstRecord, 582},     {kIdPreviousRecord, 583},
    {kIdNextRecord, 584},     {kIdLastRecord, 585},     {kIdCreateDatabase, 577},  {kIdOpenDatabase, 578},
    {kIdWithoutDatabase, 579}, {kIdPicturePath, 1035},  {kIdCurrentRecordCount, 33500},
    {kIdBrowserCount, 33501}, {kIdDatabaseCount, 33502},
};

CFilteredEdit* MakeEdit(int32_t fieldId)
{
    switch (fieldId) {
    case kStateField:
        return new CStateEdit;
    case kZipField:
        return new CZipEdit;
    case kPictureField:
        return new CPictureEdit;
    default:
        return new CTextEdit;
    }
}

}  // namespace

CPgWiz_DBInfo::CPgWiz_DBInfo() : CPgWiz(576, "Personal Info.") {}

CPgWiz_DBInfo::~CPgWiz_DBInfo() = default;

void CPgWiz_DBInfo::BuildControls()
{
    CPgWiz::BuildControls();
    AddLabel("You can enter your personal information here or \nYou can create a database and enter all necessary "
             "information.",
             -1, 127, 40, 205, 26);
    for (const RowLabel& row : kRowLabels)
        AddLabel(row.text, -1, 7, row.y + 2, 50, 10);
    for (int32_t k = 0; k < 6; ++k)
        AddLabel("Custom", kIdFirstCustomLabel + k, 262, kEditPlaces[15 + k].y + 2, 50, 10);
    AddLabel("Date", -1, 262, 158, 50, 10);
    Place(new QLineEdit, 1657, 315, 156, 111, 12);
    AddLabel("Salutation", -1, 262, 172, 50, 10);
    Place(new QLineEdit, 1658, 315, 170, 111, 12);

    const auto button = [this](const char* text, int32_t id, int32_t x, int32_t y, int32_t width) {
        auto* b = Place(new QPushButton(QString::fromLatin1(text)), id, x, y, width, 14);
        QObject::connect(b, &QPushButton::clicked, this, [this, id] {
            switch (id) {
            case kIdCreateDatabase:
                OnCreateDatabase();
                break;
            case kIdOpenDatabase:
                OnOpenDatabase();
                break;
            case kIdWithoutDatabase:
                OnWithoutDatabase();
                break;
            case kIdPicturePath:
                OnPicturePath();
                break;
            default:
                OnRecordCommand(id);
                break;
            }
        });
    };
    button("&...", kIdPicturePath, 238, 211, 16);
    button("Add", kIdAddRecord, 258, 190, 22);
    button("Delete", kIdDeleteRecord, 281, 190, 28);
    button("First", kIdFirstRecord, 310, 190, 22);
    button("Previous", kIdPreviousRecord, 333, 190, 36);
    button("Next", kIdNextRecord, 370, 190, 22);
    button("LAST", kIdLastRecord, 393, 190, 24);
    button("Create Database", kIdCreateDatabase, 262, 222, 66);
    button("...", kIdOpenDatabase, 330, 222, 16);
    button("Without DB", kIdWithoutDatabase, 348, 222, 50);
    AddLabel("00000", kIdCurrentRecordCount, 262, 208, 30, 10);
    AddLabel("99999", kIdBrowserCount, 296, 208, 30, 10);
    AddLabel("00000", kIdDatabaseCount, 330, 208, 30, 10);
}

bool CPgWiz_DBInfo::OnInitDialog()
{
    CPgWiz::OnInitDialog();
    // The record and database buttons show their pictures; the tool tips
    // say what they do.
    const struct {
        int32_t control;
        int32_t bitmap;
    } kButtonBitmaps[] = {
        {kIdAddRecord, 26055},      {kIdDeleteRecord, 26054},   {kIdFirstRecord, 26057},
        {kIdPreviousRecord, 26059}, {kIdNextRecord, 26060},     {kIdLastRecord, 26056},
        {kIdCreateDatabase, 26058}, {kIdOpenDatabase, 26061},   {kIdWithoutDatabase, 26062},
    };
    for (const auto& b : kButtonBitmaps) {
        auto* button = Item<QPushButton>(b.control);
        const QImage picture = LoadResourceButtonImage(b.bitmap);
        if (!button || picture.isNull())
            continue;
        button->setText(QString());
        button->setIcon(QIcon(QPixmap::fromImage(picture)));
        button->setIconSize(picture.size());
    }
    for (int32_t k = 0; k < kWizDatabaseEditCount; ++k) {
        const int32_t field = FieldIdByIndex(k);
        CFilteredEdit* edit = MakeEdit(field);
        const EditPlace& at = kEditPlaces[k];
        Place(edit, kIdFirstPersonalEdit + k, at.x, at.y, at.width, 12);
        edit->SetControlId(kIdFirstPersonalEdit + k);
        edit->SetDataEntryMode(false);
        edit->Setup(QString(), int32_t(FieldMaxLength(field)), QString(), 0, nullptr);
        QObject::connect(edit, &CFilteredEdit::EditChanged, this, [this](int32_t id) { OnEditChanged(id); });
        edits_[size_t(k)] = edit;
    }
    // The texts of the last wizard run since the program started are
    // offered again.
    DocSetup offered = Record();
    if (WizardShell* shell = CurrentWizardShell(); shell && shell->LastDocSetup())
        DocSetupDecode(shell->LastDocSetup(), &offered);
    for (int32_t k = 0; k < kWizDatabaseEditCount; ++k) {
        if (!edits_[size_t(k)])
            continue;
        const QString text = Cp1252ToQString(DocSetupText(offered, k));
        edits_[size_t(k)]->SetText(&text, nullptr, 0, false);
    }
    SetCustomLabels();
    UpdateButtons();
    ShowCounters();
    return true;
}

int32_t CPgWiz_DBInfo::GetToolTipId(int32_t controlId)
{
    for (const Tip& tip : kTips)
        if (tip.control == controlId)
            return tip.text;
    return 0;
}

void CPgWiz_DBInfo::SetCustomLabels()
{
    for (int32_t k = 0; k < 6; ++k) {
        auto* label = Item<QLabel>(kIdFirstCustomLabel + k);
        if (!label)
            continue;
        if (database_) {
            label->setText(Cp1252ToQString(database_->CustomFieldName(k)));
        } else {
            char name[kFieldTypeNameSize] = {};
            FieldTypeName(kFirstCustomField + k, name, true, false);
            label->setText(Cp1252ToQString(name));
        }
    }
}

void CPgWiz_DBInfo::ShowCounters()
{
    const auto set = [this](int32_t id, const QString& text) {
        if (auto* label = Item<QLabel>(id))
            label->setText(text);
    };
    if (database_) {
        set(kIdCurrentRecordCount, QString::number(database_->CurrentRow() + 1));
        set(kIdBrowserCount, QString::number(database_->LiveCount()));
        set(kIdDatabaseCount, QString::number(database_->StoredCount() - database_->DeletedCount()));
    } else {
        set(kIdCurrentRecordCount, QString());
        set(kIdBrowserCount, QString());
        set(kIdDatabaseCount, QString());
    }
}

void CPgWiz_DBInfo::ReadEdits()
{
    DocSetup& r = Record();
    for (int32_t k = 0; k < kWizDatabaseEditCount; ++k)
        if (edits_[size_t(k)])
            DocSetupSetText(&r, k, QStringToCp1252(edits_[size_t(k)]->text()).c_str());
}

void CPgWiz_DBInfo::WriteEdits()
{
    const DocSetup& r = Record();
    for (int32_t k = 0; k < kWizDatabaseEditCount; ++k) {
        if (!edits_[size_t(k)])
            continue;
        const QString text = Cp1252ToQString(DocSetupText(r, k));
        edits_[size_t(k)]->SetText(&text, nullptr, 0, false);
    }
}

void CPgWiz_DBInfo::Connect(WizDatabase* database)
{
    for (CFilteredEdit* edit : edits_)
        if (edit)
            edit->SetDataEntryMode(false);
    database->ConnectEdits(edits_.data());
    connected_ = true;
}

void CPgWiz_DBInfo::LetGo()
{
    if (!database_)
        return;
    database_->CommitRecord();
    if (connected_)
        database_->ReleaseEdits();
    connected_ = false;
    for (CFilteredEdit* edit : edits_)
        if (edit)
            edit->SetDataEntryMode(false);
    database_->Close();
    database_ = nullptr;
    title_.clear();
    Sheet()->HeldDatabase() = nullptr;
    Record().databaseUse = 0;
}

void CPgWiz_DBInfo::Hold(WizDatabase* database)
{
    if (!database)
        return;
    LetGo();
    database_ = database;
    Connect(database);
}

void CPgWiz_DBInfo::NoteHeld()
{
    if (database_)
        title_ = database_->Title();
    Sheet()->HeldDatabase() = database_;
    Record().databaseUse = database_ ? 1 : 0;
}

void CPgWiz_DBInfo::OnCreateDatabase()
{
    Hold(CreateWizDatabase(Sheet()));
    NoteHeld();
    SetCustomLabels();
    WriteEdits();
    // The texts typed so far become the new database's first record.
    if (database_)
        database_->CommitRecord();
    OnPageShown();
    UpdateButtons();
    ShowCounters();
}

void CPgWiz_DBInfo::OnOpenDatabase() { TakeOpened(OpenWizDatabase(Sheet())); }

void CPgWiz_DBInfo::TakeOpened(WizDatabase* database)
{
    Hold(database);
    NoteHeld();
    SetCustomLabels();
    ReadEdits();
    OnPageShown();
    UpdateButtons();
    ShowCounters();
    Sheet()->NoteDataChanged();
}

void CPgWiz_DBInfo::OnWithoutDatabase()
{
    ReadEdits();
    LetGo();
    SetCustomLabels();
    UpdateButtons();
    OnPageShown();
    ShowCounters();
}

void CPgWiz_DBInfo::OnRecordCommand(int32_t id)
{
    if (!database_)
        return;
    switch (id) {
    case kIdFirstRecord:
        database_->FirstRecord();
        break;
    case kIdPreviousRecord:
        database_->PreviousRecord();
        break;
    case kIdNextRecord:
        database_->NextRecord();
        break;
    case kIdLastRecord:
        database_->LastRecord();
        break;
    case kIdAddRecord:
        database_->AddNewRecord();
        break;
    case kIdDeleteRecord:
        database_->DeleteCurrentRecord();
        break;
    default:
        return;
    }
    UpdateButtons();
    ShowCounters();
    Sheet()->NoteDataChanged();
}

void CPgWiz_DBInfo::OnPicturePath()
{
    std::string path;
    if (!WizChoosePicture(Sheet(), pictureSettings_, &path))
        return;
    CFilteredEdit* edit = edits_[14];
    if (edit) {
        const QString text = Cp1252ToQString(path);
        edit->SetText(&text, nullptr, 0, false);
    }
    DocSetupSetText(&Record(), 14, path.c_str());
    setFocus();
}

void CPgWiz_DBInfo::OnEditChanged(int32_t controlId)
{
    const int32_t k = controlId - kIdFirstPersonalEdit;
    if (k < 0 || k >= kWizDatabaseEditCount || !edits_[size_t(k)])
        return;
    DocSetupSetText(&Record(), k, QStringToCp1252(edits_[size_t(k)]->text()).c_str());
    Sheet()->NoteDataChanged();
}

void CPgWiz_DBInfo::UpdateButtons()
{
    CPgWiz::UpdateButtons();
    const auto enable = [this](int32_t id, bool on) {
        if (QWidget* control = Control(id))
            control->setEnabled(on);
    };
    const int32_t rows = database_ ? database_->RowCount() : 0;
    const int32_t current = database_ ? database_->CurrentRow() : 0;
    const bool held = database_ != nullptr;
    enable(kIdFirstRecord, held && current >= 1);
    enable(kIdPreviousRecord, held && current >= 1);
    enable(kIdNextRecord, held && rows - current - 1 >= 1);
    enable(kIdLastRecord, held && rows - current - 1 >= 1);
    enable(kIdDeleteRecord, held && rows >= 1);
    enable(kIdAddRecord, held);
    enable(kIdWithoutDatabase, held);
}

void CPgWiz_DBInfo::OnPageShown()
{
    // Only a database made or opened here is held: one the user had open
    // before stays theirs, its records as they were.
    const std::string title = SavedSheetCaption() + " - " + (database_ ? title_ : std::string("No Database"));
    Sheet()->setWindowTitle(Cp1252ToQString(title));
}

void CPgWiz_DBInfo::StoreChoice()
{
    ReadEdits();
    if (database_)
        database_->CommitRecord();
}

bool CPgWiz_DBInfo::OnFinishPage()
{
    if (database_) {
        if (connected_)
            database_->ReleaseEdits();
        connected_ = false;
        database_->ShowWindow();
    }
    return true;
}

bool CPgWiz_DBInfo::OnCancelPage()
{
    if (database_)
        database_->CancelRecord();
    LetGo();
    return true;
}

#include "wizard/dlg_doc_sub_category.h"

#include <algorithm>
#include <cstring>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/object_dialog_kit.h"
#include "dialogs/picture_preview_wnd.h"
#include "dialogs/sheet_preview_wnd.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/paper_table.h"
#include "foundation/path_record.h"
#include "records/label_type_builtin.h"

namespace {

constexpr int32_t kIdName = 1022;
constexpr int32_t kIdPaper = 1586;
constexpr int32_t kIdPrintableBackdrop = 1585;
constexpr int32_t kIdSheetFrame = 1590;
constexpr int32_t kIdPictureFrame = 1589;
constexpr int32_t kIdChoosePicture = 1463;
constexpr int32_t kOrientationIds[3] = {1602, 1603, 1176};
constexpr int32_t kPagesIds[2] = {1606, 1607};
constexpr int32_t kNameLength = 63;
// Without a paper of its own the sheet is shown as a Letter page.
constexpr int32_t kAnyFormatWidth = 612;
constexpr int32_t kAnyFormatHeight = 792;

}  // namespace

CDlgDocSubCategory::CDlgDocSubCategory(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Document Subcategory Properties"));
    resize(DialogUnitsX(353), DialogUnitsY(266));
    GetBuiltinLabelType(record_, 0);

    auto* nameLabel = new QLabel(QStringLiteral("Name:"));
    Place(nameLabel, -1, 7, 8, 30, 8);
    name_ = new QLineEdit;
    name_->setMaxLength(kNameLength);
    Place(name_, kIdName, 40, 6, 170, 12);
    fields_ = std::make_unique<CLabelTypeFields>(
        record_,
        [this](QWidget* control, int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
            Place(control, id, x, y, w, h);
        },
        7, 24, [this] { OnPaperChanged(); });

    Place(new QLabel(QStringLiteral("Paper Type:")), -1, 7, 154, 48, 8);
    paper_ = new QComboBox;
    Place(paper_, kIdPaper, 56, 152, 154, 100);
    paper_->setFixedHeight(DialogUnitsY(12));

    Place(new QGroupBox(QStringLiteral("Paper Orientation")), -1, 7, 170, 100, 50);
    const char* orientationNames[3] = {"Any orientation", "Portrait", "Landscape"};
    auto* orientationGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        orientation_[i] = new QRadioButton(QString::fromLatin1(orientationNames[i]));
        orientationGroup->addButton(orientation_[i]);
        Place(orientation_[i], kOrientationIds[i], 13, 181 + 12 * i, 88, 10);
        connect(orientation_[i], &QRadioButton::clicked, this, [this, i] { OnOrientation(uint32_t(i)); });
    }
    Place(new QGroupBox(QStringLiteral("Number of Pages")), -1, 112, 170, 100, 38);
    const char* pagesNames[2] = {"Only Front", "Front And Back"};
    auto* pagesGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        pages_[i] = new QRadioButton(QString::fromLatin1(pagesNames[i]));
        pagesGroup->addButton(pages_[i]);
        Place(pages_[i], kPagesIds[i], 118, 181 + 12 * i, 88, 10);
        connect(pages_[i], &QRadioButton::clicked, this, [this, i] { OnPages(uint32_t(i + 1)); });
    }
    printable_ = new QCheckBox(QStringLiteral("Printable Backdrop"));
    Place(printable_, kIdPrintableBackdrop, 112, 212, 100, 10);

    sheetFrame_ = new QWidget;
    Place(sheetFrame_, kIdSheetFrame, 223, 7, 123, 95);
    Place(new QLabel(QStringLiteral("Picture for Wizard Preview:")), -1, 223, 108, 123, 8);
    pictureFrame_ = new QWidget;
    Place(pictureFrame_, kIdPictureFrame, 223, 120, 123, 95);
    auto* choose = new QPushButton(QStringLiteral("Choose Picture..."));
    Place(choose, kIdChoosePicture, 223, 220, 80, 14);
    connect(choose, &QPushButton::clicked, this, [this] { OnChoosePicture(); });

    ok_ = Named(new QPushButton(QStringLiteral("OK")), "ok");
    ok_->setDefault(true);
    Place(ok_, 1, 240, 244, 50, 14);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("cancel"));
    Place(cancel, 2, 296, 244, 50, 14);
    connect(ok_, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) { OnNameChanged(text); });
    connect(paper_, &QComboBox::activated, this, [this] { OnPaperChanged(); });
    connect(fields_->Centring(), &QCheckBox::clicked, this, [this](bool on) {
        PutU32LE(record_ + kLabelTypeCenteringOffset, on ? 1 : 0);
        OnPaperChanged();
    });
}

CDlgDocSubCategory::~CDlgDocSubCategory() { DibHandleFree(&startPicture_); }

void CDlgDocSubCategory::Place(QWidget* control, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height)
{
    control->setParent(this);
    control->setGeometry(DialogUnitsX(x), DialogUnitsY(y), DialogUnitsX(width), DialogUnitsY(height));
    if (id != -1)
        control->setObjectName(QStringLiteral("control%1").arg(id));
}

void CDlgDocSubCategory::SetLabelType(const uint8_t* record) { std::memcpy(record_, record, kLabelTypeSize); }

void CDlgDocSubCategory::SetPicture(DibHandle picture)
{
    DibHandleFree(&startPicture_);
    startPicture_ = picture;
}

QAbstractButton* CDlgDocSubCategory::OrientationButton(uint32_t orientation) const
{
    return orientation < 3 ? orientation_[orientation] : nullptr;
}

QAbstractButton* CDlgDocSubCategory::PagesButton(uint32_t pages) const
{
    return pages >= 1 && pages <= 2 ? pages_[pages - 1] : nullptr;
}

int32_t CDlgDocSubCategory::DoModal()
{
    InitDialog();
    return RunDialogModal(this);
}

void CDlgDocSubCategory::showEvent(QShowEvent* event)
{
    InitDialog();
    QDialog::showEvent(event);
}

void CDlgDocSubCategory::InitDialog()
{
    if (initialised_)
        return;
    initialised_ = true;
    paper_->clear();
    for (int32_t i = 0; i < PaperTableCount(); ++i)
        paper_->addItem(Cp1252ToQString(PaperTable[i].name));
    const uint32_t paper = GetU32LE(record_ + kLabelTypePaperOffset);
    paper_->setCurrentIndex(paper < uint32_t(PaperTableCount()) ? int(paper) : 0);

    sheet_ = new CSheetPreviewWnd;
    sheet_->CreateInPlace(sheetFrame_);
    sheet_->setObjectName(QStringLiteral("control4097"));
    sheet_->SetMode(kSheetLayoutOnly, nullptr);

    pictureSettings_[kPreviewShowOffset] = 1;
    pictureSettings_[kPreviewPictureModeOffset] = 1;
    picture_ = Named(new CPicturePreviewWnd(this), "control4098");
    picture_->setGeometry(pictureFrame_->geometry());
    picture_->SetSettings(pictureSettings_);
    if (startPicture_ && !DibHandleIsEmpty(startPicture_)) {
        picture_->SetPicture(startPicture_);
        startPicture_ = nullptr;
    }

    fields_->ShowAll();
    fields_->EnableSize(sizeMode_ != 2);
    const uint32_t orientation = GetU32LE(record_ + kLabelTypeOrientationOffset);
    if (QAbstractButton* button = OrientationButton(orientation))
        button->setChecked(true);
    uint32_t pages = GetU32LE(record_ + kLabelTypeSidesOffset);
    if (pages < 1 || pages > 2) {
        pages = 1;
        PutU32LE(record_ + kLabelTypeSidesOffset, pages);
    }
    PagesButton(pages)->setChecked(true);
    printable_->setChecked(GetU32LE(record_ + kLabelTypeWord140Offset) != 0);

    const char* name = reinterpret_cast<const char*>(record_);
    name_->setText(Cp1252ToQString(std::string_view(name, strnlen(name, kNameLength))));
    OnPaperChanged();
}

void CDlgDocSubCategory::OnPaperChanged()
{
    const int index = paper_->currentIndex();
    if (index >= 0)
        PutU32LE(record_ + kLabelTypePaperOffset, uint32_t(index));
    int32_t width = kAnyFormatWidth;
    int32_t height = kAnyFormatHeight;
    if (index > kPaperEntryAnyFormat && index < PaperTableCount() && PaperTable[index].width > 0 &&
        PaperTable[index].height > 0) {
        width = int32_t(PaperTable[index].width);
        height = int32_t(PaperTable[index].height);
    }
    if (GetU32LE(record_ + kLabelTypeOrientationOffset) == 2)
        std::swap(width, height);
    if (sheet_) {
        const IntRect whole{0, 0, width, height};
        sheet_->SetSheetSize(IntSize{width, height}, &whole);
        sheet_->SetLabelType(CLabelTypeFields::SheetLayout(record_));
        sheet_->Redraw();
    }
    EnableButtons();
}

void CDlgDocSubCategory::OnOrientation(uint32_t orientation)
{
    PutU32LE(record_ + kLabelTypeOrientationOffset, orientation);
    OnPaperChanged();
}

void CDlgDocSubCategory::OnPages(uint32_t pages) { PutU32LE(record_ + kLabelTypeSidesOffset, pages); }

void CDlgDocSubCategory::OnNameChanged(const QString& text)
{
    const std::string name = QStringToCp1252(text).substr(0, kNameLength);
    std::memset(record_ + kLabelTypeNameOffset, 0, kNameLength + 1);
    std::memcpy(record_ + kLabelTypeNameOffset, name.data(), name.size());
    EnableButtons();
}

void CDlgDocSubCategory::OnChoosePicture()
{
    std::string path;
    if (!WizChoosePicture(this, pictureSettings_, &path))
        return;
    // The preview's two switches stay on whatever the chooser left.
    pictureSettings_[kPreviewShowOffset] = 1;
    pictureSettings_[kPreviewPictureModeOffset] = 1;
    picturePath_ = path;
    if (picture_) {
        picture_->LoadPicture(path);
        picture_->update();
    }
}

void CDlgDocSubCategory::OnOk()
{
    fields_->ReadEdits();
    if (!CLabelTypeFields::IsUsable(record_))
        return;
    PutU32LE(record_ + kLabelTypeWord140Offset, printable_->isChecked() ? 1 : 0);
    accept();
}

void CDlgDocSubCategory::EnableButtons() { ok_->setEnabled(CLabelTypeFields::IsUsable(record_)); }

void CDlgDocSubCategory::GetResult(uint8_t* record, char* path, int32_t size) const
{
    std::memcpy(record, record_, kLabelTypeSize);
    if (!path || size <= 0)
        return;
    const size_t n = std::min(picturePath_.size(), size_t(size - 1));
    std::memcpy(path, picturePath_.data(), n);
    path[n] = 0;
}

int32_t RunDocSubCategoryDialog(QWidget* parent, uint8_t* layout, int32_t sizeMode, DibHandle picture,
                                std::string* designPath)
{
    CDlgDocSubCategory dialog(parent);
    dialog.SetLabelType(layout);
    dialog.SetSizeMode(sizeMode);
    if (picture && !DibHandleIsEmpty(picture)) {
        DibHandle copy = DibHandleNew();
        if (copy && DibHandleCopy(copy, picture) == 0)
            dialog.SetPicture(copy);
        else
            DibHandleFree(&copy);
    }
    if (dialog.DoModal() != 1)
        return 2;
    char path[kPathTextSize] = {};
    dialog.GetResult(layout, path, int32_t(sizeof path));
    if (designPath)
        *designPath = path;
    return 1;
}

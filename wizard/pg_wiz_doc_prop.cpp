#include "wizard/pg_wiz_doc_prop.h"

#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "dialogs/sheet_preview_wnd.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "platform/print_printer.h"
#include "platform/printer_paper.h"
#include "records/label_type_builtin.h"
#include "wizard/dlg_wizard.h"

namespace {

constexpr int32_t kIdPresets = 1728;
constexpr int32_t kIdSheetFrame = 1590;

QString LayoutName(const uint8_t* layout)
{
    const char* name = reinterpret_cast<const char*>(layout);
    return Cp1252ToQString(std::string_view(name, strnlen(name, 63)));
}

}  // namespace

CPgWizDocProp::CPgWizDocProp() : CPgWiz(591, "Document Properties.") {}

CPgWizDocProp::~CPgWizDocProp() = default;

void CPgWizDocProp::BuildControls()
{
    CPgWiz::BuildControls();
    AddFrame(kIdSheetFrame, 7, 41, 232, 193);
    AddLabel("Name:", -1, 249, 44, 24, 8);
    presets_ = Place(new QComboBox, kIdPresets, 276, 42, 150, 12);
    presets_->setEditable(true);
    fields_ = std::make_unique<CLabelTypeFields>(
        record_,
        [this](QWidget* control, int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
            Place(control, id, x, y, w, h);
        },
        249, 60, [this] { Refresh(); });
}

bool CPgWizDocProp::OnInitDialog()
{
    CPgWiz::OnInitDialog();
    preview_ = new CSheetPreviewWnd;
    preview_->CreateInPlace(Control(kIdSheetFrame));
    preview_->setObjectName(QStringLiteral("control%1").arg(kIdContentPreview));
    preview_->SetMode(kSheetLayoutOnly, nullptr);

    presets_->clear();
    for (int32_t i = 0; i < 2; ++i) {
        uint8_t builtin[kLabelTypeSize] = {};
        GetBuiltinLabelType(builtin, i);
        presets_->addItem(LayoutName(builtin));
    }
    presetCount_ = 0;
    if (tree_ && presetRecords_ && tree_->CollectLabelTypes(presetRecords_.get(), &presetCount_) != 0)
        presetCount_ = 0;
    for (int32_t i = 0; i < presetCount_; ++i) {
        if (size_t(i + 1) * kLabelTypeSize > HandleGetSize(presetRecords_.get()))
            break;
        presets_->addItem(LayoutName(HandleData<uint8_t>(presetRecords_.get()) + size_t(i) * kLabelTypeSize));
    }
    presets_->setCurrentIndex(0);
    QObject::connect(presets_, &QComboBox::activated, this, [this] { ApplyPreset(); });
    QObject::connect(presets_->lineEdit(), &QLineEdit::textEdited, this,
                     [this](const QString& text) { OnNameEdited(text); });
    QObject::connect(fields_->Centring(), &QCheckBox::clicked, this, [this] { Refresh(); });
    ApplyPreset();
    UpdateButtons();
    return true;
}

void CPgWizDocProp::ApplyPreset()
{
    const int selection = presets_->currentIndex();
    if (selection < 0 || selection > presetCount_ + 1)
        return;
    if (selection <= 1) {
        GetBuiltinLabelType(record_, selection);
        PutU32LE(record_ + kLabelTypeOrientationOffset, 1);
        PutU32LE(record_ + kLabelTypePaperOffset, 1);
    } else {
        std::memcpy(record_, HandleData<uint8_t>(presetRecords_.get()) + size_t(selection - 2) * kLabelTypeSize,
                    kLabelTypeSize);
    }
    const uint32_t orientation = GetU32LE(record_ + kLabelTypeOrientationOffset);
    const uint32_t paper = GetU32LE(record_ + kLabelTypePaperOffset);
    if (orientation != 0)
        PrinterSetOrientation(orientation == 1 ? 1 : 0);
    if (paper != 0)
        PrinterSelectPaper(int32_t(paper));
    // The custom document takes its paper from the printer as it is now.
    PutU32LE(record_ + kLabelTypeOrientationOffset, 0);
    PutU32LE(record_ + kLabelTypeSidesOffset, 2);
    PutU32LE(record_ + kLabelTypeWord140Offset, 1);
    PutU32LE(record_ + kLabelTypePaperOffset, 0);
    ShowEverything();
}

void CPgWizDocProp::OnNameEdited(const QString& text)
{
    const std::string name = QStringToCp1252(text).substr(0, 63);
    std::memset(record_, 0, 64);
    std::memcpy(record_, name.data(), name.size());
    UpdateButtons();
}

void CPgWizDocProp::ShowEverything()
{
    fields_->ShowAll();
    if (presets_->lineEdit())
        presets_->lineEdit()->setText(LayoutName(record_));
    Refresh();
}

void CPgWizDocProp::Refresh()
{
    PutU32LE(record_ + kLabelTypeCenteringOffset, fields_->Centring()->isChecked() ? 1 : 0);
    if (preview_) {
        QRect paper;
        QRect printable;
        JobPrinterPageInfo(&paper, &printable, nullptr, nullptr);
        const IntRect area{printable.left(), printable.top(), printable.right() + 1, printable.bottom() + 1};
        preview_->SetSheetSize(IntSize{paper.width(), paper.height()}, &area);
        preview_->SetLabelType(CLabelTypeFields::SheetLayout(record_));
        preview_->Redraw();
    }
    UpdateButtons();
}

void CPgWizDocProp::UpdateButtons()
{
    if (CLabelTypeFields::IsUsable(record_))
        CPgWiz::UpdateButtons();
    else
        Sheet()->SetWizardButtons(kWizButtonBack);
}

void CPgWizDocProp::OnPageShown()
{
    ShowEverything();
    UpdateButtons();
}

void CPgWizDocProp::StoreChoice()
{
    std::memcpy(Record().labelLayout, record_, kLabelTypeSize);
}

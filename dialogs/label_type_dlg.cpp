#include "dialogs/label_type_dlg.h"

#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "dialogs/label_type_list.h"
#include "dialogs/label_type_page.h"
#include "dialogs/length_spin_box.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/sheet_preview_wnd.h"
#include "foundation/alert_sink.h"
#include "foundation/cp1252.h"
#include "foundation/cursors.h"
#include "foundation/paper_table.h"
#include "foundation/units.h"
#include "platform/printer_paper.h"

const char* const kLabelFileOpenErrorText = "Error opening db file";

namespace {

LabelDocFormatSource& DocFormatSource()
{
    static LabelDocFormatSource source;
    return source;
}

QDoubleSpinBox* LengthEdit(double minimum, const char* name, QWidget* parent)
{
    auto* e = new CLengthSpinBox(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setRange(minimum, 10000.0);
    e->setSingleStep(0.01);
    e->setAccelerated(true);
    return e;
}

QSpinBox* CountEdit(const char* name, QWidget* parent)
{
    auto* e = new QSpinBox(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setRange(1, kLabelTypeMaxCount);
    return e;
}

// A group of two captioned edits.
QGroupBox* Pair(const char* title, const char* first, QWidget* a, const char* second, QWidget* b, QWidget* parent)
{
    auto* box = new QGroupBox(QString::fromLatin1(title), parent);
    auto* grid = new QGridLayout(box);
    auto* la = new QLabel(QString::fromLatin1(first), box);
    auto* lb = new QLabel(QString::fromLatin1(second), box);
    la->setBuddy(a);
    lb->setBuddy(b);
    grid->addWidget(la, 0, 0);
    grid->addWidget(a, 0, 1);
    grid->addWidget(lb, 1, 0);
    grid->addWidget(b, 1, 1);
    return box;
}

// The same sheet: named alike, with cards of the same size in the same
// places (paper, orientation and centring aside).
bool SameSheet(const LabelTypeRecord& a, const LabelTypeRecord& b)
{
    return LabelTypeName(a) == LabelTypeName(b) && a.cardWidth == b.cardWidth && a.cardHeight == b.cardHeight &&
           a.topMargin == b.topMargin && a.leftMargin == b.leftMargin &&
           a.horizontalSpacing == b.horizontalSpacing && a.verticalSpacing == b.verticalSpacing &&
           a.columns == b.columns && a.rows == b.rows;
}

}  // namespace

LabelDocFormatSource SetLabelDocFormatSource(LabelDocFormatSource source)
{
    LabelDocFormatSource previous = std::move(DocFormatSource());
    DocFormatSource() = std::move(source);
    return previous;
}

CDlgLabelType::CDlgLabelType(QWidget* parent) : OpeningDialog("Label Type", "labelTypeDialog", parent)
{
    formatLabel_ = new QLabel(QStringLiteral("Document format :"), this);
    format_ = Named(new CLabelTypeComboBox(this), "documentFormat");
    format_->setEditable(true);
    formatLabel_->setBuddy(format_);
    nameLabel_ = new QLabel(QStringLiteral("Name :"), this);
    name_ = Named(new QLineEdit(this), "labelName");
    name_->setMaxLength(int(kLabelTypeNameMax));
    nameLabel_->setBuddy(name_);

    width_ = LengthEdit(0.01, "width", this);
    height_ = LengthEdit(0.01, "height", this);
    top_ = LengthEdit(-10000.0, "top", this);
    left_ = LengthEdit(-10000.0, "left", this);
    horizontal_ = LengthEdit(-10000.0, "horizontal", this);
    vertical_ = LengthEdit(-10000.0, "vertical", this);
    across_ = CountEdit("across", this);
    down_ = CountEdit("down", this);

    units_ = Named(new QComboBox(this), "units");
    auto* unitsLabel = new QLabel(QStringLiteral("Units :"), this);
    unitsLabel->setBuddy(units_);
    centering_ = Named(new QCheckBox(QStringLiteral("Centering"), this), "centering");

    paperType_ = Named(new QComboBox(this), "paperType");
    for (int32_t i = 0; i < kPaperTableCount; ++i)
        paperType_->addItem(Cp1252ToQString(PaperTable[i].name));
    auto* paperLabel = new QLabel(QStringLiteral("Paper Type:"), this);
    paperLabel->setBuddy(paperType_);
    auto* orientationBox = new QGroupBox(QStringLiteral("Paper Orientation"), this);
    auto* orientationRow = new QHBoxLayout(orientationBox);
    const char* const orientationNames[3] = {"Any orientation", "Portrait", "Landscape"};
    for (int32_t i = 0; i < 3; ++i) {
        orientation_[i] = new QRadioButton(QString::fromLatin1(orientationNames[i]), orientationBox);
        orientation_[i]->setObjectName(QStringLiteral("orientation%1").arg(i));
        orientationRow->addWidget(orientation_[i]);
        connect(orientation_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                OnOrientationChosen(i);
        });
    }

    preview_ = Named(new CSheetPreviewWnd(this), "preview");
    preview_->setMinimumSize(200, 250);

    auto* buttons = OkCancelBox(this);
    ok_ = buttons->button(QDialogButtonBox::Ok);

    auto* top = new QGridLayout;
    top->addWidget(formatLabel_, 0, 0);
    top->addWidget(format_, 0, 1);
    top->addWidget(nameLabel_, 1, 0);
    top->addWidget(name_, 1, 1);
    auto* groups = new QGridLayout;
    groups->addWidget(Pair("Dimensions", "Width", width_, "Height", height_, this), 0, 0);
    groups->addWidget(Pair("Margins", "Top", top_, "Left", left_, this), 0, 1);
    groups->addWidget(Pair("Spacing", "Horizontal", horizontal_, "Vertical", vertical_, this), 1, 0);
    groups->addWidget(Pair("Amount", "Across", across_, "Down", down_, this), 1, 1);
    auto* unitsRow = new QHBoxLayout;
    unitsRow->addWidget(unitsLabel);
    unitsRow->addWidget(units_);
    unitsRow->addStretch(1);
    unitsRow->addWidget(centering_);
    auto* paperRow = new QHBoxLayout;
    paperRow->addWidget(paperLabel);
    paperRow->addWidget(paperType_, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addLayout(groups);
    left->addLayout(unitsRow);
    left->addLayout(paperRow);
    left->addWidget(orientationBox);
    left->addStretch(1);
    left->addWidget(buttons);
    auto* whole = new QHBoxLayout(this);
    whole->addLayout(left, 1);
    whole->addWidget(preview_);

    const std::pair<QDoubleSpinBox*, double LabelTypeRecord::*> lengths[] = {
        {width_, &LabelTypeRecord::cardWidth},
        {height_, &LabelTypeRecord::cardHeight},
        {top_, &LabelTypeRecord::topMargin},
        {left_, &LabelTypeRecord::leftMargin},
        {horizontal_, &LabelTypeRecord::horizontalSpacing},
        {vertical_, &LabelTypeRecord::verticalSpacing},
    };
    for (const auto& length : lengths) {
        QDoubleSpinBox* edit = length.first;
        double LabelTypeRecord::*field = length.second;
        connect(edit, &QDoubleSpinBox::valueChanged, this, [this, edit, field] { OnLengthEdited(edit, field); });
    }
    connect(across_, &QSpinBox::valueChanged, this, [this] { OnCountEdited(across_, &LabelTypeRecord::columns); });
    connect(down_, &QSpinBox::valueChanged, this, [this] { OnCountEdited(down_, &LabelTypeRecord::rows); });
    connect(units_, &QComboBox::currentIndexChanged, this, &CDlgLabelType::OnUnitChanged);
    connect(format_, &QComboBox::currentIndexChanged, this, &CDlgLabelType::OnFormatChosen);
    connect(format_, &QComboBox::editTextChanged, this, &CDlgLabelType::OnNameEdited);
    connect(name_, &QLineEdit::textChanged, this, &CDlgLabelType::OnNameEdited);
    connect(centering_, &QCheckBox::toggled, this, &CDlgLabelType::OnCentering);
    connect(paperType_, &QComboBox::currentIndexChanged, this, &CDlgLabelType::OnPaperChosen);
}

void CDlgLabelType::SetPreviewParams(IntSize paper, const IntRect& printable)
{
    printerPaper_ = paper;
    paper_ = paper;
    printable_ = printable;
    preview_->SetSheetSize(paper, &printable);
}

void CDlgLabelType::Open()
{
    filling_ = true;
    for (int32_t i = 0; i < kUnitCount; ++i)
        units_->addItem(QString::fromLatin1(UnitTable[i].shortName));
    preview_->SetSheetSize(paper_, &printable_);
    preview_->SetLabelType(LabelSheetLayout(record_));

    shownMode_ = (mode_ == kLabelTypeModeChoose || mode_ == kLabelTypeModeDocument) ? mode_ : uint8_t(kLabelTypeModeNamed);
    const QString name = Cp1252ToQString(LabelTypeName(record_));
    switch (shownMode_) {
    case kLabelTypeModeChoose: {
        nameLabel_->hide();
        name_->hide();
        centering_->hide();
        SetWaitCursor();
        PathRecord path{};
        if (GetLabelFilePath(&path) == 0 && table_.OpenLabelFile(&path))
            table_.ReadAll();
        RestoreSavedCursor();
        if (table_.HasPendingError())
            ShowMessageBox(kLabelFileOpenErrorText, kMbOk | kMbIconExclamation);
        format_->SetLabelBase(&table_);
        format_->setEditText(name);
        break;
    }
    case kLabelTypeModeDocument: {
        nameLabel_->hide();
        name_->hide();
        setWindowTitle(QStringLiteral("Document Settings"));
        for (int32_t i = 0; i < kBuiltinLabelTypeCount; ++i) {
            LabelTypeRecord builtin;
            GetBuiltinLabelType(&builtin, i);
            format_->addItem(Cp1252ToQString(LabelTypeName(builtin)));
        }
        formats_ = DocFormatSource() ? DocFormatSource()() : std::vector<LabelTypeRecord>();
        for (const LabelTypeRecord& r : formats_)
            format_->addItem(Cp1252ToQString(LabelTypeName(r)));
        format_->setCurrentIndex(-1);
        format_->setEditText(name);
        named_ = record_;
        // The box says what the layout does: a document laid out centred
        // shows it checked.
        centering_->setChecked(record_.centering != 0);
        break;
    }
    default:
        formatLabel_->hide();
        format_->hide();
        name_->setText(name);
        centering_->hide();
        break;
    }
    filling_ = false;
    ShowRecord();
    OnNameEdited();
}

void CDlgLabelType::ShowRecord()
{
    const bool was = filling_;
    filling_ = true;
    const int unit = (record_.unit >= 0 && record_.unit < kUnitCount) ? int(record_.unit) : int(kUnitPoints);
    if (units_->currentIndex() != unit)
        units_->setCurrentIndex(unit);
    factor_ = UnitFactorPoints(unit);
    ShowLengths();
    across_->setValue(record_.columns);
    down_->setValue(record_.rows);
    paperType_->setCurrentIndex(record_.paper > 0 && record_.paper < kPaperTableCount ? int(record_.paper) : 0);
    orientation_[record_.orientation == kLabelOrientationPortrait    ? 1
                 : record_.orientation == kLabelOrientationLandscape ? 2
                                                                     : 0]
        ->setChecked(true);
    filling_ = was;
    UpdatePreview();
}

void CDlgLabelType::ShowLengths()
{
    width_->setValue(record_.cardWidth / factor_);
    height_->setValue(record_.cardHeight / factor_);
    top_->setValue(record_.topMargin / factor_);
    left_->setValue(record_.leftMargin / factor_);
    horizontal_->setValue(record_.horizontalSpacing / factor_);
    vertical_->setValue(record_.verticalSpacing / factor_);
}

void CDlgLabelType::UpdatePreview()
{
    // The sheet the layout is printed on: its own paper, turned as it says.
    IntSize paper = paper_;
    IntRect printable = printable_;
    LabelStockPage(record_, printerPaper_, &paper, &printable);
    if (paper.width != paper_.width || paper.height != paper_.height) {
        paper_ = paper;
        printable_ = printable;
        preview_->SetSheetSize(paper_, &printable_);
    }
    preview_->SetLabelType(LabelSheetLayout(record_));
    preview_->Redraw();
}

void CDlgLabelType::OnLengthEdited(QDoubleSpinBox* edit, double LabelTypeRecord::*field)
{
    if (filling_)
        return;
    record_.*field = edit->value() * factor_;
    UpdatePreview();
}

void CDlgLabelType::OnCountEdited(QSpinBox* edit, int16_t LabelTypeRecord::*field)
{
    if (filling_)
        return;
    record_.*field = int16_t(edit->value());
    UpdatePreview();
}

void CDlgLabelType::OnUnitChanged(int index)
{
    if (filling_ || index < 0)
        return;
    // Only the edits change unit; the record keeps its lengths and its own
    // unit word.
    filling_ = true;
    factor_ = UnitFactorPoints(index);
    ShowLengths();
    filling_ = false;
}

void CDlgLabelType::OnFormatChosen(int index)
{
    if (filling_ || index < 0)
        return;
    if (shownMode_ == kLabelTypeModeChoose) {
        if (!table_.GetLabelType(index, &record_))
            return;
        ShowRecord();
        return;
    }
    if (shownMode_ != kLabelTypeModeDocument)
        return;
    LabelTypeRecord chosen;
    if (index < kBuiltinLabelTypeCount) {
        GetBuiltinLabelType(&chosen, index);
        chosen.orientation = kLabelOrientationPortrait;
        chosen.paper = kPaperEntryLetter;
    } else if (size_t(index - kBuiltinLabelTypeCount) < formats_.size()) {
        chosen = formats_[size_t(index - kBuiltinLabelTypeCount)];
    } else {
        return;
    }
    // The sheet the card has already, picked again or matched by its name
    // as the box is left, changes nothing: its paper and orientation stay
    // what the user left them.
    if (SameSheet(chosen, record_))
        return;
    record_ = chosen;
    named_ = chosen;
    if (record_.orientation != kLabelOrientationKeep)
        PrinterSetOrientation(record_.orientation == kLabelOrientationPortrait ? 1 : 0);
    if (record_.paper != 0)
        PrinterSelectPaper(record_.paper);
    IntSize paper;
    IntRect printable;
    if (ReadLabelPrinterPage(&paper, &printable))
        SetPreviewParams(paper, printable);
    record_.centering = 0;
    {
        const QSignalBlocker quiet(centering_);
        centering_->setChecked(false);
    }
    ShowRecord();
}

void CDlgLabelType::OnNameEdited()
{
    const QString text = shownMode_ == kLabelTypeModeNamed ? name_->text() : format_->currentText();
    ok_->setEnabled(!text.isEmpty());
}

void CDlgLabelType::OnCentering(bool on)
{
    if (filling_)
        return;
    record_.centering = on ? 1 : 0;
    UpdatePreview();
}

void CDlgLabelType::OnPaperChosen(int index)
{
    if (filling_ || index < 0)
        return;
    record_.paper = index;
    UpdatePreview();
}

void CDlgLabelType::OnOrientationChosen(int32_t orientation)
{
    if (filling_)
        return;
    record_.orientation = orientation;
    UpdatePreview();
}

void CDlgLabelType::accept()
{
    QString text = shownMode_ == kLabelTypeModeNamed ? name_->text() : format_->currentText();
    if (text.isEmpty())
        return;
    // A format's name left on a sheet the user changed would name another
    // layout than the card has.
    if (shownMode_ == kLabelTypeModeDocument && text == Cp1252ToQString(LabelTypeName(named_)) &&
        !SameSheet(record_, named_))
        text = QStringLiteral("Custom %1x%2").arg(record_.columns).arg(record_.rows);
    LabelTypeSetName(&record_, QStringToCp1252(text));
    QDialog::accept();
}

#include "dialogs/print_options_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"
#include "dialogs/up_down_buttons.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/int_math.h"

namespace {

// The arrows step the text of their edit and reach further than the edit
// accepts, so that the range message is what stops a value out of range.
constexpr int32_t kSpinLimit = 200;

UpDownButtons* MakeSpin(QWidget* parent, QLineEdit* edit)
{
    auto* spin = new UpDownButtons(edit, parent);
    spin->SetRange(-kSpinLimit, kSpinLimit);
    return spin;
}

}  // namespace

CDlgPrintOptions::CDlgPrintOptions(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Print Options"));
    auto* layout = new QVBoxLayout(this);
    cropMarks_ = new QCheckBox(QStringLiteral("Crop Marks"), this);
    layout->addWidget(cropMarks_);
    auto* group = new QGroupBox(QStringLiteral("Printer Alignment"), this);
    auto* form = new QFormLayout(group);
    horizontal_ = new QLineEdit(group);
    vertical_ = new QLineEdit(group);
    horizontalSpin_ = MakeSpin(group, horizontal_);
    verticalSpin_ = MakeSpin(group, vertical_);
    auto row = [](QLineEdit* edit, UpDownButtons* spin) {
        auto* box = new QHBoxLayout;
        box->addWidget(edit);
        box->addWidget(spin);
        return box;
    };
    form->addRow(QStringLiteral("Horizontal"), row(horizontal_, horizontalSpin_));
    form->addRow(QStringLiteral("Vertical"), row(vertical_, verticalSpin_));
    layout->addWidget(group);
    layout->addWidget(OkCancelBox(this));
}

void CDlgPrintOptions::SetOptions(const uint8_t* block)
{
    verticalValue_ = TruncToInt32(GetF64LE(block));
    horizontalValue_ = TruncToInt32(GetF64LE(block + 8));
    crop_ = GetU32LE(block + 16) != 0 ? 1 : 0;
    cropMarks_->setChecked(crop_ != 0);
    horizontal_->setText(QString::number(horizontalValue_));
    vertical_->setText(QString::number(verticalValue_));
}

void CDlgPrintOptions::GetOptions(uint8_t* block) const
{
    PutF64LE(block, double(verticalValue_));
    PutF64LE(block + 8, double(horizontalValue_));
    PutU32LE(block + 16, uint32_t(crop_));
}

bool CDlgPrintOptions::ReadOffset(QLineEdit* edit, int32_t* out)
{
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    if (!ok) {
        AlertStop("Please enter an integer.", 0);
    } else if (value < -kPrintAlignLimit || value > kPrintAlignLimit) {
        AlertStop("Please enter an integer between -100 and 100.", 0);
        ok = false;
    }
    if (!ok) {
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    *out = value;
    return true;
}

void CDlgPrintOptions::accept()
{
    int32_t horizontal = 0, vertical = 0;
    if (!ReadOffset(horizontal_, &horizontal) || !ReadOffset(vertical_, &vertical))
        return;
    crop_ = cropMarks_->isChecked() ? 1 : 0;
    horizontalValue_ = horizontal;
    verticalValue_ = vertical;
    QDialog::accept();
}

#include "dialogs/counter_spec_dialog.h"

#include <cstring>
#include <string>

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/spin_steps.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"

namespace {

CIntEdit* CounterEdit(int32_t id, const char* name, QWidget* parent)
{
    auto* edit = new CIntEdit(parent);
    edit->SetControlId(id);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(6);
    return edit;
}

QLineEdit* TextEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(kCounterTextLimit);
    return edit;
}

// A zero-terminated text of the record, read no further than its slot.
QString SlotText(const uint8_t* record, size_t offset)
{
    const char* text = reinterpret_cast<const char*>(record + offset);
    return Cp1252ToQString(std::string_view(text, strnlen(text, kCounterTextSize - 1)));
}

void PutSlotText(uint8_t* record, size_t offset, const QString& text)
{
    std::string bytes = QStringToCp1252(text);
    if (bytes.size() > size_t(kCounterTextLimit))
        bytes.resize(kCounterTextLimit);
    std::memset(record + offset, 0, kCounterTextSize);
    std::memcpy(record + offset, bytes.data(), bytes.size());
}

}  // namespace

CDlgCounterSpec::CDlgCounterSpec(QWidget* parent) : OpeningDialog("Counter Specification", "counterSpecDialog", parent)
{
    preamble_ = TextEdit("preamble", this);
    postamble_ = TextEdit("postamble", this);
    start_ = CounterEdit(1123, "start", this);
    increment_ = CounterEdit(1124, "increment", this);
    sameCount_ = CounterEdit(1125, "sameCount", this);
    fixedLength_ = CounterEdit(1129, "fixedLength", this);
    CIntEdit* edits[4] = {start_, increment_, sameCount_, fixedLength_};
    for (int i = 0; i < 4; ++i) {
        spins_[i] = new SpinSteps(this);
        CIntEdit* edit = edits[i];
        // A step that would leave the range changes nothing.
        spins_[i]->OnStep([edit](int32_t delta) { edit->Step(delta); });
    }

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("Preamble :"), this), row, 0);
    grid->addWidget(preamble_, row++, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Postamble :"), this), row, 0);
    grid->addWidget(postamble_, row++, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Starting Number :"), this), row, 0);
    grid->addWidget(start_, row, 1);
    grid->addWidget(spins_[0], row++, 2);
    grid->addWidget(new QLabel(QStringLiteral("Increment by :"), this), row, 0);
    grid->addWidget(increment_, row, 1);
    grid->addWidget(spins_[1], row++, 2);
    grid->addWidget(new QLabel(QStringLiteral("Use Same Value :"), this), row, 0);
    grid->addWidget(sameCount_, row, 1);
    grid->addWidget(spins_[2], row, 2);
    grid->addWidget(new QLabel(QStringLiteral("times"), this), row++, 3);

    auto* group = new QGroupBox(QStringLiteral("Padding options"), this);
    auto* buttons = new QButtonGroup(this);
    auto* groupLayout = new QGridLayout(group);
    const char* names[3] = {"None", "Zero", "Space"};
    for (int i = 0; i < 3; ++i) {
        padding_[i] = new QRadioButton(QString::fromLatin1(names[i]), group);
        padding_[i]->setObjectName(QStringLiteral("padding") + QString::fromLatin1(names[i]));
        buttons->addButton(padding_[i], i);
        groupLayout->addWidget(padding_[i], 0, i);
        connect(padding_[i], &QRadioButton::clicked, this, [this] { PaddingClicked(); });
    }
    groupLayout->addWidget(new QLabel(QStringLiteral("Fixed Length Width"), group), 1, 0, 1, 2);
    auto* lengthRow = new QHBoxLayout;
    lengthRow->addWidget(fixedLength_);
    lengthRow->addWidget(spins_[3]);
    groupLayout->addLayout(lengthRow, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(group);
    layout->addLayout(OkCancelRow(this));
}

QRadioButton* CDlgCounterSpec::Padding(int32_t mode) const
{
    return padding_[mode >= 0 && mode <= 2 ? mode : 0];
}

void CDlgCounterSpec::SetRecord(const uint8_t* record)
{
    std::memcpy(record_, record, kCounterSpecSize);
}

void CDlgCounterSpec::Open()
{
    preamble_->setText(SlotText(record_, kCounterPrefixOffset));
    postamble_->setText(SlotText(record_, kCounterSuffixOffset));
    const struct {
        CIntEdit* edit;
        size_t offset;
    } numbers[4] = {{start_, kCounterStartOffset},
                    {increment_, kCounterStepOffset},
                    {sameCount_, kCounterRepeatOffset},
                    {fixedLength_, kCounterWidthOffset}};
    // The numbers of the sequence take all their six characters hold: a
    // start typed above any lower limit would be lowered without a word,
    // and a run of tickets would start again from numbers already printed.
    for (const auto& n : numbers) {
        const int32_t most = n.edit == fixedLength_ ? kCounterMostValue : kCounterMostNumber;
        n.edit->Setup(GetI32LE(record_ + n.offset), 0, most, 1, 6, 0, 0);
    }
    // A padding outside the group shows no button checked; OK then
    // stores what the user picks, or leaves the value alone.
    const int32_t padding = GetI32LE(record_ + kCounterWidthModeOffset);
    if (padding >= kCounterPadNone && padding <= kCounterPadSpaces)
        padding_[padding]->setChecked(true);
}

void CDlgCounterSpec::PaddingClicked()
{
    const bool pad = !padding_[kCounterPadNone]->isChecked();
    fixedLength_->setEnabled(pad);
    spins_[3]->setEnabled(pad);
}

void CDlgCounterSpec::accept()
{
    int32_t values[4] = {};
    CIntEdit* edits[4] = {start_, increment_, sameCount_, fixedLength_};
    for (int i = 0; i < 4; ++i) {
        if (!ExchangeInt(edits[i], &values[i]))
            return;
    }
    PutI32LE(record_ + kCounterStartOffset, values[0]);
    PutI32LE(record_ + kCounterStepOffset, values[1]);
    PutI32LE(record_ + kCounterRepeatOffset, values[2]);
    PutI32LE(record_ + kCounterWidthOffset, values[3]);
    for (int32_t mode = kCounterPadNone; mode <= kCounterPadSpaces; ++mode) {
        if (padding_[mode]->isChecked())
            PutI32LE(record_ + kCounterWidthModeOffset, mode);
    }
    PutSlotText(record_, kCounterPrefixOffset, preamble_->text());
    PutSlotText(record_, kCounterSuffixOffset, postamble_->text());
    QDialog::accept();
}

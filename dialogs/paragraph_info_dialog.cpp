#include "dialogs/paragraph_info_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

namespace {

constexpr int32_t kFirstEditId = 1259;

}  // namespace

CDlgParagraphInfo::CDlgParagraphInfo(QWidget* parent) : RecordDialog("Paragraph Info", "paragraphInfoDialog", parent)
{
    const char* const names[6] = {"leftIndent", "firstLine", "rightIndent", "leading", "spaceBefore", "spaceAfter"};
    for (int i = 0; i < 6; ++i) {
        edits_[i] = new CFloatEdit(this);
        edits_[i]->SetControlId(kFirstEditId + i);
        edits_[i]->setObjectName(QString::fromLatin1(names[i]));
        connect(edits_[i], &CFilteredEdit::EditChanged, this, [this] { fields_.ReadModified(); });
    }
    keepWithNext_ = new QCheckBox(QStringLiteral("Keep With Next"), this);
    keepLines_ = new QCheckBox(QStringLiteral("Keep Lines Together"), this);
    alignment_ = Named(new QComboBox(this), "alignment");
    for (const char* a : {"None", "Left", "Center", "Right", "Justified"})
        alignment_->addItem(QString::fromLatin1(a));
    units_ = Named(new QComboBox(this), "units");

    auto* indents = FormRows({{"Left Indent :", edits_[0]},
                              {"First Line :", edits_[1]},
                              {"Right Indent :", edits_[2]},
                              {"Alignment :", alignment_}});
    auto* spacing = FormRows({{"Leading :", edits_[3]},
                              {"Space Before :", edits_[4]},
                              {"Space After :", edits_[5]},
                              {"Units :", units_}});
    auto* columns = new QHBoxLayout;
    columns->addLayout(indents);
    columns->addLayout(spacing);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(keepWithNext_);
    layout->addWidget(keepLines_);
    layout->addLayout(OkCancelRow(this));

    double* values[6] = {&record_.leftIndent, &record_.firstLine,   &record_.rightIndent,
                         &record_.leading,    &record_.spaceBefore, &record_.spaceAfter};
    for (int i = 0; i < 6; ++i)
        fields_.AddLength(edits_[i], values[i], 0);
    connect(units_, &QComboBox::currentIndexChanged, this, [this](int index) { UnitsChosen(index); });
}

CFloatEdit* CDlgParagraphInfo::Edit(int32_t controlId) const
{
    const int32_t i = controlId - kFirstEditId;
    return i >= 0 && i < 6 ? edits_[i] : nullptr;
}

void CDlgParagraphInfo::Open()
{
    {
        const QSignalBlocker quiet(units_);
        FillUnitsCombo(units_);
        units_->setCurrentIndex(record_.units >= 0 && record_.units < units_->count() ? record_.units : 0);
    }
    fields_.SetPointsPerUnit(PointsPerUnit(record_.units));
    alignment_->setCurrentIndex(record_.alignment >= 0 && record_.alignment <= kParaAlignJustified
                                    ? record_.alignment
                                    : kParaAlignNone);
    keepWithNext_->setChecked(record_.keepWithNext != 0);
    keepLines_->setChecked(record_.keepLinesTogether != 0);
    fields_.SetupAll();
}

void CDlgParagraphInfo::UnitsChosen(int index)
{
    if (index < 0 || index == record_.units)
        return;
    record_.units = index;
    fields_.SetPointsPerUnit(PointsPerUnit(index));
    fields_.ShowLengths(~0u);
}

void CDlgParagraphInfo::accept()
{
    record_.keepWithNext = keepWithNext_->isChecked() ? 1 : 0;
    record_.keepLinesTogether = keepLines_->isChecked() ? 1 : 0;
    record_.alignment = alignment_->currentIndex();
    record_.units = units_->currentIndex();
    QDialog::accept();
}

#include "dialogs/group_info_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dbdoc/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

CDlgGroupInfo::CDlgGroupInfo(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Group Information"));
    setObjectName(QStringLiteral("groupInfoDialog"));
    across_ = new CFloatEdit(this);
    across_->SetControlId(1201);
    across_->setObjectName(QStringLiteral("originAcross"));
    down_ = new CFloatEdit(this);
    down_->SetControlId(1202);
    down_->setObjectName(QStringLiteral("originDown"));
    angle_ = new CFloatEdit(this);
    angle_->SetControlId(1203);
    angle_->setObjectName(QStringLiteral("boxAngle"));
    printable_ = TriStateBox("Printable", this);
    locked_ = TriStateBox("Locked", this);
    visible_ = TriStateBox("Visible", this);
    units_ = new QComboBox(this);
    units_->setObjectName(QStringLiteral("units"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Origin Across :"), across_);
    form->addRow(QStringLiteral("Origin Down :"), down_);
    form->addRow(QStringLiteral("Box Angle :"), angle_);
    form->addRow(QStringLiteral("Units :"), units_);
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(printable_);
    boxes->addWidget(locked_);
    boxes->addWidget(visible_);
    boxes->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addLayout(boxes);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(OkCancelRow(this));

    fields_.AddLength(across_, &record_.originAcross, kFieldOriginAcross);
    fields_.AddLength(down_, &record_.originDown, kFieldOriginDown);
    fields_.AddPlain(angle_, &record_.boxAngle, kFieldBoxAngle, -359.0, 359.0, 0.01);

    for (CFloatEdit* e : {across_, down_, angle_})
        connect(e, &CFilteredEdit::EditChanged, this, [this] { EditChanged(); });
    connect(units_, &QComboBox::activated, this, [this](int index) { UnitsChosen(index); });
    connect(printable_, &QCheckBox::clicked, this, [this] { BoxClicked(printable_, kFieldPrintable); });
    connect(locked_, &QCheckBox::clicked, this, [this] { BoxClicked(locked_, kFieldLocked); });
    connect(visible_, &QCheckBox::clicked, this, [this] { BoxClicked(visible_, kFieldVisible); });
}

int32_t CDlgGroupInfo::DoModal() { return RunDialogModal(this); }

void CDlgGroupInfo::showEvent(QShowEvent* event)
{
    if (!opened_)
        Open();
    QDialog::showEvent(event);
}

void CDlgGroupInfo::Open()
{
    opened_ = true;
    ready_ = false;
    FillUnitsCombo(units_);
    units_->setCurrentIndex(record_.units >= 0 && record_.units < units_->count() ? record_.units : 0);
    fields_.SetPointsPerUnit(PointsPerUnit(record_.units));
    // A blank field gets its range too, so that a value typed into it
    // later is held to the same limits as in a field shown with a value.
    fields_.SetupAll();
    fields_.BlankUnknown(record_.flags);
    SetBoxState(printable_, record_.flags & kFieldPrintable ? record_.printable : kBoxMixed);
    SetBoxState(locked_, record_.flags & kFieldLocked ? record_.locked : kBoxMixed);
    SetBoxState(visible_, record_.flags & kFieldVisible ? record_.visible : kBoxMixed);
    shown_ = record_.flags;
    record_.flags = 0;
    ready_ = true;
}

void CDlgGroupInfo::EditChanged()
{
    if (ready_)
        record_.flags |= fields_.ReadModified();
}

void CDlgGroupInfo::UnitsChosen(int index)
{
    if (index < 0 || index == record_.units)
        return;
    record_.units = int16_t(index);
    fields_.SetPointsPerUnit(PointsPerUnit(index));
    record_.flags |= kFieldUnitsChanged;
    shown_ |= record_.flags;
    ready_ = false;
    fields_.ShowLengths(shown_);
    ready_ = true;
}

void CDlgGroupInfo::BoxClicked(QCheckBox* box, uint32_t bit)
{
    if (ready_)
        NoteBoxClick(box, bit, &record_.flags);
}

void CDlgGroupInfo::accept()
{
    record_.printable = BoxState(printable_);
    record_.locked = BoxState(locked_);
    record_.visible = BoxState(visible_);
    record_.units = int16_t(units_->currentIndex());
    QDialog::accept();
}

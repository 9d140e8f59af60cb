#include "dialogs/group_info_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

CDlgGroupInfo::CDlgGroupInfo(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Group Information"));
    setObjectName(QStringLiteral("groupInfoDialog"));
    across_ = MeasureEdit(1201, "originAcross", this);
    down_ = MeasureEdit(1202, "originDown", this);
    angle_ = MeasureEdit(1203, "boxAngle", this);
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
    // A blank field gets its range too, so that a value typed into it
    // later is held to the same limits as in a field shown with a value.
    fields_.Open(units_, record_.units);
    fields_.BlankUnknown(record_.flags);
    ShowBoxState(printable_, record_.printable, record_.flags, kFieldPrintable);
    ShowBoxState(locked_, record_.locked, record_.flags, kFieldLocked);
    ShowBoxState(visible_, record_.visible, record_.flags, kFieldVisible);
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
    ready_ = false;
    fields_.SwitchUnit(index, &record_.flags, &shown_);
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

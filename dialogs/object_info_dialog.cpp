#include "dialogs/object_info_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

CDlgObjectInfo::CDlgObjectInfo(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Object Info"));
    setObjectName(QStringLiteral("objectInfoDialog"));
    across_ = MeasureEdit(1201, "originAcross", this);
    down_ = MeasureEdit(1202, "originDown", this);
    angle_ = MeasureEdit(1203, "boxAngle", this);
    height_ = MeasureEdit(1003, "height", this);
    width_ = MeasureEdit(1002, "width", this);
    printable_ = TriStateBox("Printable", this);
    locked_ = TriStateBox("Locked", this);
    visible_ = TriStateBox("Visible", this);
    units_ = new QComboBox(this);
    units_->setObjectName(QStringLiteral("units"));

    auto* left = new QFormLayout;
    left->addRow(QStringLiteral("Origin Across :"), across_);
    left->addRow(QStringLiteral("Origin Down :"), down_);
    left->addRow(QStringLiteral("Box Angle :"), angle_);
    auto* right = new QFormLayout;
    right->addRow(QStringLiteral("Width :"), width_);
    right->addRow(QStringLiteral("Height :"), height_);
    right->addRow(QStringLiteral("Units :"), units_);
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(printable_);
    boxes->addWidget(locked_);
    boxes->addWidget(visible_);
    auto* grid = new QGridLayout;
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addLayout(boxes, 1, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(OkCancelRow(this));

    fields_.AddLength(across_, &record_.originAcross, kFieldOriginAcross);
    fields_.AddLength(down_, &record_.originDown, kFieldOriginDown);
    fields_.AddPlain(angle_, &record_.boxAngle, kFieldBoxAngle, -359.0, 359.0, 1.0);
    fields_.AddLength(height_, &record_.height, kFieldHeight);
    fields_.AddLength(width_, &record_.width, kFieldWidth);

    for (CFloatEdit* e : {across_, down_, angle_, height_, width_})
        connect(e, &CFilteredEdit::EditChanged, this, [this] { EditChanged(); });
    connect(units_, &QComboBox::activated, this, [this](int index) { UnitsChosen(index); });
    connect(printable_, &QCheckBox::clicked, this, [this] { BoxClicked(printable_, kFieldPrintable); });
    connect(locked_, &QCheckBox::clicked, this, [this] { BoxClicked(locked_, kFieldLocked); });
    connect(visible_, &QCheckBox::clicked, this, [this] { BoxClicked(visible_, kFieldVisible); });
}

int32_t CDlgObjectInfo::DoModal() { return RunDialogModal(this); }

void CDlgObjectInfo::showEvent(QShowEvent* event)
{
    if (!opened_)
        Open();
    QDialog::showEvent(event);
}

void CDlgObjectInfo::Open()
{
    opened_ = true;
    ready_ = false;
    fields_.Open(units_, record_.units);
    fields_.BlankUnknown(record_.flags);
    if (record_.sizeFixed) {
        height_->setEnabled(false);
        width_->setEnabled(false);
    }
    ShowBoxState(printable_, record_.printable, record_.flags, kFieldPrintable);
    ShowBoxState(locked_, record_.locked, record_.flags, kFieldLocked);
    ShowBoxState(visible_, record_.visible, record_.flags, kFieldVisible);
    shown_ = record_.flags;
    record_.flags = 0;
    ready_ = true;
}

void CDlgObjectInfo::EditChanged() { record_.flags |= fields_.ReadModified(); }

void CDlgObjectInfo::UnitsChosen(int index)
{
    if (index < 0 || index == record_.units)
        return;
    record_.units = int16_t(index);
    ready_ = false;
    fields_.SwitchUnit(index, &record_.flags, &shown_);
    ready_ = true;
}

void CDlgObjectInfo::BoxClicked(QCheckBox* box, uint32_t bit)
{
    if (ready_)
        NoteBoxClick(box, bit, &record_.flags);
}

void CDlgObjectInfo::accept()
{
    record_.printable = BoxState(printable_);
    record_.locked = BoxState(locked_);
    record_.visible = BoxState(visible_);
    record_.units = int16_t(units_->currentIndex());
    QDialog::accept();
}

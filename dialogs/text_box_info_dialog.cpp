#include "dialogs/text_box_info_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

CDlgTextBoxInfo::CDlgTextBoxInfo(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Text Box Information"));
    setObjectName(QStringLiteral("textBoxInfoDialog"));
    const auto edit = [this](int32_t id, const char* name) {
        CFloatEdit* e = MeasureEdit(id, name, this);
        connect(e, &CFilteredEdit::EditChanged, this, [this] { record_.mask |= fields_.ReadModified(); });
        return e;
    };
    across_ = edit(1201, "originAcross");
    down_ = edit(1202, "originDown");
    width_ = edit(1002, "width");
    height_ = edit(1003, "height");
    angle_ = edit(1203, "boxAngle");
    inset_ = edit(1204, "textInset");
    printable_ = TriStateBox("Printable", this);
    locked_ = TriStateBox("Locked", this);
    visible_ = TriStateBox("Visible", this);
    runaround_ = TriStateBox("Text Runaround", this);
    units_ = new QComboBox(this);
    units_->setObjectName(QStringLiteral("units"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Origin Across :"), across_);
    form->addRow(QStringLiteral("Origin Down :"), down_);
    form->addRow(QStringLiteral("Width :"), width_);
    form->addRow(QStringLiteral("Height :"), height_);
    form->addRow(QStringLiteral("Box Angle :"), angle_);
    form->addRow(QStringLiteral("Text Inset :"), inset_);
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(printable_);
    boxes->addWidget(locked_);
    boxes->addWidget(visible_);
    boxes->addWidget(runaround_);
    auto* unitsForm = new QFormLayout;
    unitsForm->addRow(QStringLiteral("Units :"), units_);
    boxes->addLayout(unitsForm);
    boxes->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addLayout(boxes);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(OkCancelRow(this));

    fields_.AddLength(across_, &record_.originAcross, kFieldOriginAcross);
    fields_.AddLength(down_, &record_.originDown, kFieldOriginDown);
    fields_.AddLength(width_, &record_.width, kFieldWidth);
    fields_.AddLength(height_, &record_.height, kFieldHeight);
    fields_.AddPlain(angle_, &record_.boxAngle, kFieldBoxAngle, -360.0, 360.0, 0.01);
    fields_.AddLength(inset_, &record_.textInset, kTextBoxInset);
    connect(units_, &QComboBox::activated, this, [this](int index) { UnitsChosen(index); });
    connect(printable_, &QCheckBox::clicked, this, [this] { BoxClicked(printable_, kFieldPrintable); });
    connect(locked_, &QCheckBox::clicked, this, [this] { BoxClicked(locked_, kFieldLocked); });
    connect(visible_, &QCheckBox::clicked, this, [this] { BoxClicked(visible_, kFieldVisible); });
    connect(runaround_, &QCheckBox::clicked, this, [this] { BoxClicked(runaround_, kTextBoxRunaround); });
}

int32_t CDlgTextBoxInfo::DoModal() { return RunDialogModal(this); }

void CDlgTextBoxInfo::showEvent(QShowEvent* event)
{
    if (!opened_)
        Open();
    QDialog::showEvent(event);
}

void CDlgTextBoxInfo::Open()
{
    opened_ = true;
    fields_.Open(units_, record_.units);
    fields_.BlankUnknown(record_.mask);
    ShowBoxState(printable_, record_.printable, record_.mask, kFieldPrintable);
    ShowBoxState(locked_, record_.locked, record_.mask, kFieldLocked);
    ShowBoxState(visible_, record_.visible, record_.mask, kFieldVisible);
    ShowBoxState(runaround_, record_.textRunaround, record_.mask, kTextBoxRunaround);
    ready_ = true;
}

void CDlgTextBoxInfo::UnitsChosen(int index)
{
    if (index < 0 || index == record_.units)
        return;
    record_.units = index;
    fields_.SwitchUnit(index, &record_.mask, &showAgain_);
}

void CDlgTextBoxInfo::BoxClicked(QCheckBox* box, uint32_t bit)
{
    if (ready_)
        NoteBoxClick(box, bit, &record_.mask);
}

void CDlgTextBoxInfo::accept()
{
    record_.printable = BoxState(printable_);
    record_.locked = BoxState(locked_);
    record_.visible = BoxState(visible_);
    record_.textRunaround = BoxState(runaround_);
    record_.units = units_->currentIndex();
    QDialog::accept();
}

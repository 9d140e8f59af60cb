#include "dialogs/text_box_info_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

CDlgTextBoxInfo::CDlgTextBoxInfo(QWidget* parent)
    : RecordDialog("Text Box Information", "textBoxInfoDialog", parent)
{
    // The mask keeps the fields known over the selection: the worker
    // writes every field back whatever it says.
    BindRecord(&record_.mask, &record_.units, FlagWord::kKnownAndUserSet);
    across_ = AddLength(1201, "originAcross", &record_.originAcross, kFieldOriginAcross);
    down_ = AddLength(1202, "originDown", &record_.originDown, kFieldOriginDown);
    width_ = AddLength(1002, "width", &record_.width, kFieldWidth);
    height_ = AddLength(1003, "height", &record_.height, kFieldHeight);
    angle_ = AddPlain(1203, "boxAngle", &record_.boxAngle, kFieldBoxAngle, -360.0, 360.0, 0.01);
    inset_ = AddLength(1204, "textInset", &record_.textInset, kTextBoxInset);
    AddFlagBoxes(&record_.printable, &record_.locked, &record_.visible);
    runaround_ = AddBox("Text Runaround", &record_.textRunaround, kTextBoxRunaround);
    AddUnits();

    QVBoxLayout* boxes = FlagColumn();
    boxes->addWidget(runaround_);
    boxes->addLayout(FormRows({{"Units :", Units()}}));
    boxes->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(FormRows({{"Origin Across :", across_},
                         {"Origin Down :", down_},
                         {"Width :", width_},
                         {"Height :", height_},
                         {"Box Angle :", angle_},
                         {"Text Inset :", inset_}}));
    top->addLayout(boxes);
    SetBody(top);
}

#include "dialogs/group_info_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

CDlgGroupInfo::CDlgGroupInfo(QWidget* parent)
    : RecordDialog("Group Information", "groupInfoDialog", parent)
{
    BindRecord(&record_.flags, &record_.units, FlagWord::kUserSetOnly);
    across_ = AddLength(1201, "originAcross", &record_.originAcross, kFieldOriginAcross);
    down_ = AddLength(1202, "originDown", &record_.originDown, kFieldOriginDown);
    angle_ = AddPlain(1203, "boxAngle", &record_.boxAngle, kFieldBoxAngle, -359.0, 359.0, 0.01);
    AddFlagBoxes(&record_.printable, &record_.locked, &record_.visible);
    AddUnits();

    QVBoxLayout* boxes = FlagColumn();
    boxes->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(FormRows({{"Origin Across :", across_},
                         {"Origin Down :", down_},
                         {"Box Angle :", angle_},
                         {"Units :", Units()}}));
    top->addLayout(boxes);
    SetBody(top);
}

#include "dialogs/object_info_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

CDlgObjectInfo::CDlgObjectInfo(QWidget* parent) : RecordDialog("Object Info", "objectInfoDialog", parent)
{
    BindRecord(&record_.flags, &record_.units, FlagWord::kUserSetOnly);
    across_ = AddLength(1201, "originAcross", &record_.originAcross, kFieldOriginAcross);
    down_ = AddLength(1202, "originDown", &record_.originDown, kFieldOriginDown);
    angle_ = AddPlain(1203, "boxAngle", &record_.boxAngle, kFieldBoxAngle, -359.0, 359.0, 1.0);
    height_ = AddLength(1003, "height", &record_.height, kFieldHeight);
    width_ = AddLength(1002, "width", &record_.width, kFieldWidth);
    AddFlagBoxes(&record_.printable, &record_.locked, &record_.visible);
    AddUnits();

    auto* grid = new QGridLayout;
    grid->addLayout(FormRows({{"Origin Across :", across_}, {"Origin Down :", down_}, {"Box Angle :", angle_}}), 0, 0);
    grid->addLayout(FormRows({{"Width :", width_}, {"Height :", height_}, {"Units :", Units()}}), 0, 1);
    grid->addLayout(FlagColumn(), 1, 0);
    SetBody(grid);
}

void CDlgObjectInfo::Opened()
{
    // A barcode keeps the size its symbol gives it.
    if (record_.sizeFixed) {
        height_->setEnabled(false);
        width_->setEnabled(false);
    }
}

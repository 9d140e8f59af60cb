#include "dialogs/picture_info_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

namespace {

enum : int32_t {
    kIdOriginAcross = 1267,
    kIdOriginDown = 1268,
    kIdWidth = 1002,
    kIdHeight = 1003,
    kIdBoxAngle = 1203,
    kIdOffsetAcross = 1269,
    kIdOffsetDown = 1270,
    kIdPictureAngle = 1271,
    kIdScaleAcross = 1272,
    kIdScaleDown = 1273,
    kIdPrintable = 1197,
    kIdLocked = 1198,
    kIdVisible = 1199,
    kIdScaleWithBox = 1152,
    kIdDisplay = 1153,
    kIdPrintout = 1154,
};

}  // namespace

CDlgPictureInfo::CDlgPictureInfo(QWidget* parent) : RecordDialog("Picture Information", "pictureInfoDialog", parent)
{
    const auto edit = [this](int32_t id, const char* name) {
        CFloatEdit* e = MeasureEdit(id, name, this);
        edits_.push_back(e);
        connect(e, &CFilteredEdit::EditChanged, this, [this] { record_.mask |= fields_.ReadModified(); });
        return e;
    };
    CFloatEdit* across = edit(kIdOriginAcross, "originAcross");
    CFloatEdit* down = edit(kIdOriginDown, "originDown");
    CFloatEdit* width = edit(kIdWidth, "width");
    CFloatEdit* height = edit(kIdHeight, "height");
    CFloatEdit* boxAngle = edit(kIdBoxAngle, "boxAngle");
    CFloatEdit* offsetAcross = edit(kIdOffsetAcross, "offsetAcross");
    CFloatEdit* offsetDown = edit(kIdOffsetDown, "offsetDown");
    CFloatEdit* pictureAngle = edit(kIdPictureAngle, "pictureAngle");
    CFloatEdit* scaleAcross = edit(kIdScaleAcross, "scaleAcross");
    CFloatEdit* scaleDown = edit(kIdScaleDown, "scaleDown");
    const auto box = [this](int32_t id, const char* text, uint32_t bit) {
        QCheckBox* b = TriStateBox(text, this);
        b->setProperty("controlId", id);
        boxes_.push_back(b);
        if (id == kIdScaleWithBox)
            connect(b, &QCheckBox::clicked, this, [this, b, bit] {
                ExchangeBoxes();
                BoxClicked(b, bit);
                EnablePictureFields();
            });
        else
            connect(b, &QCheckBox::clicked, this, [this, b, bit] { BoxClicked(b, bit); });
        return b;
    };
    QCheckBox* printable = box(kIdPrintable, "Printable", kFieldPrintable);
    QCheckBox* locked = box(kIdLocked, "Locked", kFieldLocked);
    QCheckBox* visible = box(kIdVisible, "Visible", kFieldVisible);
    QCheckBox* scaleWithBox = box(kIdScaleWithBox, "Scale With Box", kPictureScaleWithBox);
    QCheckBox* display = box(kIdDisplay, "Display", kPictureDisplay);
    QCheckBox* printout = box(kIdPrintout, "Printout", kPicturePrintout);
    units_ = Named(new QComboBox(this), "units");

    auto* boxGroup = new QGroupBox(QStringLiteral("Box Options"), this);
    auto* boxForm = new QFormLayout(boxGroup);
    boxForm->addRow(QStringLiteral("Origin Across :"), across);
    boxForm->addRow(QStringLiteral("Origin Down :"), down);
    boxForm->addRow(QStringLiteral("Width :"), width);
    boxForm->addRow(QStringLiteral("Height :"), height);
    boxForm->addRow(QStringLiteral("Box Angle :"), boxAngle);
    auto* pictureGroup = new QGroupBox(QStringLiteral("Object Options"), this);
    auto* pictureForm = new QFormLayout(pictureGroup);
    pictureForm->addRow(QStringLiteral("Offset Across :"), offsetAcross);
    pictureForm->addRow(QStringLiteral("Offset Down :"), offsetDown);
    pictureForm->addRow(QStringLiteral("Picture Angle :"), pictureAngle);
    pictureForm->addRow(QStringLiteral("Scale Across :"), scaleAcross);
    pictureForm->addRow(QStringLiteral("Scale Down :"), scaleDown);
    auto* flags = new QGridLayout;
    flags->addWidget(printable, 0, 0);
    flags->addWidget(locked, 1, 0);
    flags->addWidget(visible, 2, 0);
    flags->addWidget(scaleWithBox, 0, 1);
    flags->addWidget(display, 1, 1);
    flags->addWidget(printout, 2, 1);
    auto* unitsForm = new QFormLayout;
    unitsForm->addRow(QStringLiteral("Units :"), units_);
    flags->addLayout(unitsForm, 3, 0, 1, 2);
    auto* top = new QGridLayout;
    top->addWidget(boxGroup, 0, 0);
    top->addWidget(pictureGroup, 0, 1);
    top->addLayout(flags, 1, 0, 1, 2);
    SetBody(top);

    fields_.AddLength(across, &record_.originAcross, kFieldOriginAcross);
    fields_.AddLength(down, &record_.originDown, kFieldOriginDown);
    fields_.AddLength(width, &record_.width, kFieldWidth);
    fields_.AddLength(height, &record_.height, kFieldHeight);
    fields_.AddPlain(boxAngle, &record_.boxAngle, kFieldBoxAngle, -360.0, 360.0, 0.01);
    fields_.AddLength(offsetAcross, &record_.offsetAcross, kPictureOffsetAcross);
    fields_.AddLength(offsetDown, &record_.offsetDown, kPictureOffsetDown);
    fields_.AddPlain(pictureAngle, &record_.pictureAngle, kPictureAngle, -360.0, 360.0, 0.01);
    fields_.AddPlain(scaleAcross, &record_.scaleAcross, kPictureScaleAcross, 0.0, 1000.0, 0.01);
    fields_.AddPlain(scaleDown, &record_.scaleDown, kPictureScaleDown, 0.0, 1000.0, 0.01);
    connect(units_, &QComboBox::activated, this, [this](int index) { UnitsChosen(index); });
}

CFloatEdit* CDlgPictureInfo::Edit(int32_t controlId) const
{
    for (CFloatEdit* e : edits_)
        if (e->ControlId() == controlId)
            return e;
    return nullptr;
}

QCheckBox* CDlgPictureInfo::Box(int32_t controlId) const
{
    for (QCheckBox* b : boxes_)
        if (b->property("controlId").toInt() == controlId)
            return b;
    return nullptr;
}

void CDlgPictureInfo::Open()
{
    fields_.Open(units_, record_.units);
    fields_.BlankUnknown(record_.mask);
    const struct {
        int32_t id;
        int32_t value;
        uint32_t bit;
    } boxes[] = {{kIdPrintable, record_.printable, kFieldPrintable},
                 {kIdLocked, record_.locked, kFieldLocked},
                 {kIdVisible, record_.visible, kFieldVisible},
                 {kIdScaleWithBox, record_.scaleWithBox, kPictureScaleWithBox},
                 {kIdDisplay, record_.display, kPictureDisplay},
                 {kIdPrintout, record_.printout, kPicturePrintout}};
    for (const auto& b : boxes)
        ShowBoxState(Box(b.id), b.value, record_.mask, b.bit);
    EnablePictureFields();
    ready_ = true;
}

void CDlgPictureInfo::EnablePictureFields()
{
    const bool locked = (record_.mask & kPictureScaleWithBox) && Box(kIdScaleWithBox)->checkState() == Qt::Checked;
    for (int32_t id : {kIdPictureAngle, kIdScaleAcross, kIdScaleDown, kIdOffsetAcross, kIdOffsetDown})
        Edit(id)->setEnabled(!locked);
}

void CDlgPictureInfo::UnitsChosen(int index)
{
    if (index < 0 || index == record_.units)
        return;
    record_.units = index;
    fields_.SwitchUnit(index, &record_.mask, &showAgain_);
}

void CDlgPictureInfo::BoxClicked(QCheckBox* box, uint32_t bit)
{
    if (ready_)
        NoteBoxClick(box, bit, &record_.mask);
}

void CDlgPictureInfo::ExchangeBoxes()
{
    record_.printable = BoxState(Box(kIdPrintable));
    record_.locked = BoxState(Box(kIdLocked));
    record_.visible = BoxState(Box(kIdVisible));
    record_.scaleWithBox = BoxState(Box(kIdScaleWithBox));
    record_.display = BoxState(Box(kIdDisplay));
    record_.printout = BoxState(Box(kIdPrintout));
    record_.units = units_->currentIndex();
}

void CDlgPictureInfo::accept()
{
    ExchangeBoxes();
    QDialog::accept();
}

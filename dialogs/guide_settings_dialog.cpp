#include "dialogs/guide_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

CDlgGuideSettings::CDlgGuideSettings(QWidget* parent) : RecordDialog("Guide settings", "guideSettingsDialog", parent)
{
    horizontal_ = MeasureEdit(1138, "horizontal", this);
    vertical_ = MeasureEdit(1139, "vertical", this);
    show_ = new QCheckBox(QStringLiteral("Show Guide"), this);
    snap_ = new QCheckBox(QStringLiteral("Snap to Guide"), this);
    units_ = Named(new QComboBox(this), "units");

    auto* form = FormRows({{"Horizontal :", horizontal_}, {"Vertical :", vertical_}, {"Units :", units_}});
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(show_);
    boxes->addWidget(snap_);
    boxes->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addLayout(boxes);
    SetBody(top);

    fields_.AddLength(horizontal_, &record_.horizontal, 0);
    fields_.AddLength(vertical_, &record_.vertical, 0);
    for (CFloatEdit* e : {horizontal_, vertical_})
        connect(e, &CFilteredEdit::EditChanged, this, [this] {
            int read = 0;
            fields_.ReadModified(&read);
            if (read > 0)
                record_.changed = 1;
        });
    connect(units_, &QComboBox::activated, this, [this](int index) { UnitsChosen(index); });
}

void CDlgGuideSettings::Open()
{
    fields_.Open(units_, record_.units);
    show_->setChecked(record_.showGuide != 0);
    snap_->setChecked(record_.snapToGuide != 0);
}

void CDlgGuideSettings::UnitsChosen(int index)
{
    if (index < 0 || index == record_.units)
        return;
    record_.units = int16_t(index);
    fields_.SetPointsPerUnit(PointsPerUnit(index));
    fields_.ShowLengths(~0u);
}

void CDlgGuideSettings::accept()
{
    record_.showGuide = show_->isChecked() ? 1 : 0;
    record_.snapToGuide = snap_->isChecked() ? 1 : 0;
    record_.units = int16_t(units_->currentIndex());
    QDialog::accept();
}

#include "dialogs/ruler_settings_dialog.h"

#include <QComboBox>
#include <QFormLayout>

#include "dialogs/object_dialog_kit.h"

CDlgRulerSettings::CDlgRulerSettings(QWidget* parent) : RecordDialog("Ruler Settings", "rulerSettingsDialog", parent)
{
    horizontal_ = Named(new QComboBox(this), "horizontal");
    vertical_ = Named(new QComboBox(this), "vertical");
    auto* form = FormRows({{"Horizontal Measure :", horizontal_}, {"Vertical Measure :", vertical_}});
    SetBody(form);
}

void CDlgRulerSettings::Open()
{
    FillUnitsCombo(horizontal_);
    FillUnitsCombo(vertical_);
    horizontal_->setCurrentIndex(record_.horizontal);
    vertical_->setCurrentIndex(record_.vertical);
}

void CDlgRulerSettings::accept()
{
    record_.horizontal = horizontal_->currentIndex();
    record_.vertical = vertical_->currentIndex();
    QDialog::accept();
}

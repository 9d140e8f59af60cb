#include "dialogs/ruler_settings_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"

CDlgRulerSettings::CDlgRulerSettings(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Ruler Settings"));
    setObjectName(QStringLiteral("rulerSettingsDialog"));
    horizontal_ = new QComboBox(this);
    horizontal_->setObjectName(QStringLiteral("horizontal"));
    vertical_ = new QComboBox(this);
    vertical_->setObjectName(QStringLiteral("vertical"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Horizontal Measure :"), horizontal_);
    form->addRow(QStringLiteral("Vertical Measure :"), vertical_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(OkCancelRow(this));
}

int32_t CDlgRulerSettings::DoModal() { return RunDialogModal(this); }

void CDlgRulerSettings::showEvent(QShowEvent* event)
{
    if (!opened_) {
        opened_ = true;
        FillUnitsCombo(horizontal_);
        FillUnitsCombo(vertical_);
        horizontal_->setCurrentIndex(record_.horizontal);
        vertical_->setCurrentIndex(record_.vertical);
    }
    QDialog::showEvent(event);
}

void CDlgRulerSettings::accept()
{
    record_.horizontal = horizontal_->currentIndex();
    record_.vertical = vertical_->currentIndex();
    QDialog::accept();
}

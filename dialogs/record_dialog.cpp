#include "dialogs/record_dialog.h"

#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"

int32_t OpeningDialog::DoModal() { return RunDialogModal(this); }

void OpeningDialog::showEvent(QShowEvent* event)
{
    if (!opened_) {
        opened_ = true;
        Open();
    }
    QDialog::showEvent(event);
}

void OpeningDialog::SetBody(QLayout* body)
{
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(OkCancelRow(this));
}

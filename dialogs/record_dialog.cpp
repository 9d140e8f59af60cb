#include "dialogs/record_dialog.h"

#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"

OpeningDialog::OpeningDialog(const char* title, const char* name, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(title));
    setObjectName(QString::fromLatin1(name));
}

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

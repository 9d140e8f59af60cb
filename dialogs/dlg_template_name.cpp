#include "dialogs/dlg_template_name.h"

#include <cstring>

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"
#include "foundation/alerts.h"
#include "foundation/cp1252.h"

CDlgTemplateName::CDlgTemplateName(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("templateNameDialog"));
    setWindowTitle(QStringLiteral("Template Name"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Enter Wizard Template Name:"), this));
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("control%1").arg(kIdName));
    edit_->setMaxLength(kMaxNameLength);
    layout->addWidget(edit_);
    layout->addLayout(OkCancelRow(this));
}

void CDlgTemplateName::SetName(const char* name)
{
    edit_->setText(Cp1252ToQString(name ? name : ""));
}

int32_t CDlgTemplateName::DoModal()
{
    return RunDialogModal(this);
}

void CDlgTemplateName::accept()
{
    const std::string typed = QStringToCp1252(edit_->text().trimmed());
    // A template listed without a name could not be told from the others.
    if (typed.empty()) {
        AlertNote("Enter the template's name.", 0);
        edit_->setFocus();
        return;
    }
    name_ = typed;
    QDialog::accept();
}

void CDlgTemplateName::GetName(char* buffer, int32_t size) const
{
    if (!buffer || size < 1)
        return;
    const size_t n = std::min(name_.size(), size_t(size - 1));
    std::memcpy(buffer, name_.data(), n);
    buffer[n] = '\0';
}

#include "dbdoc/field_order_dialog.h"

#include <algorithm>

#include <QLabel>
#include <QVBoxLayout>

#include "dbdoc/field_list_box.h"
#include "dialogs/object_dialog_kit.h"

CFieldOrderDialog::CFieldOrderDialog(const char* title, const char* name, QWidget* parent)
    : OpeningDialog(title, name, parent), list_(new CFieldListBox(this))
{
}

void CFieldOrderDialog::SetOrder(const QStringList& names, const int16_t* order, int32_t count)
{
    names_ = names;
    count_ = std::clamp(count, 0, kEntryColumnCount);
    std::copy(order, order + count_, order_);
}

void CFieldOrderDialog::GetOrder(int16_t* order) const { std::copy(order_, order_ + count_, order); }

void CFieldOrderDialog::OpenOrder()
{
    std::copy(order_, order_ + count_, working_);
    list_->Init(count_, &names_, working_);
}

void CFieldOrderDialog::KeepOrder() { std::copy(working_, working_ + count_, order_); }

void CFieldOrderDialog::SetListBody(const char* guide, QLayout* controls)
{
    auto* label = new QLabel(QString::fromLatin1(guide), this);
    label->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_, 1);
    layout->addLayout(controls);
    layout->addLayout(OkCancelRow(this));
}

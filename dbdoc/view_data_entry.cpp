#include "dbdoc/view_data_entry.h"

#include <QLabel>

#include "dbdoc/cdb_document.h"
#include "dbdoc/field_form.h"
#include "dialogs/filtered_edit.h"

CViewDataEntry::CViewDataEntry(CDBDocument* document, QWidget* parent) : QWidget(parent), document_(document)
{
    setObjectName("CViewDataEntry");
    BuildFieldForm(this, FieldEditKind::ByField, edits_, labels_);
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        CFilteredEdit* edit = edits_[column];
        connect(edit, &CFilteredEdit::TabKey, this, [this, column](int32_t, bool shift) {
            if (document_)
                document_->TabFrom(column, shift);
        });
        connect(edit, &CFilteredEdit::NavigationKey, this, [this](int32_t key, bool shift) {
            if (document_)
                document_->RecordKey(key, shift);
        });
    }
}

CViewDataEntry::~CViewDataEntry()
{
    if (!document_)
        return;
    for (int32_t column = 0; column < kEntryColumnCount; ++column)
        if (document_->FieldEdit(column) == edits_[column])
            document_->SetFieldEdit(column, nullptr);
    for (int32_t i = 0; i < 6; ++i)
        document_->SetCustomLabel(i, nullptr);
}

void CViewDataEntry::DetachDocument()
{
    for (CFilteredEdit* edit : edits_)
        edit->ForgetOwner();
    document_ = nullptr;
}

void CViewDataEntry::RefreshRecords(bool first)
{
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        CFilteredEdit* edit = edits_[column];
        edit->Setup(QString(), int32_t(FieldMaxLength(FieldIdByIndex(column))), QString(), 0, document_);
        edit->SetDataEntryMode(true);
        document_->SetFieldEdit(column, edit);
    }
    for (int32_t i = 0; i < 6; ++i)
        document_->SetCustomLabel(i, labels_[i]);
    document_->SetDataEntryReady();
    if (first)
        document_->RefreshAfterViewsReady();
}

void CViewDataEntry::OnActivateView(bool activate)
{
    if (!activate || !document_)
        return;
    QLineEdit* target = nullptr;
    if (firstActivation_) {
        firstActivation_ = false;
        target = document_->FirstFieldEdit(false);
    } else if (!document_->FocusedFieldEdit()) {
        target = document_->FirstFieldEdit(true);
    }
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

#include "dbdoc/view_data_entry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "dbdoc/cdb_document.h"
#include "dbdoc/field_form.h"

CViewDataEntry::CViewDataEntry(CDBDocument* document, QWidget* parent) : QWidget(parent), document_(document)
{
    setObjectName("CViewDataEntry");
    BuildFieldForm(this, edits_, labels_);
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        QLineEdit* edit = edits_[column];
        edit->installEventFilter(this);
        // Only what the user types counts as a change; the document's own
        // loading of the edits does not.
        connect(edit, &QLineEdit::textEdited, this, [this, column] {
            if (document_)
                document_->FieldEdited(column);
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

void CViewDataEntry::RefreshRecords(bool first)
{
    for (int32_t column = 0; column < kEntryColumnCount; ++column)
        document_->SetFieldEdit(column, edits_[column]);
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

bool CViewDataEntry::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !document_)
        return QWidget::eventFilter(watched, event);
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const int32_t column = document_->ColumnOfEdit(edit);
    if (column < 0)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        document_->TabFrom(column, shift || key->key() == Qt::Key_Backtab);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: document_->RecordKey(13, shift); return true;
    case Qt::Key_PageUp: document_->RecordKey(33, shift); return true;
    case Qt::Key_PageDown: document_->RecordKey(34, shift); return true;
    case Qt::Key_End: document_->RecordKey(35, shift); return true;
    case Qt::Key_Home: document_->RecordKey(36, shift); return true;
    case Qt::Key_Up: document_->RecordKey(38, shift); return true;
    case Qt::Key_Down: document_->RecordKey(40, shift); return true;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        if (!ctrl)
            break;
        document_->RecordKey(shift || key->key() == Qt::Key_BraceLeft ? 123 : 91, shift);
        return true;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        if (!ctrl)
            break;
        document_->RecordKey(shift || key->key() == Qt::Key_BraceRight ? 125 : 93, shift);
        return true;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

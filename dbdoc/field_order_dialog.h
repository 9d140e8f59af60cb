// What "Export database" and "Report Database" share: the order in which
// the fields are written, edited in the list on a working copy that reaches
// the dialog's own order only on OK.
#pragma once

#include <cstdint>

#include <QStringList>

#include "dbdoc/text_export.h"
#include "dialogs/record_dialog.h"

class CFieldListBox;

class CFieldOrderDialog : public OpeningDialog {
public:
    CFieldListBox* FieldList() const { return list_; }

protected:
    CFieldOrderDialog(const char* title, const char* name, QWidget* parent);

    // Copies count entries of the order (at most one per field).
    void SetOrder(const QStringList& names, const int16_t* order, int32_t count);
    void GetOrder(int16_t* order) const;
    // As the dialog opens: the list shows the working copy.
    void OpenOrder();
    // On OK: the working copy becomes the order.
    void KeepOrder();
    // The guide above the list, the list, the dialog's own controls, then
    // OK and Cancel.
    void SetListBody(const char* guide, QLayout* controls);

private:
    QStringList names_;
    int16_t order_[kEntryColumnCount] = {};
    int16_t working_[kEntryColumnCount] = {};
    int32_t count_ = 0;
    CFieldListBox* list_;
};

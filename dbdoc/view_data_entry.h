// CViewDataEntry: the right view of a database window: one filtered edit
// per field column and the labels of the custom fields. The edits hand the
// keys that move through the records (Enter, Page Up/Down, Home, End, Up,
// Down, Ctrl+[ and ]) and Tab along the entry order to the document.
#pragma once

#include <cstdint>

#include <QWidget>

#include "database/field_table.h"
#include "dialogs/filtered_edit.h"

class CDBDocument;
class QLabel;

class CViewDataEntry : public QWidget {
public:
    CViewDataEntry(CDBDocument* document, QWidget* parent = nullptr);
    ~CViewDataEntry() override;

    // Sets the edits up for the document (its field lengths, its checks,
    // the record keys), hands them to it and, with first set, lets it fill
    // both views once the browser is ready too.
    void RefreshRecords(bool first);
    void OnActivateView(bool activate);
    // The document goes before the window (it is deleted once its window is
    // on its way out): nothing may reach it from here on.
    void DetachDocument();

    CFilteredEdit* Edit(int32_t column) const { return edits_[column]; }
    QLabel* CustomLabel(int32_t index) const { return labels_[index]; }
    CDBDocument* Document() const { return document_; }

private:
    CDBDocument* document_;
    CFilteredEdit* edits_[kEntryColumnCount] = {};
    QLabel* labels_[6] = {};
    bool firstActivation_ = true;
};

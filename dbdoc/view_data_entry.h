// CViewDataEntry: the right view of a database window: one edit per field
// column and the labels of the custom fields. The keys that move through
// the records (Enter, Page Up/Down, Home, End, Up, Down, Ctrl+[ and ]) and
// Tab along the entry order go to the document.
#pragma once

#include <cstdint>

#include <QWidget>

#include "database/field_table.h"

class CDBDocument;
class QLabel;
class QLineEdit;

class CViewDataEntry : public QWidget {
public:
    CViewDataEntry(CDBDocument* document, QWidget* parent = nullptr);
    ~CViewDataEntry() override;

    // Hands the edits to the document and, with first set, lets it fill
    // both views once the browser is ready too.
    void RefreshRecords(bool first);
    void OnActivateView(bool activate);

    QLineEdit* Edit(int32_t column) const { return edits_[column]; }
    QLabel* CustomLabel(int32_t index) const { return labels_[index]; }
    CDBDocument* Document() const { return document_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CDBDocument* document_;
    QLineEdit* edits_[kEntryColumnCount] = {};
    QLabel* labels_[6] = {};
    bool firstActivation_ = true;
};

// "Export database" and "Report Database": the order of the fields written
// (drag to reorder, double-click to skip), with the delimiter of an export
// or the kind and line length of a report. The database document writes the
// file; these dialogs only collect the choices.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QStringList>

#include "dbdoc/database_report.h"
#include "dbdoc/text_export.h"

class CFieldListBox;
class QComboBox;
class QLineEdit;

// "Space" .. "Double Quotes AND Comma", in delimiter-code order.
void FillDelimiterCombo(QComboBox* combo);

class CDlgExportDB : public QDialog {
public:
    explicit CDlgExportDB(QWidget* parent = nullptr);

    // Copies the order entries.
    void SetData(const QStringList& names, const int16_t* order, int32_t count, int32_t delimiter);
    void GetData(int16_t* order, int32_t* delimiter) const;
    // The same with the options record and the current column names.
    void SetRecord(const ExportOptions& options);
    ExportOptions Record() const;
    int32_t DoModal();

    CFieldListBox* FieldList() const { return list_; }
    QComboBox* Delimiter() const { return delimiterCombo_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QStringList names_;
    int16_t order_[kEntryColumnCount] = {};
    int16_t working_[kEntryColumnCount] = {};
    int32_t count_ = 0;
    int32_t delimiter_ = -1;
    bool opened_ = false;
    CFieldListBox* list_;
    QComboBox* delimiterCombo_;
};

class CDlgReportDB : public QDialog {
public:
    explicit CDlgReportDB(QWidget* parent = nullptr);

    void SetData(const QStringList& names, const int16_t* order, int32_t count, int32_t kind, int32_t maxLength);
    void GetData(int16_t* order, int32_t* kind, int32_t* maxLength) const;
    void SetRecord(const ReportOptions& options);
    ReportOptions Record() const;
    int32_t DoModal();

    CFieldListBox* FieldList() const { return list_; }
    QComboBox* Kind() const { return kind_; }
    QLineEdit* MaxLength() const { return maxLength_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QStringList names_;
    int16_t order_[kEntryColumnCount] = {};
    int16_t working_[kEntryColumnCount] = {};
    int32_t count_ = 0;
    int32_t kindValue_ = -1;
    int32_t maxLengthValue_ = kDefaultReportLineLength;
    bool opened_ = false;
    CFieldListBox* list_;
    QComboBox* kind_;
    QLineEdit* maxLength_;
};

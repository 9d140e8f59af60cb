// "Export database" and "Report Database": the order of the fields written
// (drag to reorder, double-click to skip), with the delimiter of an export
// or the kind and line length of a report. The database document writes the
// file; these dialogs only collect the choices.
#pragma once

#include <cstdint>

#include <QStringList>

#include "dbdoc/database_report.h"
#include "dbdoc/field_order_dialog.h"
#include "dbdoc/text_export.h"

class QComboBox;
class QLineEdit;

// "Space" .. "Double Quotes AND Comma", in delimiter-code order.
void FillDelimiterCombo(QComboBox* combo);

class CDlgExportDB : public CFieldOrderDialog {
public:
    explicit CDlgExportDB(QWidget* parent = nullptr);

    // Copies the order entries.
    void SetData(const QStringList& names, const int16_t* order, int32_t count, int32_t delimiter);
    void GetData(int16_t* order, int32_t* delimiter) const;
    // The same with the options record and the current column names.
    void SetRecord(const ExportOptions& options);
    ExportOptions Record() const;

    QComboBox* Delimiter() const { return delimiterCombo_; }

    void accept() override;

protected:
    void Open() override;

private:
    int32_t delimiter_ = -1;
    QComboBox* delimiterCombo_;
};

class CDlgReportDB : public CFieldOrderDialog {
public:
    explicit CDlgReportDB(QWidget* parent = nullptr);

    void SetData(const QStringList& names, const int16_t* order, int32_t count, int32_t kind, int32_t maxLength);
    void GetData(int16_t* order, int32_t* kind, int32_t* maxLength) const;
    void SetRecord(const ReportOptions& options);
    ReportOptions Record() const;

    QComboBox* Kind() const { return kind_; }
    QLineEdit* MaxLength() const { return maxLength_; }

    void accept() override;

protected:
    void Open() override;

private:
    int32_t kindValue_ = -1;
    int32_t maxLengthValue_ = kDefaultReportLineLength;
    QComboBox* kind_;
    QLineEdit* maxLength_;
};

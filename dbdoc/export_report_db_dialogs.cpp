#include "dbdoc/export_report_db_dialogs.h"

#include <cstring>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "dbdoc/column_names.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/cp1252.h"

namespace {

QStringList CurrentColumnNames()
{
    QStringList names;
    for (const std::string& name : ColumnNames())
        names << Cp1252ToQString(name);
    return names;
}

}  // namespace

void FillDelimiterCombo(QComboBox* combo)
{
    for (const char* name : {"Space", "Comma", "Tab", "Colon", "Semicolon", "Double Quotes AND Comma"})
        combo->addItem(QString::fromLatin1(name));
    // The longest name shows whole.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

// --- Export -------------------------------------------------------------------

CDlgExportDB::CDlgExportDB(QWidget* parent) : CFieldOrderDialog("Export database", "exportDbDialog", parent)
{
    delimiterCombo_ = Named(new QComboBox(this), "delimiter");
    auto* row = new QGridLayout;
    row->addWidget(new QLabel(QStringLiteral("Delimiter :"), this), 0, 0);
    row->addWidget(delimiterCombo_, 0, 1);
    SetListBody("    Drag the Fields into the Sequence You Prefer for Export.  Double click to Skip a field while "
                "Exporting.",
                row);
}

void CDlgExportDB::SetData(const QStringList& names, const int16_t* order, int32_t count, int32_t delimiter)
{
    SetOrder(names, order, count);
    delimiter_ = delimiter;
}

void CDlgExportDB::GetData(int16_t* order, int32_t* delimiter) const
{
    GetOrder(order);
    *delimiter = delimiter_;
}

void CDlgExportDB::SetRecord(const ExportOptions& options)
{
    SetData(CurrentColumnNames(), options.order, kEntryColumnCount, options.delimiter);
}

ExportOptions CDlgExportDB::Record() const
{
    ExportOptions options;
    int32_t delimiter = 0;
    GetData(options.order, &delimiter);
    options.delimiter = int16_t(delimiter);
    return options;
}

void CDlgExportDB::Open()
{
    OpenOrder();
    FillDelimiterCombo(delimiterCombo_);
    delimiterCombo_->setCurrentIndex(delimiter_);
}

void CDlgExportDB::accept()
{
    KeepOrder();
    if (delimiterCombo_->currentIndex() >= 0)
        delimiter_ = delimiterCombo_->currentIndex();
    QDialog::accept();
}

// --- Report -------------------------------------------------------------------

CDlgReportDB::CDlgReportDB(QWidget* parent) : CFieldOrderDialog("Report Database", "reportDbDialog", parent)
{
    kind_ = Named(new QComboBox(this), "kind");
    maxLength_ = Named(new QLineEdit(this), "maxLength");
    maxLength_->setMaxLength(6);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Delimiter :"), this), 0, 0);
    grid->addWidget(kind_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Max String Length :"), this), 1, 0);
    grid->addWidget(maxLength_, 1, 1);
    SetListBody("    Drag the Fields into the Sequence You Prefer for Export.  Double click to Skip a field while "
                "Reporting.",
                grid);
    connect(kind_, &QComboBox::currentIndexChanged, this,
            [this](int index) { maxLength_->setEnabled(index == kReportRoster); });
}

void CDlgReportDB::SetData(const QStringList& names, const int16_t* order, int32_t count, int32_t kind,
                           int32_t maxLength)
{
    SetOrder(names, order, count);
    kindValue_ = kind;
    maxLengthValue_ = maxLength;
}

void CDlgReportDB::GetData(int16_t* order, int32_t* kind, int32_t* maxLength) const
{
    GetOrder(order);
    *kind = kindValue_;
    *maxLength = maxLengthValue_;
}

void CDlgReportDB::SetRecord(const ReportOptions& options)
{
    SetData(CurrentColumnNames(), options.order, kEntryColumnCount, options.kind, options.maxLength);
}

ReportOptions CDlgReportDB::Record() const
{
    ReportOptions options;
    GetData(options.order, &options.kind, &options.maxLength);
    return options;
}

void CDlgReportDB::Open()
{
    OpenOrder();
    kind_->addItem(QStringLiteral("Tabular"));
    kind_->addItem(QStringLiteral("Roster"));
    kind_->setCurrentIndex(kindValue_);
    maxLength_->setText(QString::number(maxLengthValue_));
    maxLength_->setEnabled(kind_->currentIndex() == kReportRoster);
}

void CDlgReportDB::accept()
{
    int32_t length = 0;
    if (!ExchangeIntInRange(maxLength_, &length, 0, kMaxReportLineLength))
        return;
    KeepOrder();
    maxLengthValue_ = length;
    if (kind_->currentIndex() >= 0)
        kindValue_ = kind_->currentIndex();
    QDialog::accept();
}

#include "dbdoc/export_report_db_dialogs.h"

#include <algorithm>
#include <cstring>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dbdoc/column_names.h"
#include "dbdoc/field_list_box.h"
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

QLabel* Guide(const char* text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setWordWrap(true);
    return label;
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

CDlgExportDB::CDlgExportDB(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Export database"));
    setObjectName(QStringLiteral("exportDbDialog"));
    list_ = new CFieldListBox(this);
    delimiterCombo_ = new QComboBox(this);
    delimiterCombo_->setObjectName(QStringLiteral("delimiter"));
    auto* row = new QGridLayout;
    row->addWidget(new QLabel(QStringLiteral("Delimiter :"), this), 0, 0);
    row->addWidget(delimiterCombo_, 0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Guide("    Drag the Fields into the Sequence You Prefer for Export.  Double click to Skip a "
                            "field while Exporting.",
                            this));
    layout->addWidget(list_, 1);
    layout->addLayout(row);
    layout->addLayout(OkCancelRow(this));
}

void CDlgExportDB::SetData(const QStringList& names, const int16_t* order, int32_t count, int32_t delimiter)
{
    names_ = names;
    count_ = std::clamp(count, 0, kEntryColumnCount);
    std::copy(order, order + count_, order_);
    delimiter_ = delimiter;
}

void CDlgExportDB::GetData(int16_t* order, int32_t* delimiter) const
{
    std::copy(order_, order_ + count_, order);
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

int32_t CDlgExportDB::DoModal() { return RunDialogModal(this); }

void CDlgExportDB::showEvent(QShowEvent* event)
{
    if (!opened_) {
        opened_ = true;
        // The list works on a copy that reaches the record only on OK.
        std::copy(order_, order_ + count_, working_);
        list_->Init(count_, &names_, working_);
        FillDelimiterCombo(delimiterCombo_);
        delimiterCombo_->setCurrentIndex(delimiter_);
    }
    QDialog::showEvent(event);
}

void CDlgExportDB::accept()
{
    std::copy(working_, working_ + count_, order_);
    if (delimiterCombo_->currentIndex() >= 0)
        delimiter_ = delimiterCombo_->currentIndex();
    QDialog::accept();
}

// --- Report -------------------------------------------------------------------

CDlgReportDB::CDlgReportDB(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Report Database"));
    setObjectName(QStringLiteral("reportDbDialog"));
    list_ = new CFieldListBox(this);
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("kind"));
    maxLength_ = new QLineEdit(this);
    maxLength_->setObjectName(QStringLiteral("maxLength"));
    maxLength_->setMaxLength(6);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Delimiter :"), this), 0, 0);
    grid->addWidget(kind_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Max String Length :"), this), 1, 0);
    grid->addWidget(maxLength_, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Guide("    Drag the Fields into the Sequence You Prefer for Export.  Double click to Skip a "
                            "field while Reporting.",
                            this));
    layout->addWidget(list_, 1);
    layout->addLayout(grid);
    layout->addLayout(OkCancelRow(this));
    connect(kind_, &QComboBox::currentIndexChanged, this,
            [this](int index) { maxLength_->setEnabled(index == kReportRoster); });
}

void CDlgReportDB::SetData(const QStringList& names, const int16_t* order, int32_t count, int32_t kind,
                           int32_t maxLength)
{
    names_ = names;
    count_ = std::clamp(count, 0, kEntryColumnCount);
    std::copy(order, order + count_, order_);
    kindValue_ = kind;
    maxLengthValue_ = maxLength;
}

void CDlgReportDB::GetData(int16_t* order, int32_t* kind, int32_t* maxLength) const
{
    std::copy(order_, order_ + count_, order);
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

int32_t CDlgReportDB::DoModal() { return RunDialogModal(this); }

void CDlgReportDB::showEvent(QShowEvent* event)
{
    if (!opened_) {
        opened_ = true;
        std::copy(order_, order_ + count_, working_);
        list_->Init(count_, &names_, working_);
        kind_->addItem(QStringLiteral("Tabular"));
        kind_->addItem(QStringLiteral("Roster"));
        kind_->setCurrentIndex(kindValue_);
        maxLength_->setText(QString::number(maxLengthValue_));
        maxLength_->setEnabled(kind_->currentIndex() == kReportRoster);
    }
    QDialog::showEvent(event);
}

void CDlgReportDB::accept()
{
    int32_t length = 0;
    if (!ExchangeIntInRange(maxLength_, &length, 0, kMaxReportLineLength))
        return;
    std::copy(working_, working_ + count_, order_);
    maxLengthValue_ = length;
    if (kind_->currentIndex() >= 0)
        kindValue_ = kind_->currentIndex();
    QDialog::accept();
}

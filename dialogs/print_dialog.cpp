#include "dialogs/print_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "database/open_database_registry.h"
#include "dialogs/change_database_dialog.h"
#include "dialogs/first_card_dialog.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "platform/print_printer.h"
#include "platform/printer_handles.h"
#include "printqueue/cups_queue.h"
#include "records/print_job_side.h"

namespace {

QString OpenDatabaseName(int16_t ordinal, const char* none)
{
    char name[256] = {};
    if (GetOpenDatabaseName(ordinal, name) != 0 || name[0] == 0)
        return QString::fromLatin1(none);
    return Cp1252ToQString(name);
}

}  // namespace

CDlgPrint::CDlgPrint(QWidget* parent, PrintJobRecord* job) : QDialog(parent), job_(job)
{
    setWindowTitle(QStringLiteral("Print"));
    auto* layout = new QVBoxLayout(this);

    // The printers the print system has, then a PDF file and a PostScript
    // file as the last entries.
    auto* printerBox = new QGroupBox(QStringLiteral("Printer"), this);
    auto* printerForm = new QFormLayout(printerBox);
    printers_ = Named(new QComboBox(printerBox), "printerName");
    // Asked on the connection that gives up on a silent print server: the
    // dialog opens within the bound, with the files to print into, and says
    // which server did not answer.
    const QString defaultQueue = CupsDefaultQueue();
    const QStringList names = CupsQueueNames();
    for (const QString& name : names)
        printers_->addItem(name, name);
    printers_->addItem(QStringLiteral("Print to PDF file"), QString());
    printers_->addItem(QStringLiteral("Print to PostScript file"), QString());
    const PrinterSettings* settings = GetPrinterHandles();
    const QString wanted = settings && !settings->deviceName.isEmpty() ? settings->deviceName : defaultQueue;
    // A queue that has gone since its last job leaves the default queue,
    // which a job without a chosen one prints on.
    int32_t at = names.indexOf(wanted);
    if (at < 0)
        at = names.indexOf(defaultQueue);
    printers_->setCurrentIndex(at >= 0 ? at : (names.isEmpty() ? PdfEntry() : 0));
    printerForm->addRow(QStringLiteral("&Name:"), printers_);
    if (const QString silence = CupsServerSilence(); !silence.isEmpty()) {
        auto* said = Named(new QLabel(silence, printerBox), "printServerSilence");
        said->setWordWrap(true);
        printerForm->addRow(said);
    }
    file_ = Named(new QLineEdit(printerBox), "fileName");
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), printerBox);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse);
    auto* fileLabel = new QLabel(QStringLiteral("PDF &file:"), printerBox);
    fileLabel_ = fileLabel;
    fileLabel->setBuddy(file_);
    printerForm->addRow(fileLabel, fileRow);
    layout->addWidget(printerBox);
    const auto followPrinter = [this, browse] {
        const bool toFile = PdfChosen() || PostScriptChosen();
        file_->setEnabled(toFile);
        browse->setEnabled(toFile);
        fileLabel_->setText(PostScriptChosen() ? QStringLiteral("PostScript &file:") : QStringLiteral("PDF &file:"));
    };
    followPrinter();
    connect(printers_, &QComboBox::currentIndexChanged, this, followPrinter);
    connect(browse, &QPushButton::clicked, this, [this] {
        const bool postScript = PostScriptChosen();
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Print to File"), file_->text(),
            postScript ? QStringLiteral("PostScript (*.ps)") : QStringLiteral("PDF (*.pdf)"));
        if (!path.isEmpty()) {
            file_->setText(path);
            printers_->setCurrentIndex(postScript ? PostScriptEntry() : PdfEntry());
        }
    });

    auto* middle = new QHBoxLayout;
    auto* rangeBox = rangeBox_ = new QGroupBox(QStringLiteral("Print range"), this);
    auto* rangeGrid = new QGridLayout(rangeBox);
    all_ = new QRadioButton(QStringLiteral("All"), rangeBox);
    range_ = new QRadioButton(QStringLiteral("Cards"), rangeBox);
    from_ = new QSpinBox(rangeBox);
    to_ = new QSpinBox(rangeBox);
    from_->setRange(0, kPrintMaxRecord);
    to_->setRange(0, kPrintMaxRecord);
    all_->setChecked(true);
    // The ampersands mark the labels' keys, which move to their edits.
    auto* fromLabel = new QLabel(QStringLiteral("&from:"), rangeBox);
    fromLabel->setBuddy(from_);
    auto* toLabel = new QLabel(QStringLiteral("&to:"), rangeBox);
    toLabel->setBuddy(to_);
    rangeGrid->addWidget(all_, 0, 0, 1, 4);
    rangeGrid->addWidget(range_, 1, 0);
    rangeGrid->addWidget(fromLabel, 1, 1);
    rangeGrid->addWidget(from_, 1, 2);
    rangeGrid->addWidget(toLabel, 1, 3);
    rangeGrid->addWidget(to_, 1, 4);
    auto pickRange = [this] { range_->setChecked(true); };
    connect(from_, QOverload<int>::of(&QSpinBox::valueChanged), this, pickRange);
    connect(to_, QOverload<int>::of(&QSpinBox::valueChanged), this, pickRange);
    middle->addWidget(rangeBox);

    auto* copiesBox = new QGroupBox(QStringLiteral("Copies"), this);
    auto* copiesForm = new QFormLayout(copiesBox);
    copies_ = new QSpinBox(copiesBox);
    copies_->setRange(1, 999);
    copies_->setValue(std::max(job_->copies, 1));
    copiesForm->addRow(QStringLiteral("Number of &copies:"), copies_);
    middle->addWidget(copiesBox);
    layout->addLayout(middle);

    auto* lower = new QHBoxLayout;
    auto* sideBox = sideBox_ = new QGroupBox(QStringLiteral("Print pages"), this);
    auto* sideLayout = new QVBoxLayout(sideBox);
    front_ = new QRadioButton(QStringLiteral("&Front Page"), sideBox);
    back_ = new QRadioButton(QStringLiteral("&Back Page"), sideBox);
    sideLayout->addWidget(front_);
    sideLayout->addWidget(back_);
    lower->addWidget(sideBox);

    auto* cardsBox = cardsBox_ = new QGroupBox(QStringLiteral("Cards options"), this);
    auto* cardsGrid = new QGridLayout(cardsBox);
    databaseLabel_ = new QLabel(QStringLiteral("Database :"), cardsBox);
    databaseName_ = Named(new QLabel(cardsBox), "databaseName");
    skip_ = new QPushButton(QStringLiteral("Skip cards"), cardsBox);
    change_ = new QPushButton(QStringLiteral("Change Database"), cardsBox);
    cardsGrid->addWidget(databaseLabel_, 0, 0);
    cardsGrid->addWidget(databaseName_, 0, 1);
    cardsGrid->addWidget(skip_, 1, 0);
    cardsGrid->addWidget(change_, 1, 1);
    lower->addWidget(cardsBox);
    layout->addLayout(lower);

    layout->addWidget(OkCancelBox(this));

    // What the job says about its database and its card sides.
    if (job_->noDatabase) {
        change_->hide();
        databaseLabel_->hide();
        databaseName_->hide();
    } else {
        all_->setText(QStringLiteral("All Records"));
        range_->setText(QStringLiteral("Records"));
        databaseName_->setText(OpenDatabaseName(job_->databaseOrdinal, "No database is chosen"));
    }
    SettleJobSide(job_);
    back_->setEnabled(GetI32LE(job_->layout + kLabelTypeSidesOffset) >= 2);
    (job_->side == kPrintSideBack ? back_ : front_)->setChecked(true);
    connect(front_, &QRadioButton::toggled, this,
            [this] { job_->side = front_->isChecked() ? kPrintSideFront : kPrintSideBack; });
    connect(skip_, &QPushButton::clicked, this, &CDlgPrint::OnSkipCards);
    connect(change_, &QPushButton::clicked, this, &CDlgPrint::OnChangeDatabase);
}

int32_t CDlgPrint::PdfEntry() const { return printers_->count() - 2; }

int32_t CDlgPrint::PostScriptEntry() const { return printers_->count() - 1; }

bool CDlgPrint::PdfChosen() const { return printers_->currentIndex() == PdfEntry(); }

bool CDlgPrint::PostScriptChosen() const { return printers_->currentIndex() == PostScriptEntry(); }

void CDlgPrint::HideCardChoices()
{
    rangeBox_->hide();
    sideBox_->hide();
    cardsBox_->hide();
    adjustSize();
}

void CDlgPrint::OnSkipCards()
{
    CDlgFirstCard dialog(this);
    dialog.Init(job_->firstCardMode, job_, job_->firstCardGrid);
    if (dialog.exec() == QDialog::Accepted)
        job_->TakeGrid(dialog.GetFirstCard());
}

void CDlgPrint::OnChangeDatabase()
{
    CDlgChangeDatabase dialog(this);
    dialog.SetIndex(job_->databaseOrdinal);
    if (dialog.exec() != QDialog::Accepted)
        return;
    job_->databaseOrdinal = dialog.Index();
    if (job_->databaseOrdinal > 0)
        ShowDatabaseName(job_->databaseOrdinal);
}

void CDlgPrint::ShowDatabaseName(int16_t ordinal)
{
    databaseName_->setText(OpenDatabaseName(ordinal, "No database is chosen"));
}

void CDlgPrint::accept()
{
    const bool postScript = PostScriptChosen();
    const bool toFile = PdfChosen() || postScript;
    if (toFile && file_->text().trimmed().isEmpty()) {
        AlertStop("Please enter the name of the file to print to.", 0);
        file_->setFocus();
        return;
    }
    // Another printer chosen here is the application's printer from now
    // on, on its own paper; a file leaves the printer as it was.
    const QString printerName = toFile ? QString() : printers_->currentData().toString();
    if (!toFile) {
        // A job on a queue starts here: the print system is asked about the
        // queue afresh, and what it says serves the job to its end.
        ForgetQueueAnswers();
        ChoosePrinterForJob(printerName);
    }
    std::unique_ptr<QPrinter> printer = postScript ? MakePostScriptFilePrinter()
                                                   : MakeJobPrinter(toFile ? file_->text().trimmed() : QString(),
                                                                    printerName);
    if (!printer) {
        AlertStop("Error while printing.", 0);
        return;
    }
    job_->printer = std::move(printer);
    job_->postScriptFile = postScript ? file_->text().trimmed() : QString();
    job_->from = all_->isChecked() ? 0 : from_->value();
    job_->to = all_->isChecked() ? 0 : to_->value();
    job_->copies = copies_->value();
    QDialog::accept();
}

int32_t DoPrintDialog(QWidget* owner, PrintJobRecord* job)
{
    CDlgPrint dialog(owner, job);
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

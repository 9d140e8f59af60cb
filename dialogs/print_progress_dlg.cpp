#include "dialogs/print_progress_dlg.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/cp1252.h"
#include "foundation/keys.h"

namespace {

bool WidgetsAvailable() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

PrintProgressDlg::PrintProgressDlg(QWidget* owner, const char* message, int32_t upperBound)
    : QDialog(owner, Qt::Dialog)
{
    setWindowTitle(QStringLiteral("Printing progress..."));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    percent_ = new QLabel(QStringLiteral(" 0 %"), this);
    percent_->setEnabled(false);
    percent_->hide();
    message_ = new QLabel(this);
    pageLine_ = new QLabel(this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    layout->addWidget(message_);
    layout->addWidget(pageLine_);
    layout->addWidget(bar_);
    layout->addWidget(percent_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons);

    message_->setText(message ? Cp1252ToQString(message) : QStringLiteral("One Moment Please..."));
    SetRange(0, upperBound);
    bar_->setValue(lower_);
    // Wide enough that the window manager shows the whole title beside its
    // buttons (it takes a bolder font than the dialog's).
    QFont titleFont = font();
    titleFont.setBold(true);
    setMinimumWidth(QFontMetrics(titleFont).horizontalAdvance(windowTitle()) * 3 / 2 + 160);

    if (owner) {
        disabledOwner_ = owner->window();
        disabledOwner_->setEnabled(false);
        // The dialog itself must stay usable while its owner is disabled.
        setEnabled(true);
    }
    show();
    if (owner)
        move(owner->window()->geometry().center() - rect().center());
}

PrintProgressDlg::~PrintProgressDlg()
{
    if (disabledOwner_)
        disabledOwner_->setEnabled(true);
}

void PrintProgressDlg::SetPage(int32_t page)
{
    pageLine_->setText(QStringLiteral("Now printing page: %1 of %2").arg(page).arg(upper_ / 2));
}

void PrintProgressDlg::SetStatus(const std::string& text) { message_->setText(Cp1252ToQString(text.c_str())); }

bool PrintProgressDlg::IsCancelled()
{
    Pump();
    StepIt();
    if (IsUserAbortKeyDown())
        cancelled_ = true;
    return cancelled_;
}

void PrintProgressDlg::SetRange(int32_t lower, int32_t upper)
{
    lower_ = lower;
    upper_ = upper;
    bar_->setRange(lower, upper > lower ? upper : lower + 1);
}

void PrintProgressDlg::SetPos(int32_t position)
{
    Pump();
    bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

void PrintProgressDlg::OffsetPos(int32_t delta)
{
    Pump();
    bar_->setValue(std::clamp(bar_->value() + delta, bar_->minimum(), bar_->maximum()));
}

void PrintProgressDlg::StepIt()
{
    Pump();
    // The bar wraps round as the system's progress control does.
    int32_t next = bar_->value() + step_;
    if (next > bar_->maximum())
        next = bar_->minimum() + (next - bar_->maximum());
    bar_->setValue(std::clamp(next, bar_->minimum(), bar_->maximum()));
}

void PrintProgressDlg::reject() { cancelled_ = true; }

void PrintProgressDlg::closeEvent(QCloseEvent* event)
{
    cancelled_ = true;
    event->ignore();
}

void PrintProgressDlg::Pump() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool QuietPrintProgress::IsCancelled() { return IsUserAbortKeyDown() != 0; }

std::unique_ptr<PrintProgress> MakePrintProgress(QWidget* owner, const char* message, int32_t upperBound)
{
    if (WidgetsAvailable())
        return std::make_unique<PrintProgressDlg>(owner, message, upperBound);
    return std::make_unique<QuietPrintProgress>();
}

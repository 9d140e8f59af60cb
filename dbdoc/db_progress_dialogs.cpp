#include "dbdoc/db_progress_dialogs.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "database/db_host.h"
#include "foundation/cp1252.h"

namespace {

int32_t g_progressOpen = 0;
int32_t g_workingOpen = 0;

QWidget* ParentOrMain(QWidget* parent) { return parent ? parent : QApplication::activeWindow(); }

void CentreOver(QWidget* window, QWidget* parent)
{
    window->adjustSize();
    if (parent)
        window->move(parent->geometry().center() - window->rect().center());
}

void WaitCursorOn() { QApplication::setOverrideCursor(Qt::WaitCursor); }
void WaitCursorOff()
{
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

class QtDbHost : public DbHost {
public:
    void ProgressOpen(const std::string& database, const std::string& operation, int32_t total,
                      int32_t showAt) override
    {
        progress_.push_back(std::make_unique<CDlgDBProgress>(database, operation, total, showAt, 1, nullptr));
    }
    void ProgressStep(int32_t) override
    {
        if (!progress_.empty())
            progress_.back()->Step();
    }
    void ProgressClose() override
    {
        if (!progress_.empty())
            progress_.pop_back();
    }
    void WorkingOpen(const std::string& caption, int32_t total) override
    {
        working_.push_back(std::make_unique<CDlgWorking>(false, "", caption, total, false, nullptr));
    }
    void WorkingSetPos(int32_t position) override
    {
        if (!working_.empty())
            working_.back()->SetPos(position);
    }
    void WorkingClose() override
    {
        if (!working_.empty())
            working_.pop_back();
    }
    void WaitCursor(bool on) override
    {
        if (on)
            WaitCursorOn();
        else
            WaitCursorOff();
    }

private:
    std::vector<std::unique_ptr<CDlgDBProgress>> progress_;
    std::vector<std::unique_ptr<CDlgWorking>> working_;
};

}  // namespace

CDlgDBProgress::CDlgDBProgress(const std::string& database, const std::string& operation, int32_t total,
                               int32_t showAt, int32_t start, QWidget* parent)
    : QDialog(ParentOrMain(parent)), database_(database), operation_(operation), total_(total), position_(start),
      showAt_(showAt)
{
    setWindowTitle("Database progress");
    setModal(false);
    auto* grid = new QGridLayout(this);
    const char* labels[4] = {"Database :", "Operation:", "Records in Database :", "Current Record:"};
    for (int32_t i = 0; i < 4; ++i) {
        grid->addWidget(new QLabel(labels[i], this), i, 0);
        values_[i] = new QLabel(this);
        values_[i]->setMinimumWidth(160);
        grid->addWidget(values_[i], i, 1);
    }
    CentreOver(this, parentWidget());
    hide();
    WaitCursorOn();
    ++g_progressOpen;
}

CDlgDBProgress::~CDlgDBProgress()
{
    if (g_progressOpen > 0)
        --g_progressOpen;
    WaitCursorOff();
}

int32_t CDlgDBProgress::OpenCount() { return g_progressOpen; }

QString CDlgDBProgress::ValueText(int32_t index) const
{
    return index >= 0 && index < 4 ? values_[index]->text() : QString();
}

bool CDlgDBProgress::Step()
{
    // The program stays painted, but a click must not move the database
    // under the pass that is running.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (position_ >= showAt_) {
        if (position_ == showAt_)
            show();
        if (countdown_ < 1) {
            countdown_ = 5;
            values_[0]->setText(Cp1252ToQString(database_));
            values_[1]->setText(Cp1252ToQString(operation_));
            values_[2]->setText(QString::number(total_));
            values_[3]->setText(QString::number(position_));
        }
        --countdown_;
    }
    ++position_;
    return true;
}

CDlgWorking::CDlgWorking(bool textOnly, const std::string& title, const std::string& caption, int32_t total,
                         bool, QWidget* parent)
    : QDialog(ParentOrMain(parent))
{
    ++g_workingOpen;
    setModal(false);
    setWindowTitle(Cp1252ToQString(title));
    auto* layout = new QVBoxLayout(this);
    caption_ = new QLabel(caption.empty() ? QString("Working. One Moment Please...") : Cp1252ToQString(caption), this);
    layout->addWidget(caption_);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, std::max(total, 0));
    bar_->setValue(0);
    bar_->setTextVisible(false);
    layout->addWidget(bar_);
    if (textOnly) {
        bar_->setEnabled(false);
        bar_->hide();
    }
    CentreOver(this, parentWidget());
    show();
    WaitCursorOn();
}

CDlgWorking::~CDlgWorking()
{
    if (g_workingOpen > 0)
        --g_workingOpen;
    WaitCursorOff();
}

int32_t CDlgWorking::OpenCount() { return g_workingOpen; }

void CDlgWorking::Pump()
{
    // The program stays painted, but the user's input waits for the pass.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CDlgWorking::SetPos(int32_t position)
{
    Pump();
    bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

void CDlgWorking::OffsetPos(int32_t delta) { SetPos(bar_->value() + delta); }
void CDlgWorking::StepIt() { SetPos(bar_->value() + step_); }
void CDlgWorking::SetRange(int32_t lower, int32_t upper) { bar_->setRange(lower, upper); }
int32_t CDlgWorking::Pos() const { return bar_->value(); }
QString CDlgWorking::CaptionText() const { return caption_->text(); }

void InstallDatabaseWindows()
{
    static QtDbHost host;
    SetDbHost(&host);
}

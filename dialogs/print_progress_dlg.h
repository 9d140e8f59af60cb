// The progress of a print job: the page being printed, a bar, and the way
// the user stops the job (the dialog's Cancel button, or the abort key:
// Esc, or Ctrl with '.').
//
// PrintProgressDlg is the modeless "Printing progress..." dialog; it
// disables its owner's top-level window while it exists. Where there is no
// window to show (the command-line tool) a PrintProgress of its own kind
// stands in and only watches the abort key.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QDialog>

class QLabel;
class QProgressBar;

class PrintProgress {
public:
    virtual ~PrintProgress() = default;
    // Shows "Now printing page: %d of %d" for the page; the second number
    // is half the upper bound.
    virtual void SetPage(int32_t page) = 0;
    virtual void SetStatus(const std::string& text) = 0;
    // Lets the user's input through, steps the bar and says whether the
    // user asked the job to stop.
    virtual bool IsCancelled() = 0;
};

class PrintProgressDlg : public QDialog, public PrintProgress {
public:
    // message: the document line ("One Moment Please..." when null); the
    // bar runs from 0 to upperBound. owner's window is disabled until the
    // dialog goes.
    PrintProgressDlg(QWidget* owner, const char* message, int32_t upperBound);
    ~PrintProgressDlg() override;

    void SetPage(int32_t page) override;
    void SetStatus(const std::string& text) override;
    bool IsCancelled() override;

    void SetRange(int32_t lower, int32_t upper);
    void SetPos(int32_t position);
    void SetStep(int32_t step) { step_ = step; }
    void OffsetPos(int32_t delta);
    void StepIt();

    QLabel* MessageLine() const { return message_; }
    QLabel* PageLine() const { return pageLine_; }
    QProgressBar* Bar() const { return bar_; }

protected:
    // OK does nothing, Cancel only sets the flag: the dialog stays until
    // the job is over.
    void accept() override {}
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Pump();

    QWidget* disabledOwner_ = nullptr;
    int32_t lower_ = 0;
    int32_t upper_ = 0;
    int32_t step_ = 1;
    bool cancelled_ = false;
    QProgressBar* bar_ = nullptr;
    QLabel* percent_ = nullptr;
    QLabel* message_ = nullptr;
    QLabel* pageLine_ = nullptr;
};

// The progress of a job without a window: only the abort key stops it.
class QuietPrintProgress : public PrintProgress {
public:
    void SetPage(int32_t) override {}
    void SetStatus(const std::string&) override {}
    bool IsCancelled() override;
};

// The dialog when widgets can be shown, else the quiet kind.
std::unique_ptr<PrintProgress> MakePrintProgress(QWidget* owner, const char* message, int32_t upperBound);

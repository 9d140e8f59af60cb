// The two windows the long database passes show while they run: the
// "Database progress" record counter, which shows itself only once a pass
// turns out long, and the working window, a caption over a progress bar.
// Both keep the program painted by handling pending events at each step,
// and neither can be closed by the user: the pass owns them.
#pragma once

#include <cstdint>
#include <string>

#include <QDialog>

class QLabel;
class QProgressBar;

class CDlgDBProgress : public QDialog {
public:
    CDlgDBProgress(const std::string& database, const std::string& operation, int32_t total, int32_t showAt,
                   int32_t start, QWidget* parent = nullptr);
    ~CDlgDBProgress() override;
    // One call per record.
    bool Step();
    int32_t Position() const { return position_; }
    QString ValueText(int32_t index) const;
    static int32_t OpenCount();

protected:
    void reject() override {}
    void accept() override {}

private:
    std::string database_;
    std::string operation_;
    int32_t total_;
    int32_t position_;
    int32_t showAt_;
    int32_t countdown_ = 0;
    QLabel* values_[4] = {};
};

class CDlgWorking : public QDialog {
public:
    CDlgWorking(bool textOnly, const std::string& title, const std::string& caption, int32_t total,
                bool ownMessagesOnly, QWidget* parent = nullptr);
    ~CDlgWorking() override;
    void SetPos(int32_t position);
    void OffsetPos(int32_t delta);
    void StepIt();
    void SetStep(int32_t step) { step_ = step; }
    void SetRange(int32_t lower, int32_t upper);
    int32_t Pos() const;
    QString CaptionText() const;
    static int32_t OpenCount();

protected:
    void reject() override {}
    void accept() override {}

private:
    void Pump();

    int32_t step_ = 1;
    QLabel* caption_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

// Makes the engine's passes show these windows.
void InstallDatabaseWindows();

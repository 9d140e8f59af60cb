// "First card." / "Skip Cards.": a picture of the label sheet on which the
// user picks the card printing starts at (mode 2), or marks the cards the
// first sheet leaves empty (mode 3). It works on the Print dialog's job
// record: OK writes the first-card position back, and the caller takes the
// skip grid with GetFirstCard.
#pragma once

#include <cstdint>

#include <QDialog>

#include "foundation/handle.h"

class CSheetPreviewWnd;
class QLabel;
struct PrintJobRecord;

class CDlgFirstCard : public QDialog {
public:
    explicit CDlgFirstCard(QWidget* parent = nullptr);

    // mode: kSheetFirstCard or kSheetSkipCards; the job supplies the label
    // layout and the first-card position; the grid is copied.
    void Init(int32_t mode, PrintJobRecord* job, Handle skipGrid);
    // The preview's skip grid, a copy the caller owns; null unless mode 3.
    Handle GetFirstCard() const;

    CSheetPreviewWnd* Preview() const { return preview_; }
    QLabel* HelpText() const { return help_; }

    void accept() override;

private:
    CSheetPreviewWnd* preview_ = nullptr;
    QLabel* help_ = nullptr;
    PrintJobRecord* job_ = nullptr;
    int32_t mode_ = 2;
};

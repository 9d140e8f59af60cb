// The Print dialog of a card document: printer (or a PDF file), the
// records or cards to print, copies, the side of the card, and the
// database the cards take their records from, with the First Card and
// Change Database dialogs behind its buttons.
#pragma once

#include <cstdint>

#include <QDialog>

#include "records/print_job_record.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class CDlgPrint : public QDialog {
public:
    CDlgPrint(QWidget* parent, PrintJobRecord* job);

    // The printers installed, then the PDF file entry and the PostScript
    // file entry.
    QComboBox* PrinterList() const { return printers_; }
    int32_t PdfEntry() const;
    int32_t PostScriptEntry() const;
    bool PdfChosen() const;
    bool PostScriptChosen() const;
    QLineEdit* FileEdit() const { return file_; }
    QRadioButton* AllButton() const { return all_; }
    QRadioButton* RangeButton() const { return range_; }
    QSpinBox* FromEdit() const { return from_; }
    QSpinBox* ToEdit() const { return to_; }
    QSpinBox* CopiesEdit() const { return copies_; }
    QRadioButton* FrontButton() const { return front_; }
    QRadioButton* BackButton() const { return back_; }
    QLabel* DatabaseName() const { return databaseName_; }
    QPushButton* SkipCardsButton() const { return skip_; }
    QPushButton* ChangeDatabaseButton() const { return change_; }

    // A listing rather than cards: only the printer and the copies are
    // asked.
    void HideCardChoices();

    // The First Card and Change Database dialogs, as the buttons run them.
    void OnSkipCards();
    void OnChangeDatabase();

    // Makes the job's printer; a PDF file without a name, or a printer
    // that cannot be had, keeps the dialog open with the message.
    void accept() override;

private:
    void ShowDatabaseName(int16_t ordinal);

    PrintJobRecord* job_;
    QComboBox* printers_ = nullptr;
    QLineEdit* file_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    QRadioButton* all_ = nullptr;
    QRadioButton* range_ = nullptr;
    QSpinBox* from_ = nullptr;
    QSpinBox* to_ = nullptr;
    QSpinBox* copies_ = nullptr;
    QRadioButton* front_ = nullptr;
    QRadioButton* back_ = nullptr;
    QLabel* databaseLabel_ = nullptr;
    QLabel* databaseName_ = nullptr;
    QPushButton* skip_ = nullptr;
    QPushButton* change_ = nullptr;
    QGroupBox* rangeBox_ = nullptr;
    QGroupBox* sideBox_ = nullptr;
    QGroupBox* cardsBox_ = nullptr;
};

// Runs the dialog over owner: 1 after OK with the job's printer, range
// and copies set, else 0.
int32_t DoPrintDialog(QWidget* owner, PrintJobRecord* job);

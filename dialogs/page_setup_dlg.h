// The Page Setup dialog: the paper and orientation the application's
// printer settings hold. It offers the papers of the paper table that the
// printer lists (every paper with a code when the printer does not say),
// and works the same whether the printer is one of this computer's or a
// file. Without any printer it chooses a card's own page.
#pragma once

#include "dialogs/record_dialog.h"

class QButtonGroup;
class QComboBox;
class QRadioButton;

struct PageChoice;

// The captions of the paper and orientation a card's label layout fixes.
extern const char* const kFixedPaperCaption;
extern const char* const kFixedOrientationCaption;

class CDlgPageSetup : public OpeningDialog {
public:
    // With `page`, a card's page: what its label layout fixes shows fixed
    // and can't be changed. Without a printer the dialog edits that choice
    // instead of the printer settings, shown with every paper that has a
    // code.
    explicit CDlgPageSetup(QWidget* parent = nullptr, PageChoice* page = nullptr);

    // OK puts the choice into the application's printer settings, or into
    // the page given.
    void accept() override;

    QComboBox* PaperCombo() const { return paper_; }
    QRadioButton* LandscapeButton() const { return landscape_; }

private:
    PageChoice* page_;
    bool paperFixed_ = false;
    bool orientationFixed_ = false;
    QComboBox* paper_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
};

// The Page Setup dialog: the paper and orientation the application's
// printer settings hold. It offers the papers of the paper table that the
// printer lists (every paper with a code when the printer does not say),
// and works the same whether the printer is one of this computer's or a
// file.
#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QRadioButton;

class CDlgPageSetup : public QDialog {
public:
    explicit CDlgPageSetup(QWidget* parent = nullptr);

    // OK puts the choice into the application's printer settings.
    void accept() override;

    QComboBox* PaperCombo() const { return paper_; }

private:
    QComboBox* paper_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
};

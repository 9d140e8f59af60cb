// The font replacement dialog (captioned "Font Replacement"). Where a card
// document uses fonts this computer lacks, its font table keeps beside each
// such font the installed font drawn in its place. The dialog lists those
// replaced fonts, lets the user choose for each which installed font
// replaces it, and makes a replacement permanent, so that the installed
// font becomes the document's own.
//
// The caller gives the document's font table (SetDocument) and runs the
// dialog; OK writes the edited copy back into that table, Cancel leaves it
// as it was.
#pragma once

#include <cstdint>
#include <vector>

#include "dialogs/record_dialog.h"
#include "typography/font_list.h"
#include "typography/font_table.h"

class CFontComboBox;
class QPushButton;

class CDlgFontReplacement : public OpeningDialog {
public:
    explicit CDlgFontReplacement(QWidget* parent = nullptr);
    ~CDlgFontReplacement() override;

    // The font table of the document: all the dialog uses of it.
    void SetDocument(FontTable* documentFonts);

    const FontTable& WorkingTable() const { return working_; }
    // The ids of the replaced fonts, in the order the list shows them.
    const std::vector<int32_t>& ReplacedIds() const { return ids_; }

    CFontComboBox* ReplacedCombo() const { return replaced_; }
    CFontComboBox* ReplacingCombo() const { return replacing_; }
    QPushButton* MakePermanentButton() const { return makePermanent_; }

    void accept() override;

private:
    void Refresh();
    void OnReplacedChosen();
    void OnReplacingChosen();
    void OnMakePermanent();

    FontTable* document_ = nullptr;
    FontTable working_;
    FontList replacedFonts_;
    std::vector<int32_t> ids_;

    CFontComboBox* replaced_;
    CFontComboBox* replacing_;
    QPushButton* makePermanent_;
};

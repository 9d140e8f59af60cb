// The "Create Color" dialog (Edit > Create Color): the document's sixteen
// named colours as sixteen colour panes. The user picks a pane, changes its
// colour (in the colour chooser, or through the pane itself) and its name,
// and can put one entry or all of them back as they were when the dialog
// opened.
//
// The caller hands in the document's table (SetColorTable), runs the
// dialog and, after OK, takes the edited table (Table()); Cancel leaves the
// caller's table as it was.
#pragma once

#include <array>
#include <cstdint>

#include "dialogs/record_dialog.h"
#include "platform/gdi_types.h"
#include "typography/color_table.h"

class ColorPane;
class QLineEdit;
class QPushButton;

class CDlgCreateColor : public OpeningDialog {
public:
    explicit CDlgCreateColor(QWidget* parent = nullptr);

    // Both the working table and the one the resets go back to.
    void SetColorTable(const ColorTable& table);
    const ColorTable& Table() const { return working_; }
    int32_t Current() const { return current_; }

    ColorPane* Pane(int i) const { return panes_[size_t(i)]; }
    QLineEdit* NameEdit() const { return name_; }
    QPushButton* SetColorButton() const { return setColor_; }
    QPushButton* ResetAllButton() const { return resetAll_; }
    QPushButton* ResetColorButton() const { return resetColor_; }

protected:
    // The colour chooser, opened on the current colour; true with the
    // chosen colour after OK.
    virtual bool ChooseColor(ColorRef* colour);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int IndexOf(const ColorPane* pane) const;
    void ShowName();
    void TakeName();
    void OnSelected(ColorPane* pane);
    void OnChangedColor(ColorPane* pane, ColorRef colour);
    void OnSetColor();
    void OnResetColor();
    void OnResetAll();

    ColorTable reference_;
    ColorTable working_;
    int32_t current_ = 0;
    std::array<ColorPane*, kColorCount> panes_{};
    QLineEdit* name_;
    QPushButton* setColor_;
    QPushButton* resetAll_;
    QPushButton* resetColor_;
};

// "Text Runaround": whether text flows around a frame, by its rectangle or
// its shape, and the margin it keeps.
#pragma once

#include <cstdint>

#include "dialogs/record_dialog.h"

class QLineEdit;
class QRadioButton;
class UpDownButtons;

enum : int32_t {
    kRunaroundNone = 0,
    kRunaroundRectangle = 1,
    kRunaroundShape = 2,
};

struct TextRunaroundRecord {
    int32_t margin = 0;  // points
    int32_t mode = 0;
};

class CDlgTextRunaround : public RecordDialog<TextRunaroundRecord> {
public:
    explicit CDlgTextRunaround(QWidget* parent = nullptr);

    QRadioButton* Mode(int32_t mode) const { return modes_[mode < 0 || mode > 2 ? 0 : mode]; }
    QLineEdit* Margin() const { return margin_; }
    UpDownButtons* Spin() const { return spin_; }
    void accept() override;

protected:
    void Open() override;

private:
    QRadioButton* modes_[3];
    QLineEdit* margin_;
    UpDownButtons* spin_;
};

// The picture of a runaround mode on its button.
QImage RunaroundPicture(int32_t mode);

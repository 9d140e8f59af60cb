// "Text Runaround": whether text flows around a frame, by its rectangle or
// its shape, and the margin it keeps.
#pragma once

#include <cstdint>

#include <QDialog>

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

class CDlgTextRunaround : public QDialog {
public:
    explicit CDlgTextRunaround(QWidget* parent = nullptr);
    void SetRecord(const TextRunaroundRecord& record) { record_ = record; }
    const TextRunaroundRecord& Record() const { return record_; }
    int32_t DoModal();

    QRadioButton* Mode(int32_t mode) const { return modes_[mode < 0 || mode > 2 ? 0 : mode]; }
    QLineEdit* Margin() const { return margin_; }
    UpDownButtons* Spin() const { return spin_; }
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TextRunaroundRecord record_;
    bool opened_ = false;
    QRadioButton* modes_[3];
    QLineEdit* margin_;
    UpDownButtons* spin_;
};

// The picture of a runaround mode on its button.
QImage RunaroundPicture(int32_t mode);

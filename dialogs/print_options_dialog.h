// "Print Options": crop marks and the printer alignment of a card page, in
// whole points from -100 to 100. The page keeps them in its print-option
// block (down, then across, as doubles, then the crop-marks flag).
#pragma once

#include <cstdint>

#include <QDialog>

class QCheckBox;
class QLineEdit;
class UpDownButtons;

class CDlgPrintOptions : public QDialog {
public:
    explicit CDlgPrintOptions(QWidget* parent = nullptr);

    // The first 20 bytes of the print-option block: f64 vertical, f64
    // horizontal, u32 crop marks. The offsets show truncated.
    void SetOptions(const uint8_t* block);
    void GetOptions(uint8_t* block) const;

    QCheckBox* CropMarks() const { return cropMarks_; }
    QLineEdit* HorizontalEdit() const { return horizontal_; }
    QLineEdit* VerticalEdit() const { return vertical_; }
    UpDownButtons* HorizontalSpin() const { return horizontalSpin_; }
    UpDownButtons* VerticalSpin() const { return verticalSpin_; }

    // Takes the controls; an offset outside -100 to 100 keeps the dialog
    // open with the message.
    void accept() override;

private:
    bool ReadOffset(QLineEdit* edit, int32_t* out);

    QCheckBox* cropMarks_ = nullptr;
    QLineEdit* horizontal_ = nullptr;
    QLineEdit* vertical_ = nullptr;
    UpDownButtons* horizontalSpin_ = nullptr;
    UpDownButtons* verticalSpin_ = nullptr;
    int32_t crop_ = 0;
    int32_t horizontalValue_ = 0;
    int32_t verticalValue_ = 0;
};

constexpr int32_t kPrintAlignLimit = 100;

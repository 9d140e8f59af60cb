// The "Barcode Info" dialog: edits one barcode record (its data, its
// symbology, the bar width, bar height and character gap chosen from fixed
// lists, the ISBN prefix and six switches) with a sample pane that draws
// the barcode as it stands after every change.
//
// The caller copies the frame's record in (SetRecord), runs the dialog and,
// after OK, copies the record back (Record()). Cancel leaves the caller's
// record as it was.
#pragma once

#include <array>
#include <cstdint>

#include <QWidget>

#include "barcode/barcode_record.h"
#include "dialogs/record_dialog.h"

class Dc;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The sizes the lists offer, in points, by list index.
constexpr int kBarcodeSizeCount = 8;
double BarcodeWidthAt(int index);   // module and space: 0.5 to 4.0
double BarcodeHeightAt(int index);  // 18 to 144 (a quarter inch to 2 inches)
double BarcodeGapAt(int index);     // 0.5 to 4.0

class CBarcodePreviewWnd : public QWidget {
public:
    explicit CBarcodePreviewWnd(QWidget* parent = nullptr);
    void SetRecord(const BarcodeRecord& record) { record_ = record; }
    const BarcodeRecord& Record() const { return record_; }
    void Draw(Dc* dc);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BarcodeRecord record_;
};

class CDlgBarcodeInfo : public OpeningDialog {
public:
    explicit CDlgBarcodeInfo(QWidget* parent = nullptr);

    // Shows the record; sizes that are in no list select the first entry.
    void SetRecord(const BarcodeRecord& record);
    // The record as the controls last gave it (after OK: what to store).
    const BarcodeRecord& Record() const { return record_; }

    enum Switch {
        kShowText = 0,
        kSystemDigit,
        kCheckDigit,
        kStartStop,
        kAddCheck,
        kBearers,
        kSwitchCount
    };
    QLineEdit* DataEdit() const { return data_; }
    QLabel* DataLabel() const { return dataLabel_; }
    QComboBox* TypeCombo() const { return type_; }
    QComboBox* WidthCombo() const { return width_; }
    QComboBox* HeightCombo() const { return height_; }
    QComboBox* GapCombo() const { return gap_; }
    QComboBox* PrefixCombo() const { return prefix_; }
    QLabel* GapLabel() const { return gapLabel_; }
    QCheckBox* SwitchBox(Switch s) const { return switches_[size_t(s)]; }
    CBarcodePreviewWnd* Sample() const { return sample_; }

    void accept() override;

private:
    void ApplyTypeRules();
    void ReadControls();
    void Changed();

    BarcodeRecord record_;
    // The symbology the record came in with.
    int16_t storedType_ = 0;
    bool ready_ = false;

    QLineEdit* data_;
    QLabel* dataLabel_;
    QComboBox* type_;
    QComboBox* width_;
    QComboBox* height_;
    QComboBox* gap_;
    QComboBox* prefix_;
    QLabel* gapLabel_;
    std::array<QCheckBox*, kSwitchCount> switches_{};
    CBarcodePreviewWnd* sample_;
};

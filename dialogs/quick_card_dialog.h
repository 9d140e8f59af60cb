// "Quick Card Specification": which of ten address fields a quick card
// holds, where its lines break, whether left-out fields leave space or
// blank lines, and whether the postal barcode is printed, with a sample
// that redraws the layout on every click.
//
// The settings are the quick-card frame's 23 words (92 bytes, 0 or 1
// each): the caller loads them (SetRecord), runs the dialog and, after OK,
// takes them back (Record()).
#pragma once

#include <cstdint>

#include <QWidget>

#include "dialogs/record_dialog.h"
#include "foundation/int_geometry.h"
#include "frames/barcode_frame_format.h"

class Dc;
class QCheckBox;

constexpr int32_t kQuickCardSampleFields = 10;
// Where each word of the settings lies.
enum : size_t {
    kQcSpecNoBlankSpace = 0,
    kQcSpecNoBlankLines = 4,
    kQcSpecInclude = 8,   // ten words, fields 1-10
    kQcSpecNewLine = 48,  // ten words
    kQcSpecBarcode = 88,
};

class CQuickCardSampleWnd : public QWidget {
public:
    explicit CQuickCardSampleWnd(QWidget* parent = nullptr);
    void SetSettings(const uint8_t* settings);
    // Repaints at once.
    void Redraw() { repaint(); }
    // The sample drawn over a client area of that size.
    void Draw(Dc* dc, const IntRect& client) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint8_t settings_[kQuickCardSpecSize] = {};
};

class CDlgQuickCard : public OpeningDialog {
public:
    explicit CDlgQuickCard(QWidget* parent = nullptr);

    void SetRecord(const uint8_t* settings);
    const uint8_t* Record() const { return record_; }

    QCheckBox* NoBlankSpace() const { return boxes_[0]; }
    QCheckBox* NoBlankLines() const { return boxes_[1]; }
    // Field n (0-9): Salutation .. Zip Code.
    QCheckBox* Field(int32_t n) const { return boxes_[2 + n]; }
    QCheckBox* NewLine(int32_t n) const { return boxes_[12 + n]; }
    QCheckBox* Barcode() const { return boxes_[22]; }
    CQuickCardSampleWnd* Sample() const { return sample_; }

    void accept() override;

protected:
    void Open() override;

private:
    void ReadControls(uint8_t* settings) const;
    void Update();

    uint8_t record_[kQuickCardSpecSize] = {};
    QCheckBox* boxes_[23];
    CQuickCardSampleWnd* sample_;
};

// "Other Value", the general number prompt of the shade, width and size
// menus' "Other..." items, and "Zoom", the zoom percentage.
#pragma once

#include <cstdint>

#include "dialogs/record_dialog.h"

class QLabel;
class QLineEdit;
class UpDownButtons;

struct OtherValueRecord {
    char caption[256] = {};  // Windows-1252, zero-terminated
    char label[256] = {};
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t step = 0;
    int32_t value = 0;
};

// The commands that ask for another value.
enum class OtherValueKind {
    kShade,
    kLineWidth,
    kTextSize,
};
// The record a command loads: its texts and range, and the current value
// (0 when the selection has none, -1).
OtherValueRecord OtherValueFor(OtherValueKind kind, int32_t current);
// Whether the prompt of the kind would take the text, and the value it
// would give; for places that take the same value without the prompt.
bool OtherValueAccepts(OtherValueKind kind, const QString& text, int32_t* value);

class CDlgOtherValue : public RecordDialog<OtherValueRecord> {
public:
    // Starts as "Other Value" / "New Value", 0 to 100 in steps of 10.
    explicit CDlgOtherValue(QWidget* parent = nullptr);

    QLineEdit* Value() const { return value_; }
    QLabel* Label() const { return label_; }
    UpDownButtons* Spin() const { return spin_; }
    void accept() override;

protected:
    void Open() override;

private:
    QLineEdit* value_;
    QLabel* label_;
    UpDownButtons* spin_;
};

struct ZoomRecord {
    int32_t percent = 0;
};

class CDlgZoom : public RecordDialog<ZoomRecord> {
public:
    explicit CDlgZoom(QWidget* parent = nullptr);

    QLineEdit* Percent() const { return percent_; }
    UpDownButtons* Spin() const { return spin_; }
    void accept() override;

protected:
    void Open() override;

private:
    QLineEdit* percent_;
    UpDownButtons* spin_;
};

// "Counter Specification": the settings of a counter frame (the texts
// around the number, its start and increment, how many cards repeat one
// value, and the padding to a fixed length).
//
// The caller loads the frame's 544-byte counter record (SetRecord), runs
// the dialog and, after OK, takes the record back (Record()): the texts and
// the five numbers as set, every other byte as it came in.
#pragma once

#include <cstdint>

#include <QString>

#include "dialogs/record_dialog.h"
#include "frames/barcode_frame_format.h"

class CIntEdit;
class QLineEdit;
class QRadioButton;
class SpinSteps;

enum : int32_t {
    kCounterPadNone = 0,
    kCounterPadZeros = 1,
    kCounterPadSpaces = 2,
};
// The most the fixed length takes, and the most the start, increment and
// repeat count take (all their edits' six characters hold).
constexpr int32_t kCounterMostValue = 32000;
constexpr int32_t kCounterMostNumber = 999999;
// Characters the preamble and postamble edits take.
constexpr int32_t kCounterTextLimit = 254;

class CDlgCounterSpec : public OpeningDialog {
public:
    explicit CDlgCounterSpec(QWidget* parent = nullptr);

    // The record and the two texts it holds (Windows-1252).
    void SetRecord(const uint8_t* record);
    const uint8_t* Record() const { return record_; }

    QLineEdit* Preamble() const { return preamble_; }
    QLineEdit* Postamble() const { return postamble_; }
    CIntEdit* Start() const { return start_; }
    CIntEdit* Increment() const { return increment_; }
    CIntEdit* SameCount() const { return sameCount_; }
    CIntEdit* FixedLength() const { return fixedLength_; }
    SpinSteps* StartSpin() const { return spins_[0]; }
    SpinSteps* IncrementSpin() const { return spins_[1]; }
    SpinSteps* SameCountSpin() const { return spins_[2]; }
    SpinSteps* FixedLengthSpin() const { return spins_[3]; }
    QRadioButton* Padding(int32_t mode) const;

    void accept() override;

protected:
    void Open() override;

private:
    void PaddingClicked();

    uint8_t record_[kCounterSpecSize] = {};
    QLineEdit* preamble_;
    QLineEdit* postamble_;
    CIntEdit* start_;
    CIntEdit* increment_;
    CIntEdit* sameCount_;
    CIntEdit* fixedLength_;
    SpinSteps* spins_[4];
    QRadioButton* padding_[3];
};

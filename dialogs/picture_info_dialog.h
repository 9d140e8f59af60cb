// "Picture Information": the box and the picture inside it of the selected
// picture frames. Fields the frames share arrive with their bit set in the
// field mask; the others open blank or mixed, and only fields whose bit
// comes back set are applied.
#pragma once

#include <cstdint>

#include "dialogs/measure_fields.h"
#include "dialogs/record_dialog.h"

class CFloatEdit;
class QCheckBox;
class QComboBox;

// Bits of the field mask beyond the shared ones.
enum : uint32_t {
    kPictureOffsetAcross = 0x00400000,
    kPictureOffsetDown = 0x00800000,
    kPictureAngle = 0x01000000,
    kPictureScaleAcross = 0x02000000,
    kPictureScaleDown = 0x04000000,
    kPictureScaleWithBox = 0x08000000,
    kPictureDisplay = 0x10000000,
    kPicturePrintout = 0x20000000,
};

// Copied into the dialog and out of it as one block.
struct PictureInfoRecord {
    double originAcross = 0.0;  // points
    double originDown = 0.0;
    double width = 0.0;
    double height = 0.0;
    double boxAngle = 0.0;  // degrees
    uint8_t carried1[8] = {};
    double offsetAcross = 0.0;  // the picture inside the box, points
    double offsetDown = 0.0;
    double pictureAngle = 0.0;
    uint8_t carried2[8] = {};
    double scaleAcross = 0.0;  // percent
    double scaleDown = 0.0;
    int32_t printable = 0;  // 0, 1, 2 for mixed
    int32_t locked = 0;
    int32_t visible = 0;
    int32_t scaleWithBox = 0;
    int32_t display = 0;
    int32_t printout = 0;
    int32_t units = 0;
    int32_t carried3[2] = {};
    uint32_t mask = 0;
};
static_assert(sizeof(PictureInfoRecord) == 136);

class CDlgPictureInfo : public RecordDialog<PictureInfoRecord> {
public:
    explicit CDlgPictureInfo(QWidget* parent = nullptr);

    CFloatEdit* Edit(int32_t controlId) const;
    QCheckBox* Box(int32_t controlId) const;
    QComboBox* Units() const { return units_; }

    void accept() override;

private:
    void Open() override;
    void UnitsChosen(int index);
    void BoxClicked(QCheckBox* box, uint32_t bit);
    void ExchangeBoxes();
    void EnablePictureFields();

    MeasureFields fields_;
    uint32_t showAgain_ = 0;
    bool ready_ = false;
    std::vector<CFloatEdit*> edits_;
    std::vector<QCheckBox*> boxes_;
    QComboBox* units_;
};

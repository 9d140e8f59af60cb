// "Text Box Information": geometry, text inset and flags of the selected
// text frame, with the same field-mask rules as Picture Information.
#pragma once

#include <cstdint>

#include "dialogs/placement_info_dialog.h"
#include "dialogs/record_dialog.h"

class CFloatEdit;
class QCheckBox;

enum : uint32_t {
    kTextBoxInset = 0x40000000,
    kTextBoxRunaround = 0x80000000,
};

// Copied into the dialog and out of it as one block.
struct TextBoxInfoRecord {
    double originAcross = 0.0;  // points
    double originDown = 0.0;
    double boxAngle = 0.0;  // degrees
    double height = 0.0;
    double width = 0.0;
    double textInset = 0.0;
    int32_t printable = 0;  // 0, 1, 2 for mixed
    int32_t locked = 0;
    int32_t visible = 0;
    int32_t textRunaround = 0;
    int32_t units = 0;
    uint32_t mask = 0;
};
static_assert(sizeof(TextBoxInfoRecord) == 72);

class CDlgTextBoxInfo : public RecordDialog<TextBoxInfoRecord, CPlacementInfoDialog> {
public:
    explicit CDlgTextBoxInfo(QWidget* parent = nullptr);

    CFloatEdit* OriginAcross() const { return across_; }
    CFloatEdit* OriginDown() const { return down_; }
    CFloatEdit* WidthEdit() const { return width_; }
    CFloatEdit* HeightEdit() const { return height_; }
    CFloatEdit* BoxAngle() const { return angle_; }
    CFloatEdit* TextInset() const { return inset_; }
    QCheckBox* TextRunaround() const { return runaround_; }

private:
    CFloatEdit* across_;
    CFloatEdit* down_;
    CFloatEdit* width_;
    CFloatEdit* height_;
    CFloatEdit* angle_;
    CFloatEdit* inset_;
    QCheckBox* runaround_;
};

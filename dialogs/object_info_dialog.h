// "Object Info": position, size, rotation and the Printable, Locked and
// Visible flags of the selected frames of a kind without a dialog of its
// own. Fields without one value over the selection open blank or mixed;
// the flag word comes back with the fields the user set.
#pragma once

#include <cstdint>

#include "dialogs/placement_info_dialog.h"
#include "dialogs/record_dialog.h"

class CFloatEdit;

struct ObjectInfoRecord {
    double originAcross = 0.0;  // points
    double originDown = 0.0;
    double boxAngle = 0.0;  // degrees
    double height = 0.0;
    double width = 0.0;
    int32_t printable = 0;  // 0 off, 1 on, 2 mixed
    int32_t locked = 0;
    int32_t visible = 0;
    int16_t units = 0;
    uint32_t flags = 0;
    int32_t sizeFixed = 0;  // non-zero: height and width cannot change
};

class CDlgObjectInfo : public RecordDialog<ObjectInfoRecord, CPlacementInfoDialog> {
public:
    explicit CDlgObjectInfo(QWidget* parent = nullptr);

    CFloatEdit* OriginAcross() const { return across_; }
    CFloatEdit* OriginDown() const { return down_; }
    CFloatEdit* BoxAngle() const { return angle_; }
    CFloatEdit* HeightEdit() const { return height_; }
    CFloatEdit* WidthEdit() const { return width_; }

protected:
    void Opened() override;

private:
    CFloatEdit* across_;
    CFloatEdit* down_;
    CFloatEdit* angle_;
    CFloatEdit* height_;
    CFloatEdit* width_;
};

// "Group Information": position, rotation and the Printable, Locked and
// Visible flags of a group, with the same selection rules as Object Info.
#pragma once

#include <cstdint>

#include "dialogs/placement_info_dialog.h"
#include "dialogs/record_dialog.h"

class CFloatEdit;

struct GroupInfoRecord {
    double originAcross = 0.0;  // points
    double originDown = 0.0;
    double boxAngle = 0.0;  // degrees
    int32_t printable = 0;  // 0 off, 1 on, 2 mixed
    int32_t locked = 0;
    int32_t visible = 0;
    int16_t units = 0;
    uint32_t flags = 0;
};

class CDlgGroupInfo : public RecordDialog<GroupInfoRecord, CPlacementInfoDialog> {
public:
    explicit CDlgGroupInfo(QWidget* parent = nullptr);

    CFloatEdit* OriginAcross() const { return across_; }
    CFloatEdit* OriginDown() const { return down_; }
    CFloatEdit* BoxAngle() const { return angle_; }

private:
    CFloatEdit* across_;
    CFloatEdit* down_;
    CFloatEdit* angle_;
};

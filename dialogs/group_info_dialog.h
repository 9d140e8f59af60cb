// "Group Information": position, rotation and the Printable, Locked and
// Visible flags of a group, with the same selection rules as Object Info.
#pragma once

#include <cstdint>

#include <QDialog>

#include "dialogs/measure_fields.h"

class CFloatEdit;
class QCheckBox;
class QComboBox;

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

class CDlgGroupInfo : public QDialog {
public:
    explicit CDlgGroupInfo(QWidget* parent = nullptr);

    void SetRecord(const GroupInfoRecord& record) { record_ = record; }
    const GroupInfoRecord& Record() const { return record_; }
    int32_t DoModal();

    CFloatEdit* OriginAcross() const { return across_; }
    CFloatEdit* OriginDown() const { return down_; }
    CFloatEdit* BoxAngle() const { return angle_; }
    QCheckBox* Printable() const { return printable_; }
    QCheckBox* Locked() const { return locked_; }
    QCheckBox* Visible() const { return visible_; }
    QComboBox* Units() const { return units_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Open();
    void EditChanged();
    void UnitsChosen(int index);
    void BoxClicked(QCheckBox* box, uint32_t bit);

    GroupInfoRecord record_;
    MeasureFields fields_;
    uint32_t shown_ = 0;
    bool ready_ = false;
    bool opened_ = false;
    CFloatEdit* across_;
    CFloatEdit* down_;
    CFloatEdit* angle_;
    QCheckBox* printable_;
    QCheckBox* locked_;
    QCheckBox* visible_;
    QComboBox* units_;
};

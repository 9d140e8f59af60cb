// "Text Box Information": geometry, text inset and flags of the selected
// text frame, with the same field-mask rules as Picture Information.
#pragma once

#include <cstdint>

#include <QDialog>

#include "dialogs/measure_fields.h"

class CFloatEdit;
class QCheckBox;
class QComboBox;

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

class CDlgTextBoxInfo : public QDialog {
public:
    explicit CDlgTextBoxInfo(QWidget* parent = nullptr);

    void SetRecord(const TextBoxInfoRecord& record) { record_ = record; }
    const TextBoxInfoRecord& Record() const { return record_; }
    int32_t DoModal();

    CFloatEdit* OriginAcross() const { return across_; }
    CFloatEdit* OriginDown() const { return down_; }
    CFloatEdit* WidthEdit() const { return width_; }
    CFloatEdit* HeightEdit() const { return height_; }
    CFloatEdit* BoxAngle() const { return angle_; }
    CFloatEdit* TextInset() const { return inset_; }
    QCheckBox* Printable() const { return printable_; }
    QCheckBox* Locked() const { return locked_; }
    QCheckBox* Visible() const { return visible_; }
    QCheckBox* TextRunaround() const { return runaround_; }
    QComboBox* Units() const { return units_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Open();
    void UnitsChosen(int index);
    void BoxClicked(QCheckBox* box, uint32_t bit);

    TextBoxInfoRecord record_;
    MeasureFields fields_;
    uint32_t showAgain_ = 0;
    bool ready_ = false;
    bool opened_ = false;
    CFloatEdit* across_;
    CFloatEdit* down_;
    CFloatEdit* width_;
    CFloatEdit* height_;
    CFloatEdit* angle_;
    CFloatEdit* inset_;
    QCheckBox* printable_;
    QCheckBox* locked_;
    QCheckBox* visible_;
    QCheckBox* runaround_;
    QComboBox* units_;
};

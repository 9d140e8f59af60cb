// The fields that edit a label layout's size, margins, spacing and card
// counts, with their spin buttons and the unit they are shown in. The
// Document Properties page and the Document Subcategory Properties dialog
// share them. Lengths are kept in points and shown in the chosen unit.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include <QWidget>

#include "dialogs/sheet_preview_wnd.h"
#include "records/label_stock_format.h"

class CFloatEdit;
class CIntEdit;
class QCheckBox;
class QComboBox;

class CLabelTypeFields {
public:
    // Puts a control at a place of the template (dialog units).
    using Placer = std::function<void(QWidget* control, int32_t id, int32_t x, int32_t y, int32_t width,
                                      int32_t height)>;

    // The fields' group boxes start at (x, y); record is the layout they
    // edit (168 bytes), changed is called after every change the user
    // makes.
    CLabelTypeFields(uint8_t* record, const Placer& place, int32_t x, int32_t y, std::function<void()> changed);

    // Shows every field again from the record, in the record's unit.
    void ShowAll();
    // Takes what the user typed into the record.
    void ReadEdits();
    // A spin button's step on a field (+1 up, -1 down).
    void Spin(int32_t editId, int32_t delta);
    void SetUnit(int32_t unit);
    // Width and height fields on or off.
    void EnableSize(bool on);

    // Name not empty, size and counts above 0.
    static bool IsUsable(const uint8_t* record);
    static SheetLabelLayout SheetLayout(const uint8_t* record);

    float Factor() const { return factor_; }
    CFloatEdit* FloatEdit(int32_t id) const;
    CIntEdit* IntEdit(int32_t id) const;
    QComboBox* Units() const { return units_; }
    QCheckBox* Centring() const { return centring_; }

private:
    uint8_t* record_;
    float factor_ = 1.0f;
    std::array<CFloatEdit*, 6> floats_{};
    std::array<CIntEdit*, 2> ints_{};
    std::array<QWidget*, 8> spinners_{};
    QComboBox* units_ = nullptr;
    QCheckBox* centring_ = nullptr;
    std::function<void()> changed_;
};

// What Object Info, Group Information and Text Box Information share: a
// dialog over a selection-aware record, its measure fields, three-state
// boxes and units combo bound to the record's members. Fields without one
// value over the selection open blank and boxes open mixed; the record's
// flag word comes back with the fields the user set.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "dialogs/measure_fields.h"
#include "dialogs/record_dialog.h"

class CFloatEdit;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLayout;
class QVBoxLayout;

class CPlacementInfoDialog : public OpeningDialog {
public:
    QCheckBox* Printable() const { return printable_; }
    QCheckBox* Locked() const { return locked_; }
    QCheckBox* Visible() const { return visible_; }
    QComboBox* Units() const { return units_; }

    void accept() override;

protected:
    // How the record's flag word is kept while the dialog is open.
    enum class FlagWord {
        // Cleared as the dialog opens: it comes back with only the fields
        // the user set.
        kUserSetOnly,
        // Kept: it comes back with the fields known over the selection and
        // those the user set.
        kKnownAndUserSet,
    };

    CPlacementInfoDialog(const char* title, const char* name, QWidget* parent);

    // The record's flag word and unit (of whatever integer width the
    // record keeps it in).
    template <typename Int>
    void BindRecord(uint32_t* flags, Int* units, FlagWord word)
    {
        flags_ = flags;
        unitsOfRecord_ = [units] { return int32_t(*units); };
        setUnitsOfRecord_ = [units](int32_t unit) { *units = Int(unit); };
        word_ = word;
    }

    // The controls, created in tab order: the measure fields first, then
    // the boxes, then the units combo.
    CFloatEdit* AddLength(int32_t id, const char* name, double* value, uint32_t bit);
    CFloatEdit* AddPlain(int32_t id, const char* name, double* value, uint32_t bit, double minimum, double maximum,
                         double step);
    // Printable, Locked and Visible, in that order.
    void AddFlagBoxes(int32_t* printable, int32_t* locked, int32_t* visible);
    QCheckBox* AddBox(const char* text, int32_t* value, uint32_t bit);
    void AddUnits();

    // The flag boxes in a column.
    QVBoxLayout* FlagColumn() const;

    // Called as the dialog opens, after the fields are shown and before the
    // boxes are.
    virtual void Opened() {}

private:
    struct Box {
        QCheckBox* box;
        int32_t* value;
        uint32_t bit;
    };

    void Open() override;
    void EditChanged();
    void UnitsChosen(int index);
    void BoxClicked(const QCheckBox* box, uint32_t bit);

    MeasureFields fields_;
    std::vector<Box> boxes_;
    uint32_t* flags_ = nullptr;
    std::function<int32_t()> unitsOfRecord_;
    std::function<void(int32_t)> setUnitsOfRecord_;
    FlagWord word_ = FlagWord::kUserSetOnly;
    // The fields shown so far: those known on opening and those set since.
    uint32_t shown_ = 0;
    bool ready_ = false;
    QCheckBox* printable_ = nullptr;
    QCheckBox* locked_ = nullptr;
    QCheckBox* visible_ = nullptr;
    QComboBox* units_ = nullptr;
};

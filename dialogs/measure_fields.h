// The numeric fields of an object dialog: each a CFloatEdit bound to a
// double of the dialog's record, shown in the chosen unit when it is a
// length (angles, scales and percentages are shown as they are).
#pragma once

#include <cstdint>
#include <vector>

class CFloatEdit;
class QComboBox;
class QWidget;

// A measure edit with its control id and object name.
CFloatEdit* MeasureEdit(int32_t id, const char* name, QWidget* parent);

class MeasureFields {
public:
    struct Field {
        CFloatEdit* edit = nullptr;
        double* value = nullptr;  // points, degrees or percent
        uint32_t bit = 0;         // in the record's flag word; 0 for none
        bool length = true;       // shown in the unit
        double minimum = 0.0;
        double maximum = 1000.0;
        double step = 0.01;
    };

    // A length field with the usual range 0-1000, step 0.01.
    void AddLength(CFloatEdit* edit, double* value, uint32_t bit);
    // A field shown as it is, with its own range.
    void AddPlain(CFloatEdit* edit, double* value, uint32_t bit, double minimum, double maximum, double step);

    // Points per unit of the chosen unit.
    void SetPointsPerUnit(double factor) { factor_ = factor > 0.0 ? factor : 1.0; }
    double PointsPerUnit() const { return factor_; }

    // Every edit set up from its value with its range (10 characters).
    void SetupAll();
    // As the dialog opens: the units combo filled and set to the record's
    // unit (the first entry for a unit it lacks), and every edit set up in
    // that unit.
    void Open(QComboBox* units, int32_t unit);
    // The edits of the fields whose bit is not in `known` become empty.
    void BlankUnknown(uint32_t known);
    // Each edit the user modified gives its value to its field and loses
    // its modified flag; returns the bits of those fields and counts them.
    uint32_t ReadModified(int* count = nullptr);
    // Shows again, in the current unit, the lengths whose bit is in the
    // mask (all lengths for the bit-less fields).
    void ShowLengths(uint32_t mask);
    // The user chose another unit: the flag word notes it, and every length
    // shown so far (known on opening or set since, gathered in shown) is
    // shown again in it.
    void SwitchUnit(int32_t unit, uint32_t* flags, uint32_t* shown);

    const std::vector<Field>& Fields() const { return fields_; }

private:
    double Shown(const Field& f) const { return f.length ? *f.value / factor_ : *f.value; }

    std::vector<Field> fields_;
    double factor_ = 1.0;
};

// Characters a measure edit takes.
constexpr int32_t kMeasureEditLimit = 10;

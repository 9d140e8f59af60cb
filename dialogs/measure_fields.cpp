#include "dialogs/measure_fields.h"

#include <QComboBox>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"

CFloatEdit* MeasureEdit(int32_t id, const char* name, QWidget* parent)
{
    auto* edit = new CFloatEdit(parent);
    edit->SetControlId(id);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

void MeasureFields::AddLength(CFloatEdit* edit, double* value, uint32_t bit)
{
    fields_.push_back(Field{edit, value, bit, true, 0.0, 1000.0, 0.01});
}

void MeasureFields::AddPlain(CFloatEdit* edit, double* value, uint32_t bit, double minimum, double maximum,
                             double step)
{
    fields_.push_back(Field{edit, value, bit, false, minimum, maximum, step});
}

void MeasureFields::SetupAll()
{
    for (const Field& f : fields_)
        f.edit->Setup(Shown(f), f.minimum, f.maximum, f.step, kMeasureEditLimit, 0.0, 0);
}

void MeasureFields::Open(QComboBox* units, int32_t unit)
{
    FillUnitsCombo(units);
    units->setCurrentIndex(unit >= 0 && unit < units->count() ? unit : 0);
    SetPointsPerUnit(::PointsPerUnit(unit));
    SetupAll();
}

void MeasureFields::BlankUnknown(uint32_t known)
{
    const QString empty;
    for (const Field& f : fields_)
        if (f.bit != 0 && !(known & f.bit))
            f.edit->SetText(&empty, nullptr, 0, false);
}

uint32_t MeasureFields::ReadModified(int* count)
{
    uint32_t bits = 0;
    int read = 0;
    for (const Field& f : fields_) {
        if (!f.edit->isModified())
            continue;
        const double v = f.edit->GetValue();
        *f.value = f.length ? v * factor_ : v;
        f.edit->setModified(false);
        bits |= f.bit;
        ++read;
    }
    if (count)
        *count = read;
    return bits;
}

void MeasureFields::ShowLengths(uint32_t mask)
{
    for (const Field& f : fields_)
        if (f.length && (f.bit == 0 || (mask & f.bit)))
            f.edit->SetValue(Shown(f), 0.0, false, 0, false);
}

void MeasureFields::SwitchUnit(int32_t unit, uint32_t* flags, uint32_t* shown)
{
    SetPointsPerUnit(::PointsPerUnit(unit));
    *flags |= kFieldUnitsChanged;
    *shown |= *flags;
    ShowLengths(*shown);
}

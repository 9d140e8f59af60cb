#include "foundation/units.h"

const UnitEntry UnitTable[kUnitCount] = {
    {"Points", "Point", 1.0f},
    {"Inches", "Inch", 72.0f},
    {"Centimeters", "Cm", float(kPointsPerCentimetre)},
    {"Picas", "Pica", 12.0f},
};

const UnitEntry& UnitEntryFor(int32_t unit)
{
    return (unit >= 0 && unit < kUnitCount) ? UnitTable[unit] : UnitTable[kUnitPoints];
}

double UnitFactorPoints(int32_t unit)
{
    switch (unit) {
    case kUnitInches:
        return 72.0;
    case kUnitCentimeters:
        return kPointsPerCentimetre;
    case kUnitPicas:
        return 12.0;
    default:
        return 1.0;
    }
}

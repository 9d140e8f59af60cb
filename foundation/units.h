// Measurement units. Everything is held in points (1/72 inch); a unit word
// in a record or a preference chooses how values are shown and typed.
#pragma once

#include <cstdint>

// Indexes of UnitTable, as record unit words carry them.
enum : int32_t {
    kUnitPoints = 0,
    kUnitInches = 1,
    kUnitCentimeters = 2,
    kUnitPicas = 3,
};

struct UnitEntry {
    char longName[20];
    char shortName[12];
    float pointsPerUnit;
};

constexpr int32_t kUnitCount = 4;

// 72 points to the inch of 2.54 cm. Lengths are stored in points, so a
// stored layout keeps its size whatever it is shown in.
constexpr double kPointsPerCentimetre = 72.0 / 2.54;
extern const UnitEntry UnitTable[kUnitCount];

// The entry of a unit word; words read from files may be anything, and an
// unknown one counts as points, as in UnitFactorPoints.
const UnitEntry& UnitEntryFor(int32_t unit);

// Points per unit: 72 for inches, 72 / 2.54 for centimetres, 12 for picas
// and 1 for any other word.
double UnitFactorPoints(int32_t unit);

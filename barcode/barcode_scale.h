// The device ratio of the call in progress and the sizes derived from it.
//
// Both entry points set the ratio and recompute every value here before
// they draw or measure, so nothing carries over from one call to the next.
// The values are shared by all symbologies of one call; the engine is used
// from the one user-interface thread only.
#pragma once

#include <cstdint>

#include "barcode/barcode_record.h"

// Device units per inch.
extern double gBarcodeBase;
// The blank border around every measured barcode, base / 18.
extern int16_t gBarcodeMargin;
// UPC/EAN: the gap before an add-on and the distance of the outside digits.
extern double gAddOnGap;
extern int32_t gHalfDigit;
// POSTNET sizes: tall bar, bar width, space width, and what a short bar lacks.
extern double gPostnetTall;
extern double gPostnetBar;
extern double gPostnetSpace;
extern double gPostnetShortCut;
// FIM bar height, bar width and the width of the whole mark.
extern double gFimHeight;
extern double gFimBar;
extern double gFimWidth;
extern double gHorBarThickness;
// Set by FitCaptionFont from the caption font's ascent.
extern double gCaptionRise;
extern double gCaptionBand;

// Device units per point, num / den on both axes.
void SetBarcodeRatio(int16_t num, int16_t den);
double BarcodeRatioX();
double BarcodeRatioY();

// Recomputes the values above from the ratio and the record's module, and
// with scaleRecord turns the record's lengths from points into device units.
void SetBarcodeScale(BarcodeRecord* rec, bool scaleRecord);

// Truncation toward zero for the engine's sizes and positions. Records come
// from files, so their lengths may be anything: values beyond what a
// device can show are held at +-2^28 and a NaN counts as 0.
int32_t BarcodeTrunc(double value);
// The same hold without the truncation, for targets that keep fractions
// of a unit.
double BarcodeHeld(double value);

// The working copy both entry points use: the caller's record, its angle
// reduced to one turn and its positions held within what the drawing can
// add to, the ratio set and the record scaled to device units. False, with
// nothing set, when the ratio is not positive.
bool PrepareWorkingRecord(const BarcodeRecord& caller, BarcodeRecord* work, int16_t num, int16_t den);

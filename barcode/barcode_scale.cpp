#include "barcode/barcode_scale.h"

#include <algorithm>
#include <cmath>

double gBarcodeBase = 72.0;
int16_t gBarcodeMargin = 4;
double gAddOnGap = 0.0;
int32_t gHalfDigit = 0;
double gPostnetTall = 0.0;
double gPostnetBar = 0.0;
double gPostnetSpace = 0.0;
double gPostnetShortCut = 0.0;
double gFimHeight = 0.0;
double gFimBar = 0.0;
double gFimWidth = 0.0;
double gHorBarThickness = 0.0;
double gCaptionRise = 0.0;
double gCaptionBand = 0.0;

namespace {

// Horizontal and vertical numerators, then denominators.
int32_t gRatioNum[2] = {1, 1};
int32_t gRatioDen[2] = {1, 1};

// 2^28: sums of a few coordinates still fit in 32 bits.
constexpr double kLargestCoordinate = 268435456.0;

}  // namespace

void SetBarcodeRatio(int16_t num, int16_t den)
{
    gRatioNum[0] = gRatioNum[1] = num;
    gRatioDen[0] = gRatioDen[1] = den;
}

double BarcodeRatioX() { return double(gRatioNum[0]) / double(gRatioDen[0]); }
double BarcodeRatioY() { return double(gRatioNum[1]) / double(gRatioDen[1]); }

double BarcodeHeld(double value)
{
    if (std::isnan(value))
        return 0.0;
    return std::clamp(value, -kLargestCoordinate, kLargestCoordinate);
}

int32_t BarcodeTrunc(double value) { return int32_t(BarcodeHeld(value)); }

void SetBarcodeScale(BarcodeRecord* rec, bool scaleRecord)
{
    const double rx = BarcodeRatioX();
    const double ry = BarcodeRatioY();
    if (scaleRecord) {
        rec->barHeight *= ry;
        rec->captionSize *= ry;
        rec->module *= rx;
        rec->space *= rx;
        rec->charGap *= rx;
        rec->bounds.left = BarcodeTrunc(rec->bounds.left * rx);
        rec->bounds.right = BarcodeTrunc(rec->bounds.right * rx);
        rec->bounds.top = BarcodeTrunc(rec->bounds.top * ry);
        rec->bounds.bottom = BarcodeTrunc(rec->bounds.bottom * ry);
    }
    gBarcodeBase = 72.0 * rx;
    gBarcodeMargin = int16_t(BarcodeTrunc(gBarcodeBase / 18.0));
    gAddOnGap = 10.0 * rec->module;
    gHalfDigit = BarcodeTrunc(5.0 * rec->module);
    gPostnetTall = 8.765 * ry;
    gPostnetBar = 1.565 * rx;
    gPostnetSpace = 1.6874 * rx;
    gPostnetShortCut = 5.165 * ry;
    gFimHeight = gBarcodeBase * 19.0 / 30.0;
    gFimBar = gBarcodeBase * 0.03;
    gFimWidth = gBarcodeBase * 159.0 / 300.0;
    gHorBarThickness = gBarcodeBase / 14.0;
}

bool PrepareWorkingRecord(const BarcodeRecord& caller, BarcodeRecord* work, int16_t num, int16_t den)
{
    if (num <= 0 || den <= 0)
        return false;
    *work = caller;
    work->angle = std::isfinite(work->angle) ? std::fmod(work->angle, 360.0) : 0.0;
    work->originX = BarcodeTrunc(work->originX);
    work->originY = BarcodeTrunc(work->originY);
    work->centreX = BarcodeTrunc(work->centreX);
    work->centreY = BarcodeTrunc(work->centreY);
    SetBarcodeRatio(num, den);
    SetBarcodeScale(work, true);
    return true;
}

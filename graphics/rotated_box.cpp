#include "graphics/rotated_box.h"

void RotatedBox::reset() { *this = RotatedBox{}; }

void RotatedBox::set(const IntRect& r, int16_t degrees)
{
    rect = r;
    bounds = r;
    angle = degrees;
    Matrix2Identity(&matrix);
    Matrix2Rotate(&matrix, degrees);
    Matrix2ApplyRect(matrix, &bounds, corners);
}

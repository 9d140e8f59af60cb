#include "graphics/colour_codes.h"

#include "platform/dc.h"

ColorRef ColourOfCode(int32_t code)
{
    switch (code) {
    case 1: return kWhite;
    case 2: return MakeRgb(255, 0, 0);
    case 3: return MakeRgb(0, 255, 0);
    case 4: return MakeRgb(0, 0, 255);
    default: return kBlack;
    }
}

void SetTextColourByCode(Dc* dc, int32_t code)
{
    if (dc)
        dc->setTextColor(ColourOfCode(code));
}

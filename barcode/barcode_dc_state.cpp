#include "barcode/barcode_dc_state.h"

#include "barcode/barcode_scale.h"
#include "platform/dc.h"

BarcodeFontScope::BarcodeFontScope(Dc* dc) : dc_(dc), saved_(dc->font()), savedTextColor_(dc->textColor()) {}

BarcodeFontScope::~BarcodeFontScope()
{
    dc_->selectFont(saved_);
    dc_->setTextColor(savedTextColor_);
}

void BarcodeFontScope::SetHeight(int32_t n)
{
    LogFont f = saved_;
    f.height = -n;
    f.width = 0;
    dc_->selectFont(f);
}

void BarcodeFontScope::SetHeightAndAngle(int32_t n, double angle)
{
    LogFont f = saved_;
    f.height = -n;
    f.width = 0;
    f.escapement = f.orientation = BarcodeTrunc(angle * 10.0);
    dc_->selectFont(f);
}

BarcodePenScope::BarcodePenScope(Dc* dc) : dc_(dc), saved_(dc->pen()) {}

BarcodePenScope::~BarcodePenScope() { dc_->selectPen(saved_); }

void BarcodePenScope::SetPen(ColorRef color, int32_t width)
{
    dc_->selectPen(Pen{PS_SOLID, width, color});
}

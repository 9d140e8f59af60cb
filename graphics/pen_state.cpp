#include "graphics/pen_state.h"

#include "platform/dc.h"

PenState::PenState(Dc* dc) : dc_(dc)
{
    if (!dc_)
        return;
    saved_ = dc_->pen();
    Pen copy = saved_;
    copy.width = 1;
    dc_->selectPen(copy);
}

PenState::~PenState()
{
    if (dc_)
        dc_->selectPen(saved_);
}

void PenState::SetWidth(int32_t widthX, int32_t /*widthY*/)
{
    if (!dc_)
        return;
    Pen copy = dc_->pen();
    copy.width = widthX;
    dc_->selectPen(copy);
}

void PenState::SetPen(ColorRef colour, int32_t width, uint32_t flags)
{
    if (!dc_)
        return;
    Pen copy = dc_->pen();
    copy.style = PS_SOLID;
    if (flags & kSetColour)
        copy.color = colour;
    if (flags & kSetWidth)
        copy.width = width;
    if (flags & kNullPen)
        copy.style = PS_NULL;
    dc_->selectPen(copy);
}

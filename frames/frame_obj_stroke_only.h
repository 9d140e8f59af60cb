// The frames drawn as a stroke alone, the line and the arc, over whichever
// frame they build on. They have no fill: colour, tint and pattern
// selectors 0 and 1 set the border and the fill alike, and the border is
// stroked at the view's line width (one unit at the least where there is a
// line at all) over the background colour. A hit lands on the band the
// frame says.
#pragma once

#include "frames/frame_obj.h"

template <class Base>
class FrameObjStrokeOnly : public Base {
public:
    void StrokeBorder(Dc* dc, int16_t) override
    {
        const FrameAttributes& a = this->block_.attr;
        const ColorRef background = dc->bkColor();
        if (a.background != kNoBackground)
            dc->setBkColor(this->Tint(a.background, 100));
        int32_t width = this->DocToViewLength(a.geometry.lineWidth);
        if (a.geometry.lineWidth != 0 && width < 1)
            width = 1;
        StrokeAtWidth(dc, int16_t(width));
        dc->setBkColor(background);
    }
    void FillShape(Dc*, uint8_t) override {}
    void FrameOutline(Dc*) override {}
    bool HitTest(const IntPoint& viewPoint) override
    {
        if (!this->block_.selectable)
            return false;
        return HitRegion().contains(viewPoint.x, viewPoint.y);
    }
    void SetColour(uint8_t value, uint8_t selector) override
    {
        Base::SetColour(value, selector);
        if (selector <= 1) {
            this->block_.attr.borderColour = value;
            this->block_.attr.fillColour = value;
        }
    }
    void SetTint(uint8_t value, uint8_t selector) override
    {
        Base::SetTint(value, selector);
        if (selector <= 1) {
            this->block_.attr.borderTint = value;
            this->block_.attr.fillTint = value;
        }
    }
    void SetPattern(uint8_t value, uint8_t selector) override
    {
        Base::SetPattern(value, selector);
        if (selector <= 1) {
            this->block_.attr.borderPattern = value;
            this->block_.attr.fillPattern = value;
        }
    }

protected:
    // Strokes the frame's shape in the view, viewWidth units wide.
    virtual void StrokeAtWidth(Dc* dc, int16_t viewWidth) = 0;
    // The band that takes hits, view units.
    virtual Region HitRegion() = 0;
};

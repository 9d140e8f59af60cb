#include "frames/standard_attributes.h"

#include "frames/frame_obj.h"

FrameAttributes StandardFrameAttributes(int16_t lineWidth, uint8_t sides)
{
    FrameAttributes a;
    a.geometry.lineWidth = lineWidth;
    a.geometry.lineStyle = 1;
    a.geometry.sides = sides;
    a.borderColour = 15;
    a.borderTint = 100;
    a.fillColour = 0;
    a.fillTint = 100;
    a.background = 0;
    a.shown = 1;
    a.printable = 1;
    a.attrByte = 1;
    a.textColour = 15;
    a.textTint = 100;
    a.fontId = kAttrNotSet;
    a.fontSize = kAttrNotSet;
    a.fontStyle = kAttrNotSet;
    a.dataField = kAttrNotSet;
    return a;
}

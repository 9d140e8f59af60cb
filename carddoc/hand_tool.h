// The Hand tool: a drag on a picture moves the picture inside its frame;
// anywhere else it grabs the page and scrolls the view with the pointer.
#pragma once

#include "carddoc/rect_tool.h"

enum : int32_t {
    kCursorGrab = 1,
    kCursorMovePicture = 34,
};

class HandTool : public FrameTool {
public:
    using FrameTool::FrameTool;
    int16_t GetKind() override { return kToolHand; }
    int32_t MouseDown(const IntPoint& viewPoint) override;
    // The bars show the frame under the hand.
    void GetGraphicAttrs(GraphicAttrs* out) override;
    int32_t GetCursor(const IntPoint& viewPoint) override;
};

// Whether a frame shows a picture that can be moved inside it.
bool IsPictureFrame(const FrameObj* frame);

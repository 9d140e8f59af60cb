// The Preview tool: a click on a frame that can show database data switches
// it between the current record's data and its own placeholder.
#pragma once

#include "carddoc/rect_tool.h"

enum : int32_t {
    kCursorPreview = 21,
};

class PreviewTool : public FrameTool {
public:
    using FrameTool::FrameTool;
    int16_t GetKind() override { return kToolPreview; }
    void Activate(FrameTool* previous, int16_t kind) override;
    void Deactivate() override;
    int32_t MouseDown(const IntPoint& viewPoint) override;
    int32_t GetCursor(const IntPoint& viewPoint) override;
};

// Text, counter, field barcodes, quick cards and record pictures.
bool IsRecordFedType(int16_t type);

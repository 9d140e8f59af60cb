// The Frame Text tool: draws an empty text frame in the style sheet's
// "Normal" style and hands it to the Text tool, so that the user types into
// it at once.
#pragma once

#include <array>

#include "carddoc/rect_tool.h"
#include "frames/style_record_format.h"

class FrameTextTool : public RectTool {
public:
    explicit FrameTextTool(ToolDocument* document);
    int16_t GetKind() override { return kToolFrameText; }
    int16_t GetFrameType() override;
    void Activate(FrameTool* previous, int16_t kind) override;
    // The frame gets a story of its own, flowed empty.
    FrameObj* CreateFrame(const IntRect& viewRect) override;
    void GetGraphicAttrs(GraphicAttrs* out) override;
    void GetTextAttrs(TextAttrs* out) override;
    // To the Text tool, not the Object tool, unless Ctrl is held.
    void ReturnToObjectTool() override;

    // The style the tool draws with: the document's "Normal".
    const uint8_t* Format() const { return style_.data(); }

private:
    void ReloadStyle();

    std::array<uint8_t, kStyleRecordSize> style_{};
};

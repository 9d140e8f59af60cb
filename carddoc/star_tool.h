// The star tool: asks for the star's shape (Star Info) when it is chosen and
// draws stars or regular polygons of that shape until another is asked for.
#pragma once

#include <functional>

#include "carddoc/rect_tool.h"
#include "frames/star_record_format.h"

// Runs Star Info on the settings; true after OK with the chosen ones in
// star. Tests install their own (null restores the dialog).
using StarInfoRunner = std::function<bool(StarParams* star, const FrameGeometry& geometry)>;
StarInfoRunner SetStarInfoRunner(StarInfoRunner runner);

class StarTool : public RectTool {
public:
    explicit StarTool(ToolDocument* document);
    int16_t GetKind() override { return kToolStar; }
    int16_t GetFrameType() override;
    // Cancelling Star Info returns to the Object tool.
    void Activate(FrameTool* previous, int16_t kind) override;
    void ApplyDefaults() override;

    const StarParams& Star() const { return star_; }

private:
    StarParams star_;
};

// The picture tool of File > Import Graphics: a picture file is chosen when
// the tool is chosen. With one image frame selected the frame takes the new
// picture at once; otherwise the next drag makes an image frame showing it.
#pragma once

#include <functional>

#include "foundation/path_record.h"
#include "toolbase/frame_tool.h"

// Lets the user choose a picture file; false when cancelled. Tests install
// their own (null restores the file dialog).
using PictureFileChooser = std::function<bool(PathRecord* chosen)>;
PictureFileChooser SetPictureFileChooser(PictureFileChooser chooser);

constexpr int32_t kCursorPicture = 19;

class PictureTool : public FrameTool {
public:
    explicit PictureTool(ToolDocument* document);
    int16_t GetKind() override;
    int16_t GetFrameType() override;
    void Activate(FrameTool* previous, int16_t kind) override;
    void Deactivate() override;
    FrameObj* CreateFrame(const IntRect& viewRect) override;
    int32_t GetCursor(const IntPoint& viewPoint) override;
    bool SaveUndo(int16_t action) override;

    const PathRecord& File() const { return file_; }

private:
    uint8_t LoadFlag();

    PathRecord file_{};
};

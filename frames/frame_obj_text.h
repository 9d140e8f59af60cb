// The text frame: a rectangle frame that shows a story of the story store,
// laid out line by line into its text rectangle. Several text frames can
// show one story in a chain. Its line table (one 196-byte record per laid-
// out line) belongs to the text engine; the rotated-text image it caches in
// the swap file is run-time state, never part of its block.
#pragma once

#include <optional>

#include "frames/frame_obj_rect.h"
#include "frames/record_table.h"
#include "graphics/dib_handle.h"

// Where a laid-out line's rectangle (i32 left, top, right, bottom, document
// units) stands in its record: behind the line's i32 paragraph index.
constexpr size_t kLineRectOffset = 4;

class FrameObjText : public FrameObjRect {
public:
    static constexpr uint32_t kLineRecordSize = 196;

    FrameObjText();
    // Frees the rotated-text image and gives its swap stretch back.
    ~FrameObjText() override;

    int16_t GetType() const override { return kFrameText; }
    // Not while the frame is part of a text chain.
    bool IsRotatable() const override;
    // The destination gets a copy of this frame's story from this frame's
    // text start on.
    int32_t CopyTo(FrameObj* destination) override;
    // The frame's story travels behind its block (in the story transfer
    // form); the results add.
    int32_t WriteOffset(FileHandle file, const IntPoint& origin) override;
    int32_t ReloadFrom(FileHandle file, const IntPoint& delta, uint16_t* oldId) override;

    // Moves the frame, its text-wrap outline and its laid-out lines by the
    // whole 32-bit delta (added when positive is set, else subtracted).
    void OffsetBy(const IntPoint& delta, uint8_t positive, uint8_t remember) override;

    // While the Text tool edits this frame, its text stands on white;
    // ghost drawing shows a hollow fill as a hatch.
    void DrawFill(Dc* dc) override;
    // The text, straight or through the rotated-text image.
    void DrawContent(Dc* dc) override;
    // The root's; a new tracker makes the rotated image stale.
    FrameTracker* CreateTracker(FrameView* view, int16_t mode) override;
    void SetBorderWidth(int16_t width) override;
    // The root's, then re-flow, a new text-wrap outline and a stale image.
    void Invalidate(int32_t flag) override;
    // The laid-out lines move with the frame.
    int32_t ShiftForOutput(uint8_t on, uint8_t mode, int32_t dx, int32_t dy) override;
    void EndDrag(uint8_t commit) override;

    // Draws the laid-out text straight into dc.
    virtual void DrawText(Dc* dc);
    // The same into an off-screen context.
    virtual void DrawTextInto(Dc* dc);
    // The unrotated bounds less the text inset and the border, document
    // units.
    virtual void GetTextRect(IntRect* out) const;
    // Turns a frame shown straight for editing back to its angle.
    virtual void RestoreRotation();
    // Shows a rotated frame straight while its text is edited.
    virtual void StraightenForEdit();

    // Whether the text is shown turned: through its turned image on the
    // screen, as glyphs under the turn on a printer or PDF file.
    bool ShownTurned() const;
    DibHandle RotatedImage() const { return image_; }
    int16_t ImageAngle() const { return imageAngle_; }
    bool ImageStored() const { return imageStored_ != 0; }
    // Moves every laid-out line's rectangle by delta, negated for a
    // negative sign.
    void OffsetLines(const IntPoint& delta, int16_t sign);
    void OffsetWrapOutline(int32_t dx, int32_t dy);

    RecordTable& LineTable() { return lines_; }
    // Off while a drag draws the selection's feedback itself.
    void SetDrawEditSelection(uint8_t on) { drawEditSelection_ = on; }

protected:
    // Frees the image; with dropStore its swap stretch too.
    void FreeImage(bool dropStore);
    // The text drawn unrotated on white in view units and turned by the
    // frame's angle, smoothly or pixel for pixel. Only the part that can be
    // seen is made: within the shown page (screen) or the device's clip.
    // *part then receives where the image goes, in view units, and is left
    // alone when the whole frame is made. Null when it cannot be made or
    // nothing of it can be seen.
    DibHandle RenderImage(Dc* dc, bool screen, bool smooth, std::optional<IntRect>* part);
    // Where an image made by RenderImage goes in view units.
    IntRect ImageTarget(const std::optional<IntRect>& part) const;
    // A rotated frame's text drawn as glyphs under its turn where dc's
    // target can turn its output (a print); false where it cannot.
    bool DrawTurnedText(Dc* dc, int16_t angle);
    // The display of a rotated frame through its cached image.
    void DrawRotated(Dc* dc);
    // The text frame's own content drawing, which the barcode frames fall
    // back on.
    void DrawTextContent(Dc* dc);
    // Whether the Text tool edits this frame now.
    bool InTextEdit() const;
    // The current-page manager's redraw after an edit.
    void RedrawPage();

    RecordTable lines_{kLineRecordSize};
    DibHandle image_ = nullptr;
    uint8_t imageStored_ = 0;
    uint32_t imageLength_ = 0;
    uint32_t imagePosition_ = 0;
    int16_t imageAngle_ = 0;
    // Where image_ goes when it holds only the visible part of the frame.
    std::optional<IntRect> imagePart_;
    // The zoom (numerator, denominator) the screen's image was made at.
    int16_t imageZoom_[2] = {0, 0};
    float savedAngle_ = 0.0f;
    int16_t savedOutlineKind_ = 0;
    uint8_t drawEditSelection_ = 1;
    uint8_t contentDrawn_ = 0;
};

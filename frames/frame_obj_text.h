// The text frame: a rectangle frame that shows a story of the story store,
// laid out line by line into its text rectangle. Several text frames can
// show one story in a chain. Its line table (one 196-byte record per laid-
// out line) belongs to the text engine; the rotated-text image it caches in
// the swap file is run-time state, never part of its block.
#pragma once

#include "frames/frame_obj_rect.h"
#include "frames/record_table.h"

// Where a laid-out line's rectangle (i32 left, top, right, bottom, document
// units) stands in its record: behind the line's i32 paragraph index.
constexpr size_t kLineRectOffset = 4;

class FrameObjText : public FrameObjRect {
public:
    static constexpr uint32_t kLineRecordSize = 196;

    FrameObjText();
    // Gives the rotated-text image's swap stretch back.
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

    // The unrotated bounds less the text inset and the border, document
    // units.
    virtual void GetTextRect(IntRect* out) const;
    // Moves every laid-out line's rectangle by delta, negated for a
    // negative sign.
    void OffsetLines(const IntPoint& delta, int16_t sign);

    RecordTable& LineTable() { return lines_; }

protected:
    RecordTable lines_{kLineRecordSize};
    uint8_t imageStored_ = 0;
    uint32_t imageLength_ = 0;
    uint32_t imagePosition_ = 0;
    int16_t imageAngle_ = 0;
    float savedAngle_ = 0.0f;
    int16_t savedOutlineKind_ = 0;
    uint8_t drawEditSelection_ = 1;
    uint8_t contentDrawn_ = 0;
};

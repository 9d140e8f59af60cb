// The text frame: a rectangle frame that shows a story of the story store,
// laid out line by line into its text rectangle. Several text frames can
// show one story in a chain. Its line table (one 196-byte record per laid-
// out line) belongs to the text engine; the rotated-text image it caches in
// the swap file is run-time state, never part of its block.
#pragma once

#include "frames/frame_obj_rect.h"
#include "frames/record_table.h"

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

    // The unrotated bounds less the text inset and the border, document
    // units.
    virtual void GetTextRect(IntRect* out) const;

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

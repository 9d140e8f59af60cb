// FRAMES, the document's table of all frames: one 56-byte record per frame
// of every page (frame_record_format.h), whether or not its frame object is
// in memory. Frame objects are made on demand from their blocks in the swap
// file and written back when they leave memory; the store writes every
// frame into the document, keeps the text chains and assembles the frames
// of the shown pages for the current-page manager.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/int_geometry.h"
#include "frames/frame_record_format.h"
#include "frames/swap_store.h"
#include "frames/text_position.h"

class FrameDocument;
class FrameObj;

class FrameStore : public SwapStore {
public:
    // How many frames per side, and groups, the shown pages can hold: the
    // current-page manager's capacity.
    static constexpr int32_t kPageListCapacity = 449;

    FrameStore(FrameDocument* document, CTFileMng* swap);
    // Every frame object still in memory is destroyed.
    ~FrameStore() override;

    FrameDocument* Document() const { return document_; }

    // A new frame of the type code; with insert it is entered into FRAMES
    // with a new id. Null, after the stop box 612, for a code without a
    // class, or 603 when memory runs out.
    FrameObj* CreateFrameObject(int16_t type, uint8_t insert);

    // The full current record (the header part is Current()).
    const uint8_t* CurrentFrame() const { return frame_; }
    // The frame object a record stands for, null when not in memory.
    FrameObj* ObjectOf(const uint8_t* record) const;

    // ---- store slots ----
    void FreeData(uint8_t* header) override;
    void PutRecord(int32_t index, const uint8_t* header) override;
    void GetRecord(int32_t index, uint8_t* header) override;
    int32_t LoadCurrent(uint8_t mode) override;
    // Always writes the frame's block to the swap file before the object
    // goes.
    int32_t UnloadCurrent() override;
    void ClearKeepFlags() override;
    uint32_t DataSize() override;
    int32_t WriteData(FileHandle file, uint32_t position) override;
    int32_t ReadData(FileHandle file, uint32_t position) override;
    // Writes every frame's block, then the record array. Nonzero when any
    // frame could not be written; the records in memory keep pointing into
    // the swap file either way.
    int32_t WriteStore(FileHandle file, int32_t offset) override;

    // ---- frames and records ----
    int32_t FindFrame(FrameObj* frame);
    void InitFrameRecord(FrameObj* frame);
    FrameObj* GetLoadedFrame(uint16_t id);
    FrameObj* LoadFrame(uint16_t id, uint8_t mode);
    // Loads on demand, switching the document to the frame's page first.
    FrameObj* GetFrameObject(uint16_t id);
    int32_t GetFrameRecord(uint16_t id, uint8_t* record);
    // Replaces the record but keeps what stands for its data in memory.
    int32_t SetFrameRecord(uint16_t id, const uint8_t* record);
    int32_t SetFlag4(FrameObj* frame, bool on);
    int32_t SetHeld(FrameObj* frame, bool on);
    void SetEditFlag(FrameObj* frame, bool on);
    bool IsInEdit(FrameObj* frame);
    int32_t SetEditFlagAll(FrameObj* frame, bool on);
    void SetFramePage(FrameObj* frame, uint32_t page, uint8_t residence);
    bool DeleteFrame(FrameObj* frame);
    int32_t RebuildPageLists();
    int32_t UnloadPageFrames();
    void SetNeedsReflow(uint16_t id);
    void ReplaceStoryId(int16_t oldId, int16_t newId);
    void SetCounterValueAll(int32_t value);
    FrameObj* FindShownStoryFrame(uint16_t id);
    bool SameStory(FrameObj* a, FrameObj* b);
    int32_t GetTextRef(uint16_t id, int16_t selector, uint32_t* paragraph, uint16_t* character);
    int32_t SetTextRef(uint16_t id, int16_t selector, uint32_t paragraph, uint16_t character);

    // ---- text chains ----
    // Direction 1 next, 0 previous. Mode 0 the neighbour, 1 the neighbour
    // only when held, 2 the first held frame that way. 0 when none.
    uint16_t ChainStep(int16_t direction, uint16_t id, int16_t mode);
    uint16_t ChainHead(uint16_t id, bool reflowOnly, int16_t stepMode);
    void GetFrameStart(uint16_t id, TextPosition* start, TextPosition* end);
    bool FlowFrame(uint16_t id, bool lookUp);
    bool SetFrameEnd(uint16_t id, const TextPosition& end);
    uint16_t FindFrameForPos(uint16_t id, const TextPosition& position);
    bool IsChained(const FrameObj* frame);
    void Unlink(FrameObj* frame);
    void LinkAfter(uint16_t id, FrameObj* frame);
    void LinkTextAfter(FrameObj* a, FrameObj* b);
    void LinkFrames(FrameObj* frame, uint16_t id);
    int16_t NewStory(FrameObj* frame, bool keep);
    void SetStoryId(uint16_t frameId, int16_t storyId);
    void MarkStoryFrames(bool heldOnly, int16_t storyId);
    void InvalidateChain(uint16_t id);
    FrameObj* GetStoryStart(FrameObj* frame);
    bool ReflowHeld(bool all);
    IntRect GetCurrentTextRect();

    // ---- the shown pages ----
    void CollectPageFrames(const uint32_t pages[2], const IntPoint offsets[2], uint8_t residence, bool hold);
    void PackPageLists();
    int32_t TakePageFrames(FrameObj** array, int32_t capacity, bool byZOrder);
    int32_t TakePageGroups(FrameObj** array, int32_t capacity, int32_t start);
    int32_t CollectedCount(int side) const { return sideCount_[side]; }
    FrameObj* CollectedAt(int side, int32_t i) const { return sides_[side][i]; }

private:
    // The full record at index becomes current (header part included).
    bool SelectRecord(int32_t index);
    // Writes the full current record back to its index.
    void StoreCurrent();
    // The record of an id made current; false when absent.
    bool SelectId(uint16_t id);
    // Marks the record of id for re-flow and, when its frame is in memory,
    // marks the frame changed.
    void MarkReflow(uint16_t id, bool markObject);
    // The block of an image or picture frame as the swap file has it, for
    // a save that cannot load the frame: the picture is not in the
    // document then, so block B is told so.
    int32_t ReadRawBlock(Handle* out);

    FrameDocument* document_;
    uint8_t frame_[kFrameRecordSize] = {};
    int32_t frameIndex_ = -1;

    FrameObj* groups_[kPageListCapacity] = {};
    int32_t groupCount_ = 0;
    FrameObj* sides_[2][kPageListCapacity] = {};
    int32_t sideCount_[2] = {};
};

// The record-level swap protocol of the swappable stores: sizing, writing,
// reading and releasing the data of one record header at a time (the one it
// is attached to), in the swap file or in an open document file.
//
// A header's data slot holds a token of this manager's DataSlots; the data
// itself (a Handle here, a frame object in the frame store) is reached
// through it.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "frames/ctfile_mng.h"
#include "frames/data_slots.h"

// Results of the swap protocol (0 is success).
enum : int32_t {
    kStoreNoCopy = 103,       // the record has no copy to load
    kStoreSwapRead = 104,     // the swap file could not be read, or memory ran out
    kStoreDocWrite = 105,     // a document write failed
    kStoreDocRead = 106,      // a document read failed, or memory ran out
    kStoreSwapNotOpen = 111,  // the swap file is not open
    kStoreNoSwap = 112,       // the store has no swap-file manager
    kStoreFull = 113,         // every record id of the store is in use
};

class CStoreMng {
public:
    explicit CStoreMng(CTFileMng* swap) : swap_(swap) {}
    virtual ~CStoreMng() = default;
    CStoreMng(const CStoreMng&) = delete;
    CStoreMng& operator=(const CStoreMng&) = delete;

    void Attach(uint8_t* header) { attached_ = header; }
    void Detach() { attached_ = nullptr; }
    CTFileMng* SwapFile() const { return swap_; }

    // The size the data has now (0 without data).
    virtual uint32_t DataSize();
    virtual uint32_t StoredSize();
    // Makes the data a Handle of exactly the header's size; 1 when memory
    // runs out.
    virtual int32_t PrepareHandle();
    // Writes the data to the swap file when it has no current copy there.
    virtual int32_t SwapOut();
    virtual int32_t WriteData(FileHandle file, uint32_t position);
    // Loads the data from the swap file when it is not in memory; mode
    // bits join the flags.
    virtual int32_t SwapIn(uint8_t mode);
    // Reads size bytes at position into the data; 104 when the bytes lie
    // beyond the file, memory runs out or the read fails (no data then).
    virtual int32_t ReadData(FileHandle file, uint32_t position);
    // The data from or to the document file at its current position.
    virtual int32_t ReadFromFile(FileHandle file);
    virtual int32_t WriteToFile(FileHandle file);
    // Gives the record's swap stretch back when it has one.
    virtual void ReleaseSwapCopy();

    // The data Handle a header stands for, null when none.
    Handle DataHandle(const uint8_t* header) const;
    // Makes the header stand for h (null clears it). An earlier Handle is
    // forgotten, not freed.
    void SetDataHandle(uint8_t* header, Handle h);

protected:
    // Reads size bytes into the prepared data, at seekTo or (-1) where the
    // file stands; on failure the record is left without data.
    bool ReadIntoData(FileHandle file, int64_t seekTo, uint32_t size);

    uint8_t* attached_ = nullptr;
    CTFileMng* swap_;
    DataSlots slots_;
};

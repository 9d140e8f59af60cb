// The swap file of a card document (or of the clipboard window): a
// temporary file named "KPX..." that goes away with its handle, into which
// the swappable stores move the data of frames, stories and paragraphs that
// are not in memory. The stretches no longer used are kept in a free list of
// {position, length} entries, in ascending position order and never
// touching (neighbours are merged); the list lives only in memory.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "frames/kept_pictures.h"
#include "frames/store_array.h"
#include "graphics/dib_store_io.h"

// A swap position that names no stretch (-1 in the stored records).
constexpr uint32_t kNoSwapPosition = kStoreNoPosition;

// Pictures keep their store form here too, through StoreFileIo.
class CTFileMng : public StoreArray, public StoreFileIo {
public:
    CTFileMng();
    // Closes the file; the system removes it with the handle.
    ~CTFileMng() override;

    // Creates the swap file in folder, or once more in the system's
    // temporary folder when that fails. 0, or the error code after the
    // stop box 457. A swap file already open is replaced, empty.
    int32_t CreateSwapFile(const PathRecord& folder);
    bool IsOpen() const { return notOpen_ == 0 && file_ != kNoFile; }
    FileHandle GetFileHandle() const { return file_; }
    // Where the file was made; its name is already free again.
    const PathRecord& SwapPath() const { return path_; }
    // Whether the file was made in the system's temporary folder, whose
    // path then goes to *folder (for the messages about its disk).
    bool InTempFolder(std::string* folder) const;

    // 0 or the file layer's code; 1 when not open or the position is none.
    int32_t ReadAt(uint32_t position, uint32_t n, void* buffer);
    int32_t WriteAt(uint32_t position, uint32_t n, const void* buffer);
    int32_t ReadAt(uint32_t position, void* bytes, uint32_t n) override { return ReadAt(position, n, bytes); }
    int32_t WriteAt(uint32_t position, const void* bytes, uint32_t n) override { return WriteAt(position, n, bytes); }
    // 0, or 1 when not open, the position is none or the seek fails. The
    // caller then reads or writes through the handle, so the pictures kept
    // are forgotten.
    int32_t Seek(uint32_t position);
    // The position, or -1.
    int64_t Tell();
    uint32_t GetFileSize();
    bool HasDiskSpace(double n);
    // Mode 1 or 3 cuts the file to length 0 (its result is returned), mode
    // 2 or 3 empties the free list. 1 when not open.
    int32_t Flush(int16_t mode);

    // Best fit among the free stretches, else the end of the file (while
    // the disk has room). kNoSwapPosition when no room can be had; the
    // first such failure shows message 456.
    uint32_t Allocate(uint32_t n) override;
    // Gives a stretch back. Parts already free, or beyond the end of the
    // file, are left out, so that no stretch is ever handed out twice.
    void FreeSpace(uint32_t position, uint32_t length);

    // Writes the Handle's bytes to a new stretch: its position, or
    // kNoSwapPosition for a null Handle or a failed write (no stretch is
    // kept then).
    uint32_t SaveHandle(Handle h, uint32_t* size);
    // A new Handle of size bytes from position. 1 (and a null Handle) when
    // the bytes lie beyond the file, memory runs out or the read fails.
    int32_t LoadHandle(Handle* out, uint32_t size, uint32_t position);

    // Pictures of frames swapped out, kept decoded (see kept_pictures.h).
    KeptPictures& Pictures() { return pictures_; }
    // The free list, for inspection.
    int32_t FreeCount() const { return Count(); }
    void FreeEntry(int32_t i, uint32_t* position, uint32_t* length) const;

    // Where free disk space comes from (tests replace it); answers the
    // previous query.
    using FreeSpaceQuery = double (*)(const char* folder);
    static FreeSpaceQuery SetFreeSpaceQuery(FreeSpaceQuery query);

private:
    uint32_t EndOfData();
    double FreeDiskBytes();
    void InsertFree(uint32_t position, uint32_t length);

    uint8_t notOpen_ = 0xFF;
    PathRecord path_{};
    FileHandle file_ = kNoFile;
    uint8_t reportDiskFull_ = 1;
    // The end of what has been handed out: stretches given at the end of
    // the file are reserved here before they are written.
    uint32_t endMark_ = 0;
    KeptPictures pictures_;
};

// The label-type table: the label-stock layouts of the file "Tessaline.dat"
// in the program folder, in file order, with the operations the List of
// Labels and Label Type dialogs and the label list controls edit it by.
//
// The table reports no error itself. The first failure becomes the pending
// error and from then on every operation refuses (returns 0 or false and
// changes nothing), so nothing more can reach the file; the dialogs look at
// the pending error to tell the user.
//
// Saving writes a new file beside the old one that takes its place only
// once it is whole, so a failure while saving leaves the old file as it was.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "records/label_stock.h"

enum class LabelErrorKind : int32_t {
    kNone = 0,
    kFile = 1,     // cause: the file layer's code (2: the file does not exist)
    kMemory = 2,   // no memory for a record
    kDamaged = 3,  // the file holds something no label-type file holds
};

struct LabelError {
    LabelErrorKind kind = LabelErrorKind::kNone;
    int32_t cause = 0;
};

class CDBLabel {
public:
    CDBLabel() = default;
    // Closes the file; unsaved changes are not written.
    ~CDBLabel();
    CDBLabel(const CDBLabel&) = delete;
    CDBLabel& operator=(const CDBLabel&) = delete;

    // Opens an existing file for reading and writing. 1, or 0 with the file
    // layer's code as the pending error; refused (0) on a pending error, an
    // empty path or while a file is open.
    int32_t OpenLabelFile(const PathRecord* path);
    // As OpenLabelFile, but a pending "file not found" is forgotten first
    // and a missing file is made (empty). A file already there is opened
    // as it is, never emptied.
    int32_t CreateLabelFile(const PathRecord* path);
    // Reads the file's whole records into the table, in place of what it
    // held. 1 when read (an empty file too); 0 when refused or on failure,
    // the table then unchanged.
    int32_t ReadAll();
    // Writes the table to the file when anything changed since it was read
    // or last written. 1 when written; 0 when refused, unchanged, or on
    // failure (then pending).
    int32_t WriteAll();

    // Inserts a copy after position index (-1 or less: first; count - 1 or
    // more: last). False when refused, the table full or out of memory.
    bool InsertLabelType(int32_t index, const LabelTypeRecord& record);
    // False when refused or out of range.
    bool DeleteLabelType(int32_t index);
    bool SetLabelType(int32_t index, const LabelTypeRecord& record);
    bool SwapLabelTypes(int32_t i, int32_t j);
    // Byte-wise comparison of the names, case counting: negative, 0 or
    // positive. 0 when either index is out of range.
    int32_t CompareLabelTypes(int32_t i, int32_t j) const;
    // Sorts by name, ascending, by exchanges. A selected index in range
    // follows its record; the new one is also returned (unchanged when out
    // of range or refused).
    int32_t SortLabelTypes(int32_t* selected);

    int32_t GetCount() const { return int32_t(records_.size()); }
    // The record at index, or null when out of range.
    const LabelTypeRecord* GetLabelType(int32_t index) const;
    bool GetLabelType(int32_t index, LabelTypeRecord* out) const;

    bool HasPendingError() const { return error_.kind != LabelErrorKind::kNone; }
    const LabelError& PendingError() const { return error_; }
    bool IsChanged() const { return changed_ != 0; }
    bool IsOpen() const { return open_ != 0; }

private:
    int32_t Open(const PathRecord* path, bool create);
    void Fail(LabelErrorKind kind, int32_t cause);
    bool Editable() const { return !HasPendingError(); }
    int32_t WriteReplacement();

    std::vector<LabelTypeRecord> records_;
    int32_t changed_ = 0;
    uint8_t open_ = 0;
    FileHandle file_ = kNoFile;
    PathRecord path_{};
    LabelError error_;
};

// The label-type file of the program folder. 0 or the file layer's code.
int32_t GetLabelFilePath(PathRecord* out);

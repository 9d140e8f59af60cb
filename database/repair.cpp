#include "database/repair.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "database/db_file_io.h"
#include "database/field_table.h"
#include "database/file_swap.h"
#include "database/progress_window.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

namespace {

constexpr int32_t kStringFixing = 256;
constexpr uint32_t kMax = dbrec::kMaxRecordSize;

// The record file's bytes from the data start on, read ahead in a window
// that always holds a candidate and the record after it.
class ByteWindow {
public:
    ByteWindow(FileHandle file, uint32_t size) : file_(file), size_(size), buffer_(new uint8_t[kWindow]) {}

    uint32_t size() const { return size_; }
    int32_t error() const { return error_; }
    // Bytes [at, at + n) clipped to the file; null after a read error.
    const uint8_t* At(uint32_t at, uint32_t n)
    {
        n = std::min(n, size_ - std::min(at, size_));
        if (at >= start_ && at + n <= start_ + length_)
            return buffer_.get() + (at - start_);
        const uint32_t want = std::min(kWindow, size_ - std::min(at, size_));
        uint32_t got = 0;
        const int32_t err = DbReadSomeAt(file_, at, buffer_.get(), want, &got);
        start_ = at;
        length_ = got;
        if ((err != kErrNone && err != kErrHandleEof) || got < n) {
            error_ = err != kErrNone ? err : kErrHandleEof;
            return nullptr;
        }
        return buffer_.get();
    }

private:
    static constexpr uint32_t kWindow = 256 * 1024;
    FileHandle file_;
    uint32_t size_;
    std::unique_ptr<uint8_t[]> buffer_;
    uint32_t start_ = 0;
    uint32_t length_ = 0;
    int32_t error_ = kErrNone;
};

// A record standing whole at p: a sound head within the table's limits,
// its zero byte in place, and the next record (or the end of the file)
// right behind it. Such a record is taken as it is, 0xFC bytes in its text
// ("\xFC" is a letter) included. 0 when the bytes are no such record.
uint32_t WholeRecordAt(ByteWindow& window, uint32_t p)
{
    const uint8_t* head = window.At(p, kMax + 1);
    if (!head || window.size() - p < dbrec::kHeadSize)
        return 0;
    if (head[dbrec::kFlagsOffset] & ~dbrec::kFlagsStored)
        return 0;
    const uint32_t length = SoundRecordLength(head);
    if (length == 0 || length > window.size() - p)
        return 0;
    if (head[dbrec::kBodies + RecordBodySum(head)] != 0)
        return 0;
    if (p + length != window.size() && head[length] != dbrec::kMarker)
        return 0;
    return length;
}

// True when a whole record starts anywhere in (p, size).
bool WholeRecordFollows(ByteWindow& window, uint32_t p)
{
    for (uint32_t q = p + 1; q < window.size(); ++q) {
        const uint8_t* byte = window.At(q, 1);
        if (byte && byte[0] == dbrec::kMarker && WholeRecordAt(window, q))
            return true;
    }
    return false;
}

// Fits a candidate of extent bytes: an over-long field loses its excess
// bytes (the later bodies move up), then fields are cut from the last one
// back until the record fits. False when even an empty record does not.
bool FitCandidate(uint8_t* record, uint32_t extent, bool* changed)
{
    *changed = false;
    if (extent < dbrec::kHeadSize)
        return false;
    PutI16LE(record + dbrec::kSlack, 0);
    uint32_t at = dbrec::kBodies;
    for (int32_t id = 0; id < kBodyFieldCount; ++id) {
        const uint32_t length = record[dbrec::kLengths + id];
        const uint32_t max = FieldMaxLength(id);
        if (length > max) {
            // Only the excess bytes the candidate holds go; those it claims
            // beyond its end are not there to take out.
            const uint32_t end = std::min<uint32_t>(extent, kMax);
            const uint32_t from = std::min(at + max, end);
            const uint32_t to = std::min(at + length, end);
            std::memmove(record + from, record + to, end - to);
            record[dbrec::kLengths + id] = uint8_t(max);
            extent -= to - from;
            *changed = true;
        }
        at += record[dbrec::kLengths + id];
    }
    if (extent < dbrec::kHeadSize)
        return false;
    for (int32_t id = kBodyFieldCount - 1; id >= 0 && dbrec::kHeadSize + RecordBodySum(record) > extent; --id) {
        const uint32_t over = dbrec::kHeadSize + RecordBodySum(record) - extent;
        const uint8_t length = record[dbrec::kLengths + id];
        const uint8_t cut = uint8_t(std::min<uint32_t>(length, over));
        if (cut) {
            record[dbrec::kLengths + id] = uint8_t(length - cut);
            *changed = true;
        }
    }
    return dbrec::kHeadSize + RecordBodySum(record) <= extent;
}

// True when a field's text holds a control byte: no text the program
// stores has one (a line end read from a text file becomes a space), so
// such a record is bytes that were never a record (junk appended to the
// file, a stretch of another file) and would print as a card of garbage.
// A tab may come in with an imported field.
bool HoldsControlBytes(const uint8_t* record)
{
    const uint8_t* body = record + dbrec::kBodies;
    const uint8_t* end = body + RecordBodySum(record);
    for (; body < end; ++body)
        if (*body < 0x20 && *body != '\t')
            return true;
    return false;
}

}  // namespace

int32_t RepairDataFile(FileHandle* file, const PathRecord* path, uint32_t dataStart, int32_t storedCount,
                       RepairCounts* counts)
{
    RepairCounts local;
    RepairCounts& result = counts ? *counts : local;
    result = RepairCounts{};
    if (!file || *file == kNoFile)
        return 1;
    uint32_t size = 0;
    int32_t err = DbGetSize(*file, &size);
    if (err == kErrNone && size < dataStart)
        err = kErrHandleEof;

    FileSwap swap(*path);
    if (err == kErrNone)
        err = swap.Begin();
    std::unique_ptr<uint8_t[]> head(new uint8_t[dataStart]);
    if (err == kErrNone)
        err = DbReadAt(*file, 0, head.get(), dataStart);
    if (err == kErrNone)
        err = swap.Append(head.get(), dataStart);

    char name[512];
    PathRecordGetFileName(path, name, sizeof name);
    int32_t kept = 0;
    {
        DbProgressWindow progress(name, WorkingMessage(kStringFixing), storedCount, 1, 1);
        ByteWindow window(*file, size);
        uint32_t p = dataStart;
        while (err == kErrNone && p < size) {
            const uint8_t* bytes = window.At(p, 1);
            if (!bytes) {
                err = window.error();
                break;
            }
            if (bytes[0] != dbrec::kMarker) {
                ++p;
                continue;
            }
            progress.Step();
            uint8_t record[kMax];
            bool cut = false;
            if (const uint32_t length = WholeRecordAt(window, p)) {
                std::memcpy(record, window.At(p, length), length);
                p += length;
            } else {
                // A candidate runs to the next marker byte or the end of
                // the file, and never beyond the largest record.
                const uint8_t* from = window.At(p, kMax + 1);
                if (!from) {
                    err = window.error();
                    break;
                }
                // The start of a record cut short by the end of the file,
                // with nothing whole behind it, is a write that never
                // finished.
                if (size - p <= kMax && IsTornRecord(from, size - p)) {
                    if (!WholeRecordFollows(window, p)) {
                        result.unfinished = size - p;
                        break;
                    }
                    from = window.At(p, kMax + 1);
                    if (!from) {
                        err = window.error();
                        break;
                    }
                }
                const uint32_t available = std::min(kMax + 1, size - p);
                const void* next = std::memchr(from + 1, dbrec::kMarker, available - 1);
                const uint32_t extent = next ? uint32_t(static_cast<const uint8_t*>(next) - from) : available;
                std::memset(record, ' ', kMax);
                std::memcpy(record, from, std::min(extent, kMax));
                bool changed = false;
                const bool fits = FitCandidate(record, std::min(extent, kMax), &changed);
                // Without a marker in reach the scan goes on behind the
                // candidate: records may still follow the damaged stretch.
                p += extent;
                // Cut down to no text at all, a candidate keeps nothing of
                // a record, and would print as a blank card; flags no
                // record carries say it never was one.
                if (!fits || (changed && RecordBodySum(record) == 0) ||
                    (record[dbrec::kFlagsOffset] & ~dbrec::kFlagsStored)) {
                    ++result.lost;
                    continue;
                }
                cut = changed;
            }
            if (HoldsControlBytes(record)) {
                ++result.lost;
                continue;
            }
            if (cut)
                ++result.repaired;
            PutI16LE(record + dbrec::kSlack, 0);
            const uint32_t length = dbrec::kHeadSize + RecordBodySum(record);
            record[length - 1] = 0;
            err = swap.Append(record, length);
            ++kept;
        }
    }
    // Records the header counted that the file no longer holds at all (it
    // was cut short) are lost as well; but a count more than any database
    // file can hold is a damaged header, no evidence of records.
    const bool countHeld = storedCount >= 0 && uint32_t(storedCount) <= (UINT32_MAX - dataStart) / dbrec::kHeadSize;
    if (countHeld)
        result.lost = std::max(result.lost, storedCount - kept);
    FileHandle repaired = kNoFile;
    if (err == kErrNone)
        err = swap.Commit(&repaired);
    if (err != kErrNone) {
        // The original file is left exactly as it was.
        AlertStop("I/O Error", err);
    } else {
        FileClose(*file);
        *file = repaired;
    }
    std::string report = " Ok.\nNumber of damage records: " + std::to_string(result.repaired) +
                         "\nNumber of lost records: " + std::to_string(result.lost);
    if (!countHeld)
        report += "\nThe header counted " + std::to_string(storedCount) +
                  " records, more than a database file can hold: the count was wrong, not the records; " +
                  std::to_string(kept) + " were found and kept.";
    AlertNote(report.c_str(), 0);
    return err == kErrNone ? 0 : 1;
}

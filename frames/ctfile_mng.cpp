#include "frames/ctfile_mng.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/path_record.h"
#include "foundation/scratch_mark.h"
#include "foundation/win_error.h"

namespace {

constexpr uint32_t kFreeEntrySize = 8;
constexpr int32_t kFileMngBase = 450;
constexpr int32_t kMsgDiskFull = 6;
constexpr int32_t kMsgNoTempFile = 7;

CTFileMng::FreeSpaceQuery g_freeSpaceQuery = GetDiskFreeBytes;

// Creates a "KPX" name in folder and opens it so that it goes away with the
// handle. A name that was made but could not be opened is removed again.
int32_t MakeSwapFile(const PathRecord& folder, PathRecord* made, FileHandle* file)
{
    *file = kNoFile;
    int32_t err = CreateTempFileName(&folder, "KPX", made);
    if (err != kErrNone)
        return err;
    // Killed before the open below, the program leaves the name: marked, it
    // is known for its own.
    MarkOwnScratch(PathRecordToPosix(*made));
    err = FileOpenDeleteOnClose(made, kFileReadWrite, file);
    if (err != kErrNone) {
        *file = kNoFile;
        FileDelete(made);
    }
    return err;
}

}  // namespace

CTFileMng::CTFileMng() : StoreArray(kFreeEntrySize) {}

CTFileMng::~CTFileMng()
{
    if (file_ != kNoFile) {
        FileClose(file_);
        file_ = kNoFile;
    }
}

CTFileMng::FreeSpaceQuery CTFileMng::SetFreeSpaceQuery(FreeSpaceQuery query)
{
    return std::exchange(g_freeSpaceQuery, query ? query : GetDiskFreeBytes);
}

int32_t CTFileMng::CreateSwapFile(const PathRecord& folder)
{
    // A swap file made again elsewhere replaces the one there was, which
    // goes with its handle.
    if (file_ != kNoFile) {
        FileClose(file_);
        file_ = kNoFile;
    }
    notOpen_ = 0;
    PathRecord made{};
    int32_t err = MakeSwapFile(folder, &made, &file_);
    if (err != kErrNone) {
        PathRecord temp{};
        if (GetSystemTempFolder(&temp) == kErrNone)
            err = MakeSwapFile(temp, &made, &file_);
    }
    if (err != kErrNone) {
        AlertStopById(kFileMngBase, kMsgNoTempFile, err);
        return err;
    }
    path_ = made;
    endMark_ = 0;
    return kErrNone;
}

int32_t CTFileMng::ReadAt(uint32_t position, uint32_t n, void* buffer)
{
    if (!IsOpen() || position == kNoSwapPosition || position > uint32_t(INT32_MAX))
        return 1;
    int32_t err = FileSeek(file_, kSeekStart, int32_t(position));
    if (err != kErrNone)
        return err;
    return FileRead(file_, buffer, n);
}

int32_t CTFileMng::WriteAt(uint32_t position, uint32_t n, const void* buffer)
{
    if (!IsOpen() || position == kNoSwapPosition || position > uint32_t(INT32_MAX))
        return 1;
    pictures_.Forget(position, n);
    int32_t err = FileSeek(file_, kSeekStart, int32_t(position));
    if (err != kErrNone)
        return err;
    return FileWrite(file_, buffer, n);
}

int32_t CTFileMng::Seek(uint32_t position)
{
    if (!IsOpen() || position == kNoSwapPosition || position > uint32_t(INT32_MAX))
        return 1;
    pictures_.Clear();
    int32_t err = FileSeek(file_, kSeekStart, int32_t(position));
    return err == kErrNone || err == kErrHandleEof ? 0 : 1;
}

int64_t CTFileMng::Tell()
{
    uint32_t pos = 0;
    if (!IsOpen() || FileTell(file_, &pos) != kErrNone)
        return -1;
    return pos;
}

uint32_t CTFileMng::GetFileSize()
{
    uint32_t size = 0;
    if (IsOpen())
        ::FileGetSize(file_, &size);
    return size;
}

double CTFileMng::FreeDiskBytes()
{
    char folder[kPathTextSize];
    PathRecord where = path_;
    where.name[0] = 0;
    where.extension[0] = 0;
    PathRecordToString(&where, folder);
    return g_freeSpaceQuery(folder);
}

bool CTFileMng::InTempFolder(std::string* folder) const
{
    PathRecord temp{};
    if (GetSystemTempFolder(&temp) != kErrNone)
        return false;
    *folder = PathRecordToPosix(temp);
    const std::string swap = PathRecordToPosix(path_);
    return swap.compare(0, folder->size(), *folder) == 0 && swap.find('/', folder->size()) == std::string::npos;
}

bool CTFileMng::HasDiskSpace(double n) { return FreeDiskBytes() > n; }

int32_t CTFileMng::Flush(int16_t mode)
{
    if (!IsOpen())
        return 1;
    int32_t result = 0;
    if (mode == 1 || mode == 3) {
        pictures_.Clear();
        result = FileSetSize(file_, 0);
        if (result == kErrNone)
            endMark_ = 0;
    }
    if (mode == 2 || mode == 3) {
        HandleResize(records_, 0);
        count_ = 0;
    }
    return result;
}

uint32_t CTFileMng::EndOfData() { return std::max(endMark_, GetFileSize()); }

uint32_t CTFileMng::Allocate(uint32_t n)
{
    int32_t best = -1;
    uint32_t bestLength = 0;
    for (int32_t i = 0; i < count_; ++i) {
        const uint8_t* e = RecordPtr(i);
        const uint32_t length = GetU32LE(e + 4);
        if (length >= n && (best < 0 || length < bestLength)) {
            best = i;
            bestLength = length;
        }
    }
    if (best >= 0) {
        uint8_t* e = RecordPtr(best);
        const uint32_t position = GetU32LE(e);
        if (bestLength == n) {
            DeleteOne(best);
        } else {
            PutU32LE(e, position + n);
            PutU32LE(e + 4, bestLength - n);
        }
        return position;
    }
    const uint32_t end = EndOfData();
    if (uint64_t(end) + n < uint64_t(INT32_MAX) && double(n) <= FreeDiskBytes()) {
        endMark_ = end + n;
        reportDiskFull_ = 1;
        return end;
    }
    if (reportDiskFull_ == 1) {
        // A swap file in the temporary folder fills that folder's disk, not
        // the document's: the message says which.
        std::string temp;
        if (InTempFolder(&temp))
            AlertStop(("The disk of the temporary folder \"" + temp +
                       "\" is full. Cannot keep any more of the document's changes there.")
                          .c_str(),
                      0);
        else
            AlertStopById(kFileMngBase, kMsgDiskFull, 0);
    }
    reportDiskFull_ = 0;
    return kNoSwapPosition;
}

void CTFileMng::InsertFree(uint32_t position, uint32_t length)
{
    int32_t at = 0;
    while (at < count_ && GetU32LE(RecordPtr(at)) <= position)
        ++at;
    uint8_t entry[kFreeEntrySize];
    PutU32LE(entry, position);
    PutU32LE(entry + 4, length);
    InsertAt(at, entry);
}

void CTFileMng::FreeSpace(uint32_t position, uint32_t length)
{
    if (length == 0 || position == kNoSwapPosition)
        return;
    pictures_.Forget(position, length);
    const uint64_t limit = EndOfData();
    uint64_t start = position;
    uint64_t end = std::min<uint64_t>(uint64_t(position) + length, limit);
    // Only the parts that no free entry covers yet go into the list.
    for (int32_t i = 0; i < count_ && start < end; ++i) {
        const uint8_t* e = RecordPtr(i);
        const uint64_t a = GetU32LE(e);
        const uint64_t b = a + GetU32LE(e + 4);
        if (b <= start)
            continue;
        if (a >= end)
            break;
        if (a > start)
            InsertFree(uint32_t(start), uint32_t(a - start)), ++i;
        start = std::max(start, b);
    }
    if (start < end)
        InsertFree(uint32_t(start), uint32_t(end - start));
    for (int32_t i = 0; i + 1 < count_;) {
        uint8_t* e = RecordPtr(i);
        const uint8_t* next = RecordPtr(i + 1);
        if (uint64_t(GetU32LE(e)) + GetU32LE(e + 4) == GetU32LE(next)) {
            PutU32LE(e + 4, GetU32LE(e + 4) + GetU32LE(next + 4));
            DeleteOne(i + 1);
        } else {
            ++i;
        }
    }
}

uint32_t CTFileMng::SaveHandle(Handle h, uint32_t* size)
{
    *size = HandleGetSize(h);
    if (!h)
        return kNoSwapPosition;
    const uint32_t position = Allocate(*size);
    if (position == kNoSwapPosition)
        return kNoSwapPosition;
    if (WriteAt(position, *size, HandleData(h)) != kErrNone) {
        FreeSpace(position, *size);
        return kNoSwapPosition;
    }
    return position;
}

int32_t CTFileMng::LoadHandle(Handle* out, uint32_t size, uint32_t position)
{
    *out = nullptr;
    if (position == kNoSwapPosition || uint64_t(position) + size > GetFileSize())
        return 1;
    Handle h = HandleNew(size);
    if (!h)
        return 1;
    if (ReadAt(position, size, HandleData(h)) != kErrNone) {
        HandleFree(h);
        return 1;
    }
    *out = h;
    return 0;
}

void CTFileMng::FreeEntry(int32_t i, uint32_t* position, uint32_t* length) const
{
    const uint8_t* e = RecordPtr(i);
    *position = e ? GetU32LE(e) : 0;
    *length = e ? GetU32LE(e + 4) : 0;
}

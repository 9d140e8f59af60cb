#include "database/index_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "database/db_file_io.h"
#include "database/index_block.h"
#include "foundation/alert_sink.h"
#include "foundation/byte_order.h"
#include "foundation/win_error.h"

namespace {

const char* const kIndexErrorTexts[] = {
    "Error - cannot open/close index file",
    "Error while reading index file",
    "Error while writing file",
};

int32_t BlockNumber(int32_t position) { return (position - kIndexFirstBlock) / kIndexBlockSize; }

}  // namespace

std::string FormatIndexErrorText(int16_t kind, int32_t number, int32_t position, const char* fileName)
{
    if (number == 0)
        return std::string();
    const char* text = kIndexErrorTexts[std::clamp<int16_t>(kind, kIndexErrorOpen, kIndexErrorWrite)];
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%s [%ld] \nRecord %d \nFile %s", text, long(number), int(position),
                  fileName != nullptr ? fileName : "");
    return buffer;
}

IndexFile::IndexFile(int32_t cacheBlocks) : maxSlots_(size_t(std::max<int32_t>(cacheBlocks, kMinCacheBlocks))) {}

IndexFile::~IndexFile()
{
    if (file_ != kNoFile)
        FileClose(file_);
}

void IndexFile::SetErrorReporter(IndexErrorReporter reporter, void* context)
{
    reporter_ = reporter;
    reporterContext_ = context;
}

void IndexFile::ReportError(int16_t kind, int32_t number, int32_t position)
{
    if (reporter_ != nullptr) {
        reporter_(reporterContext_, kind, number, position, filePath_.name);
        return;
    }
    ShowMessageBox(FormatIndexErrorText(kind, number, position, filePath_.name), kMbOk);
}

void IndexFile::Fail(int16_t kind, int32_t number, int32_t position)
{
    // Once failed the index is not trusted again; one box says so.
    if (failed_)
        return;
    failed_ = true;
    ReportError(kind, number, position);
}

// ---------------------------------------------------------------------------
// Lifecycle

void IndexFile::ResetState()
{
    file_ = kNoFile;
    level_ = 0;
    std::memset(cursor_, 0, sizeof cursor_);
    cursorOnPath_ = false;
    appendPathKnown_ = false;
    std::memset(header_, 0, sizeof header_);
    fileSize_ = 0;
    open_ = false;
    discard_ = false;
    failed_ = false;
    fileError_ = 0;
}

void IndexFile::InitCache()
{
    // Slots are made as blocks arrive, up to the most allowed: a small
    // index takes little memory.
    slots_.clear();
    pinnedSlots_.clear();
    slotOfBlock_.assign(size_t(BlockNumber(int32_t(std::max<uint32_t>(fileSize_, kIndexFirstBlock)))) + 64, -1);
    lastSlot_ = -1;
}

int32_t IndexFile::Levels() const { return int32_t(GetU32LE(header_ + idxh::kLevels)); }

int32_t IndexFile::Create(const PathRecord* path, int16_t duplicatesAllowed, bool durable)
{
    if (open_)
        Close();
    ResetState();
    filePath_ = *path;
    duplicatesAllowed_ = duplicatesAllowed != 0;

    const int32_t err = FileCreate(path, kFileReadWrite, &file_);
    if (err != kErrNone) {
        file_ = kNoFile;
        ReportError(kIndexErrorOpen, err, 0);
        AlertFileErrorAbout(label_.c_str(), err);
        return 0;
    }
    EmptyHeader();
    // The unclean mark must be on the disk before the session changes the
    // record file, or a crash could bring back an old index marked clean.
    if (!WriteHeaderPage() || (durable && FileSync(file_) != kErrNone)) {
        DiscardFile();
        return 0;
    }
    fileSize_ = kIndexHeaderPageSize;
    InitCache();
    open_ = true;
    GoFirst();
    return 1;
}

void IndexFile::EmptyHeader()
{
    std::memset(header_, 0, sizeof header_);
    SetBlockOwnPosition(header_, 0);
    SetBlockUsed(header_, 0);
    SetBlockFirstChild(header_, kIndexNoChild);
    PutI32LE(header_ + idxh::kFreeList, kIndexNone);
    PutU32LE(header_ + idxh::kNextSequence, 0);
    PutU32LE(header_ + idxh::kCleanMark, 0);
    PutU32LE(header_ + idxh::kLevels, 1);
}

int32_t IndexFile::Empty()
{
    if (!Usable())
        return 0;
    // Emptying a file costs the disk as much as deleting it; its blocks
    // are better written over.
    ForgetCache();
    level_ = 0;
    std::memset(cursor_, 0, sizeof cursor_);
    cursorOnPath_ = false;
    appendPathKnown_ = false;
    discard_ = false;
    EmptyHeader();
    if (!WriteHeaderPage()) {
        DiscardFile();
        return 0;
    }
    fileSize_ = kIndexHeaderPageSize;
    InitCache();
    GoFirst();
    return 1;
}

bool IndexFile::CutToSize()
{
    // An index emptied in place may have more file than tree.
    uint32_t size = 0;
    int32_t err = FileGetSize(file_, &size);
    if (err == kErrNone && size > fileSize_)
        err = FileSetSize(file_, fileSize_);
    if (err == kErrNone)
        return true;
    if (FailedForUser(err))
        return false;
    Fail(kIndexErrorWrite, 1, int32_t(fileSize_));
    return false;
}

bool IndexFile::HeaderPageIsSound() const
{
    if (fileSize_ < uint32_t(kIndexHeaderPageSize) || (fileSize_ - kIndexHeaderPageSize) % kIndexBlockSize != 0 ||
        fileSize_ > uint32_t(INT32_MAX))
        return false;
    const int32_t levels = Levels();
    const int32_t freeList = GetI32LE(header_ + idxh::kFreeList);
    return GetU32LE(header_ + idxh::kCleanMark) == 1 && levels >= 1 && levels <= kIndexMaxLevels &&
           (freeList == kIndexNone || IndexBlockPositionIsValid(freeList, fileSize_)) &&
           IndexBlockIsSound(header_, 0, fileSize_, levels == 1 ? 1 : 0);
}

int32_t IndexFile::Open(const PathRecord* path, int16_t duplicatesAllowed)
{
    if (open_)
        Close();
    ResetState();
    filePath_ = *path;
    duplicatesAllowed_ = duplicatesAllowed != 0;

    int32_t err = FileOpen(path, kFileReadWrite, &file_);
    if (err != kErrNone) {
        file_ = kNoFile;
        ReportError(kIndexErrorOpen, err, 0);
        AlertFileErrorAbout(label_.c_str(), err);
        return 0;
    }
    // An index left unclean, or one whose header page or tree is not
    // sound, is no use: it goes, and the caller builds a new one.
    err = FileGetSize(file_, &fileSize_);
    if (err == kErrNone && fileSize_ >= uint32_t(kIndexHeaderPageSize))
        err = RawRead(0, header_, kIndexHeaderPageSize);
    if (err != kErrNone || !HeaderPageIsSound()) {
        DiscardFile();
        return 0;
    }
    InitCache();
    open_ = true;
    IndexCheckReport report;
    if (!CheckStructure(false, &report)) {
        DiscardFile();
        return 0;
    }
    entriesAtOpen_ = report.entries;
    PutU32LE(header_ + idxh::kCleanMark, 0);
    if (!WriteHeaderPage() || FileSync(file_) != kErrNone) {
        DiscardFile();
        return 0;
    }
    GoFirst();
    return 1;
}

bool IndexFile::Survey(const PathRecord* path, IndexSurvey* survey)
{
    *survey = IndexSurvey{};
    IndexFile index;
    index.filePath_ = *path;
    if (FileOpen(path, kFileRead, &index.file_) != kErrNone) {
        index.file_ = kNoFile;
        return false;
    }
    bool read = FileGetSize(index.file_, &index.fileSize_) == kErrNone;
    if (read && index.fileSize_ >= uint32_t(kIndexHeaderPageSize))
        read = index.RawRead(0, index.header_, kIndexHeaderPageSize) == kErrNone;
    if (read && index.HeaderPageIsSound()) {
        index.InitCache();
        index.open_ = true;
        IndexCheckReport report;
        survey->clean = index.CheckStructure(false, &report);
        survey->entries = report.entries;
        survey->clean = survey->clean && index.ContentCheck(&survey->contentCheck);
        index.ForgetCache();
        index.open_ = false;
    }
    FileClose(index.file_);
    index.file_ = kNoFile;
    return read;
}

uint32_t IndexFile::NextSequence() const { return GetU32LE(header_ + idxh::kNextSequence); }

void IndexFile::AdvanceSequence() { PutU32LE(header_ + idxh::kNextSequence, NextSequence() + 1); }

bool IndexFile::ContentCheck(uint32_t* check) const
{
    // The clean mark is 0 while the file is open and 1 once it is closed.
    uLong crc = crc32_z(0, header_, idxh::kCleanMark);
    crc = crc32_z(crc, header_ + idxh::kCleanMark + 4, kIndexHeaderPageSize - idxh::kCleanMark - 4);
    uint8_t block[kIndexBlockSize];
    for (uint32_t at = kIndexFirstBlock; at + kIndexBlockSize <= fileSize_; at += kIndexBlockSize) {
        if (!PeekBlock(int32_t(at), block))
            return false;
        crc = crc32_z(crc, block, kIndexBlockSize);
    }
    *check = uint32_t(crc);
    return true;
}

void IndexFile::SetDiscard(int16_t flag) { discard_ = flag != 0; }

void IndexFile::DiscardFile()
{
    ForgetCache();
    if (file_ != kNoFile)
        FileClose(file_);
    file_ = kNoFile;
    open_ = false;
    discard_ = true;
    FileDelete(&filePath_);
}

int32_t IndexFile::Close()
{
    if (!open_)
        return 1;
    bool ok = true;
    if (!discard_ && !failed_) {
        ok = CutToSize() && WriteBackAll();
        // The clean mark must not reach the disk before the blocks it vouches
        // for, or a crash in between leaves a stale tree marked clean.
        if (ok) {
            const int32_t err = FileSync(file_);
            if (err != kErrNone) {
                Fail(kIndexErrorWrite, 1, 0);
                ok = false;
            }
        }
        if (ok) {
            PutU32LE(header_ + idxh::kCleanMark, 1);
            ok = WriteHeaderPage();
        }
    }
    ForgetCache();
    const int32_t err = FileClose(file_);
    if (err != kErrNone && ok) {
        ReportError(kIndexErrorOpen, err, 0);
        ok = false;
    }
    file_ = kNoFile;
    open_ = false;
    if (discard_ || failed_)
        FileDelete(&filePath_);
    return ok ? 1 : 0;
}

// ---------------------------------------------------------------------------
// File access

int32_t IndexFile::RawRead(int32_t position, uint8_t* bytes, int32_t n) const
{
    return DbReadAt(file_, uint32_t(position), bytes, uint32_t(n));
}

bool IndexFile::ReadAt(int32_t position, uint8_t* bytes, int32_t n)
{
    // A short read is an error like any other: the zeros the file layer
    // fills in are not a block.
    const int32_t err = RawRead(position, bytes, n);
    if (err != kErrNone) {
        Fail(kIndexErrorRead, err, position);
        return false;
    }
    return true;
}

bool IndexFile::FailedForUser(int32_t err)
{
    if (err != kErrDiskFull && err != kErrAccessDenied)
        return false;
    // What the user can do something about is said as the file box says
    // it, once, not as a damaged index.
    if (!failed_)
        AlertFileErrorAbout(label_.c_str(), err);
    failed_ = true;
    fileError_ = err;
    return true;
}

bool IndexFile::WriteAt(int32_t position, const uint8_t* bytes, int32_t n)
{
    const int32_t err = FileWriteAt(file_, uint32_t(position), bytes, uint32_t(n));
    if (FailedForUser(err))
        return false;
    if (err != kErrNone) {
        Fail(kIndexErrorWrite, 1, position);
        return false;
    }
    return true;
}

bool IndexFile::WriteHeaderPage() { return WriteAt(0, header_, kIndexHeaderPageSize); }

// ---------------------------------------------------------------------------
// Block cache. The root lives in the header page and is never cached.

int32_t IndexFile::SlotOf(int32_t position) const
{
    const int32_t k = BlockNumber(position);
    return k >= 0 && k < int32_t(slotOfBlock_.size()) ? slotOfBlock_[size_t(k)] : -1;
}

void IndexFile::BindSlot(int32_t slot, int32_t position)
{
    const size_t k = size_t(BlockNumber(position));
    if (k >= slotOfBlock_.size())
        slotOfBlock_.resize(std::max(k + 1, slotOfBlock_.size() * 2), -1);
    slotOfBlock_[k] = slot;
    slots_[size_t(slot)].position = position;
    slots_[size_t(slot)].owner = file_;
    slots_[size_t(slot)].startCount = -1;
}

void IndexFile::DropSlot(int32_t slot)
{
    CacheSlot& s = slots_[size_t(slot)];
    if (s.owner != kNoFile && SlotOf(s.position) == slot)
        slotOfBlock_[size_t(BlockNumber(s.position))] = -1;
    s.owner = kNoFile;
    s.dirty = 0;
    s.pinned = 0;
    s.position = kIndexNone;
    s.startCount = -1;
}

void IndexFile::ForgetCache()
{
    for (int32_t s = 0; s < int32_t(slots_.size()); ++s)
        DropSlot(s);
    slots_.clear();
    pinnedSlots_.clear();
    lastSlot_ = -1;
}

bool IndexFile::WriteBackAll()
{
    // In file order, neighbouring blocks in one write: a cache that holds
    // the whole tree has most of the file to write at the close.
    std::vector<int32_t> dirty;
    for (int32_t s = 0; s < int32_t(slots_.size()); ++s) {
        if (slots_[size_t(s)].owner == file_ && slots_[size_t(s)].dirty)
            dirty.push_back(s);
    }
    std::sort(dirty.begin(), dirty.end(),
              [this](int32_t a, int32_t b) { return slots_[size_t(a)].position < slots_[size_t(b)].position; });
    constexpr size_t kMostBlocksAWrite = 64;
    std::vector<uint8_t> run;
    for (size_t i = 0; i < dirty.size();) {
        size_t end = i + 1;
        while (end < dirty.size() && end - i < kMostBlocksAWrite &&
               slots_[size_t(dirty[end])].position == slots_[size_t(dirty[end - 1])].position + kIndexBlockSize)
            ++end;
        if (end - i == 1) {
            if (!WriteBack(dirty[i]))
                return false;
            i = end;
            continue;
        }
        run.resize((end - i) * size_t(kIndexBlockSize));
        for (size_t k = i; k < end; ++k)
            std::memcpy(run.data() + (k - i) * size_t(kIndexBlockSize), slots_[size_t(dirty[k])].block,
                        kIndexBlockSize);
        if (!WriteAt(slots_[size_t(dirty[i])].position, run.data(), int32_t(run.size())))
            return false;
        for (size_t k = i; k < end; ++k)
            slots_[size_t(dirty[k])].dirty = 0;
        i = end;
    }
    return true;
}

bool IndexFile::WriteBack(int32_t slot)
{
    CacheSlot& s = slots_[size_t(slot)];
    if (!WriteAt(s.position, s.block, kIndexBlockSize))
        return false;
    s.dirty = 0;
    return true;
}

int32_t IndexFile::TakeSlot()
{
    if (slots_.size() < maxSlots_) {
        slots_.emplace_back();
        return int32_t(slots_.size() - 1);
    }
    const int32_t n = int32_t(slots_.size());
    for (int32_t i = 1; i <= n; ++i) {
        const int32_t s = (lastSlot_ + i) % n;
        if (slots_[size_t(s)].pinned)
            continue;
        if (slots_[size_t(s)].owner != kNoFile && slots_[size_t(s)].dirty && !WriteBack(s))
            return -1;
        DropSlot(s);
        lastSlot_ = s;
        return s;
    }
    // Operations pin at most a handful of blocks; this cannot happen with
    // the smallest cache allowed.
    Fail(kIndexErrorRead, kErrNotEnoughMemory, 0);
    return -1;
}

uint8_t* IndexFile::FetchBlock(int32_t position, int expectLeaf, bool pin)
{
    if (position == 0)
        return header_;
    if (!IndexBlockPositionIsValid(position, fileSize_)) {
        Fail(kIndexErrorRead, kIndexErrorCorrupt, position);
        return nullptr;
    }
    int32_t s = SlotOf(position);
    if (s < 0) {
        s = TakeSlot();
        if (s < 0)
            return nullptr;
        uint8_t* block = slots_[size_t(s)].block;
        if (!ReadAt(position, block, kIndexBlockSize))
            return nullptr;
        if (!IndexBlockIsSound(block, position, fileSize_, expectLeaf)) {
            Fail(kIndexErrorRead, kIndexErrorCorrupt, position);
            return nullptr;
        }
        BindSlot(s, position);
    } else if (expectLeaf >= 0 && (BlockFirstChild(slots_[size_t(s)].block) == kIndexNoChild) != (expectLeaf == 1)) {
        // A block reached at two depths: the tree is not a tree.
        Fail(kIndexErrorRead, kIndexErrorCorrupt, position);
        return nullptr;
    }
    if (pin)
        Pin(s);
    return slots_[size_t(s)].block;
}

uint8_t* IndexFile::NewBlock(int32_t* position)
{
    if (beforeNewBlock_ && !beforeNewBlock_())
        return nullptr;
    const int32_t s = TakeSlot();
    if (s < 0)
        return nullptr;
    uint8_t* block = slots_[size_t(s)].block;
    const int32_t head = GetI32LE(header_ + idxh::kFreeList);
    bool taken = false;
    if (head != kIndexNone) {
        // Trust the free list only as far as the block it names really is
        // free; a list gone astray is dropped (its blocks leak) rather than
        // handing out a block that is still in the tree.
        if (IndexBlockPositionIsValid(head, fileSize_) && SlotOf(head) < 0) {
            if (!ReadAt(head, block, kIndexBlockSize))
                return nullptr;
            taken = IndexFreeBlockIsSound(block, fileSize_);
        }
        PutI32LE(header_ + idxh::kFreeList, taken ? BlockOwnPosition(block) : kIndexNone);
    }
    if (taken) {
        *position = head;
    } else {
        if (fileSize_ > uint32_t(INT32_MAX) - kIndexBlockSize) {
            Fail(kIndexErrorWrite, 1, int32_t(fileSize_));
            return nullptr;
        }
        *position = int32_t(fileSize_);
        fileSize_ += kIndexBlockSize;
    }
    std::memset(block, 0, kIndexBlockSize);
    SetBlockOwnPosition(block, *position);
    BindSlot(s, *position);
    Pin(s);
    return block;
}

bool IndexFile::FreeBlock(int32_t position)
{
    uint8_t* block = FetchBlock(position, -1, false);
    if (block == nullptr)
        return false;
    SetBlockFirstChild(block, kIndexFreeBlock);
    SetBlockOwnPosition(block, GetI32LE(header_ + idxh::kFreeList));
    const int32_t s = SlotOf(position);
    if (!WriteBack(s))
        return false;
    DropSlot(s);
    PutI32LE(header_ + idxh::kFreeList, position);
    return true;
}

void IndexFile::MarkChanged(int32_t position)
{
    // The root is written with the header page.
    if (position == 0)
        return;
    const int32_t s = SlotOf(position);
    if (s >= 0) {
        slots_[size_t(s)].dirty = 1;
        slots_[size_t(s)].startCount = -1;
    }
}

bool IndexFile::WriteNow(int32_t position)
{
    const int32_t s = SlotOf(position);
    return s >= 0 && WriteBack(s);
}

void IndexFile::Unpin(int32_t position)
{
    const int32_t s = position == 0 ? -1 : SlotOf(position);
    if (s >= 0)
        slots_[size_t(s)].pinned = 0;
}

void IndexFile::Pin(int32_t slot)
{
    if (!slots_[size_t(slot)].pinned)
        pinnedSlots_.push_back(slot);
    slots_[size_t(slot)].pinned = 1;
}

void IndexFile::UnpinAll()
{
    // Only the slots pinned since the last call: every operation ends here,
    // and a large cache would be walked whole each time.
    for (const int32_t slot : pinnedSlots_)
        slots_[size_t(slot)].pinned = 0;
    pinnedSlots_.clear();
}

bool IndexFile::PeekBlock(int32_t position, uint8_t* out) const
{
    if (position == 0) {
        std::memcpy(out, header_, kIndexBlockSize);
        return true;
    }
    const int32_t s = SlotOf(position);
    if (s >= 0) {
        std::memcpy(out, slots_[size_t(s)].block, kIndexBlockSize);
        return true;
    }
    return RawRead(position, out, kIndexBlockSize) == kErrNone;
}

#include "frames/story_store.h"

#include <cstring>
#include <functional>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/win_error.h"

namespace {

constexpr uint8_t kStoryAllSelected = 0x20;

}  // namespace

StoryStore::StoryStore(FrameDocument* document, CTFileMng* swap)
    : SwapStore(kStoryRecordSize, swap), buffer_(document, swap)
{
}

StoryStore::~StoryStore() { buffer_.ReleaseArray(); }

void StoryStore::BindBuffer()
{
    Handle h = HeaderHas(current_, kRecLoaded) ? DataHandle(current_) : nullptr;
    if (buffer_.Records() != h) {
        buffer_.ReleaseArray();
        if (h)
            buffer_.AdoptArray(h, TextBuffer::kParagraphRecordSize);
    }
    buffer_.SetTemplate(current_);
}

void StoryStore::FreeData(uint8_t* header)
{
    Handle h = DataHandle(header);
    if (h && buffer_.Records() == h)
        buffer_.ReleaseArray();
    SwapStore::FreeData(header);
}

int32_t StoryStore::ReadData(FileHandle file, uint32_t position)
{
    const int32_t result = SwapStore::ReadData(file, position);
    if (result != 0)
        return result;
    // A paragraph array just read from a file has none of its paragraphs
    // in memory, whatever its bytes say.
    Handle h = DataHandle(attached_);
    const uint32_t n = HandleGetSize(h) / TextBuffer::kParagraphRecordSize;
    for (uint32_t i = 0; i < n; ++i) {
        uint8_t* r = HandleData(h) + i * TextBuffer::kParagraphRecordSize;
        SetHeaderSlot(r, 0);
        SetHeaderBits(r, kRecLoaded | kRecChanged, false);
    }
    return 0;
}

int32_t StoryStore::LoadCurrent(uint8_t mode)
{
    const int32_t result = SwapStore::LoadCurrent(mode);
    if (result == 0)
        BindBuffer();
    return result;
}

int32_t StoryStore::UnloadCurrent()
{
    if (!HeaderHas(current_, kRecLoaded))
        return 0;
    BindBuffer();
    SetHeaderBits(current_, kRecChanged, true);
    const int32_t paragraphs = buffer_.UnloadAll(0);
    if (paragraphs != 0)
        return paragraphs;
    return SwapStore::UnloadCurrent();
}

void StoryStore::ForEachLoadedStory(const std::function<void(int32_t)>& each)
{
    for (int32_t i = 0; i < count_; ++i) {
        currentIndex_ = i;
        GetRecord(i, current_);
        if (!HeaderHas(current_, kRecLoaded))
            continue;
        BindBuffer();
        each(i);
    }
}

int32_t StoryStore::UnloadAll(uint8_t keepMask)
{
    int32_t sum = 0;
    ForEachLoadedStory([&](int32_t i) {
        SetHeaderBits(current_, kRecChanged, true);
        const int32_t paragraphs = buffer_.UnloadAll(0);
        sum += paragraphs;
        const bool keep = keepMask != 0 && HeaderHas(current_, keepMask);
        if (!keep && paragraphs == 0)
            SwapStore::UnloadCurrent();
        PutRecord(i, current_);
    });
    ClearCurrent();
    return sum;
}

void StoryStore::ClearKeepFlags()
{
    ForEachLoadedStory([this](int32_t) { buffer_.ClearKeepFlags(); });
}

void StoryStore::DropCurrent()
{
    if (!HeaderHas(current_, kRecLoaded) && HeaderHas(current_, kRecCopied))
        SwapStore::LoadCurrent(0);
    if (HeaderHas(current_, kRecLoaded)) {
        BindBuffer();
        buffer_.DeleteAll();
    }
    SwapStore::DropCurrent();
}

uint16_t StoryStore::NewRecord(bool keep)
{
    const uint16_t id = SwapStore::NewRecord(keep);
    if (id == 0)
        return 0;
    BindBuffer();
    if (buffer_.NewRecord(keep) == 0) {
        DeleteById(id);
        return 0;
    }
    return id;
}

int32_t StoryStore::BindStory(uint16_t id) { return LoadData(id, 0); }

bool StoryStore::QueryStory(uint16_t id)
{
    if (LoadData(id, 0) != 0)
        return false;
    return buffer_.QueryStory();
}

int32_t StoryStore::WriteStory(FileHandle file, uint16_t id)
{
    uint8_t count[2];
    if (LoadData(id, kRecKeep) != 0) {
        PutU16LE(count, 0);
        FileWrite(file, count, 2);
        return 1;
    }
    PutU16LE(count, uint16_t(buffer_.Count()));
    int32_t sum = FileWrite(file, count, 2);
    sum += buffer_.WriteParagraphs(file);
    return sum;
}

int32_t StoryStore::ReadStory(FileHandle file, uint16_t* id)
{
    *id = 0;
    uint8_t count[2];
    int32_t err = FileRead(file, count, 2);
    if (err != kErrNone)
        return err;
    const uint16_t story = SwapStore::NewRecord(true);
    if (story == 0)
        return kErrNotEnoughMemory;
    BindBuffer();
    const uint16_t n = GetU16LE(count);
    err = buffer_.ReadParagraphs(file, n);
    if (err == 0 && buffer_.Count() == 0 && buffer_.NewRecord(true) == 0)
        err = kErrNotEnoughMemory;
    if (err != 0) {
        DeleteById(story);
        return err;
    }
    *id = story;
    return 0;
}

uint16_t StoryStore::CopyStory(uint16_t id, int32_t first, int32_t last)
{
    int32_t index = FindById(id);
    if (index < 0)
        return 0;
    if (UnloadCurrent() != 0) {
        PutRecord(index, current_);
        return 0;
    }
    PutRecord(index, current_);
    if (!HeaderHas(current_, kRecCopied))
        return 0;

    // The copy starts out sharing the source's swap copy, then gets one of
    // its own.
    uint8_t record[kStoryRecordSize];
    std::memcpy(record, current_, sizeof record);
    const uint16_t copyId = NextId();
    if (copyId == 0)
        return 0;
    SetHeaderId(record, copyId);
    SetHeaderSlot(record, 0);
    SetHeaderFlags(record, uint8_t(kRecCopied | (HeaderFlags(record) & ~(kRecLoaded | kRecChanged | kRecKeep))));
    if (Append(record) != 0)
        return 0;
    const int32_t copyIndex = count_ - 1;
    // Drops the copy without touching what it still shares with the source.
    auto abandon = [&](int32_t rewritten) {
        currentIndex_ = copyIndex;
        GetRecord(copyIndex, current_);
        if (HeaderHas(current_, kRecLoaded)) {
            BindBuffer();
            for (int32_t i = 0; i < buffer_.Count(); ++i) {
                uint8_t* p = buffer_.RecordPtr(i);
                if (i >= rewritten)
                    SetHeaderBits(p, kRecCopied, false);
            }
            buffer_.DeleteAll();
        }
        SwapStore::DropCurrent();
        DeleteOne(copyIndex);
        ClearCurrent();
        return uint16_t(0);
    };
    currentIndex_ = copyIndex;
    GetRecord(copyIndex, current_);
    if (RewriteCurrent() != 0) {
        GetRecord(copyIndex, current_);
        SetHeaderBits(current_, kRecCopied, false);
        PutRecord(copyIndex, current_);
        return abandon(0);
    }
    if (SelectIndex(copyIndex, kRecKeep) != 0)
        return abandon(0);

    // The paragraphs outside the range go without their swap stretches,
    // which the source still uses.
    auto dropShared = [&](int32_t from, int32_t n) {
        if (n <= 0)
            return;
        for (int32_t i = from; i < from + n; ++i) {
            uint8_t* p = buffer_.RecordPtr(i);
            buffer_.FreeData(p);
            SetHeaderBits(p, kRecCopied, false);
        }
        buffer_.DeleteRange(from, n);
    };
    const int32_t count = buffer_.Count();
    if (last >= first && last + 1 < count)
        dropShared(last + 1, count - last - 1);
    if (first > 0)
        dropShared(0, first < buffer_.Count() ? first : buffer_.Count());
    if (buffer_.Count() == 0 && buffer_.NewRecord(true) == 0)
        return abandon(0);

    const int32_t failed = buffer_.RewriteAll();
    if (failed >= 0)
        return abandon(failed);
    GetRecord(copyIndex, current_);
    SetHeaderBits(current_, kRecChanged, true);
    PutRecord(copyIndex, current_);
    return copyId;
}

int32_t StoryStore::SetStoryText(Handle text, uint16_t id)
{
    if (id != 0) {
        if (LoadData(id, kRecKeep) != 0)
            return 1;
    } else if (NewRecord(true) == 0) {
        return 1;
    }
    return buffer_.SetPlainText(text, false);
}

int32_t StoryStore::ReplaceStoryText(Handle text, uint16_t id)
{
    if (LoadData(id, kRecKeep) != 0)
        return 1;
    // The new paragraphs go behind the old ones, which are dropped only
    // once all of the text is in: a failure midway loses nothing.
    const int32_t old = buffer_.Count();
    buffer_.UnloadAll(0);
    const int32_t result = buffer_.SetPlainText(text, true);
    if (result != 0) {
        buffer_.DeleteRange(old, buffer_.Count() - old);
        return result;
    }
    if (buffer_.Count() > old)
        buffer_.DeleteRange(0, old);
    buffer_.SetCaret(TextPosition{});
    return 0;
}

int32_t StoryStore::WriteStoryText(uint16_t id, FileHandle file)
{
    if (LoadData(id, kRecKeep) != 0)
        return 1;
    return buffer_.WriteText(file);
}

bool StoryStore::IsAllSelected() const { return (HeaderFlags(current_) & kStoryAllSelected) != 0; }

void StoryStore::SetAllSelected(bool on)
{
    SetHeaderBits(current_, kStoryAllSelected, on);
    PutRecord(currentIndex_, current_);
}

int32_t StoryStore::WriteStore(FileHandle file, int32_t offset)
{
    const int32_t saved = currentIndex_;
    if (offset != -1 && FileSeek(file, kSeekStart, offset) != kErrNone)
        return kStoreDocWrite;
    UnloadAll(0);
    const int32_t result = WriteRecordsAndArray(file, [this, file](int32_t i, SwapPlace* place) {
        // A story that can't be read leaves the document an empty one.
        if (const int32_t failed = LoadForWrite(file, i, place))
            return failed;
        const int32_t written = buffer_.WriteStore(file, -1);
        FreeDataIfCopied(current_);
        SetHeaderSize(current_, buffer_.WindowSize());
        SetHeaderPosition(current_, buffer_.WindowPosition());
        PutRecord(i, current_);
        return written;
    });
    if (saved >= 0 && saved < count_)
        SelectIndex(saved, kRecKeep);
    return result;
}

#include "frames/text_buffer.h"

#include <cstring>
#include <vector>

#include "foundation/win_error.h"

TextBuffer::TextBuffer(FrameDocument* document, CTFileMng* swap) : SwapStore(swap), document_(document) {}

TextBuffer::~TextBuffer() { ReleaseArray(); }

void TextBuffer::SetTemplate(const uint8_t* header) { SwapStore::SetTemplate(header); }

int32_t TextBuffer::LoadCurrent(uint8_t mode)
{
    const int32_t result = SwapStore::LoadCurrent(mode);
    if (result == 0) {
        Handle h = DataHandle(current_);
        HandleLock(h);
        LayOutParagraphText(h, HeaderFlags(current_), &layout_);
        textOffset_ = uint16_t(layout_.textOffset);
    }
    return result;
}

int32_t TextBuffer::UnloadCurrent()
{
    Handle h = DataHandle(current_);
    if (HeaderHas(current_, kRecLoaded))
        SetHeaderBits(current_, kRecChanged, true);
    const int32_t result = SwapStore::UnloadCurrent();
    if (result != 0)
        HandleUnlock(h);
    return result;
}

uint16_t TextBuffer::NewRecord(bool keep) { return InsertRecord(count_, nullptr, keep); }

uint16_t TextBuffer::InsertRecord(int32_t index, Handle data, bool keep)
{
    const bool own = data == nullptr;
    if (own) {
        data = NewParagraph();
        if (!data)
            return 0;
    }
    const uint16_t id = SwapStore::InsertRecord(index, data, keep);
    if (id == 0 && own)
        HandleFree(data);
    return id;
}

int32_t TextBuffer::RewriteAll()
{
    for (int32_t i = 0; i < count_; ++i) {
        currentIndex_ = i;
        GetRecord(i, current_);
        if (RewriteCurrent() != 0)
            return i;
    }
    ClearCurrent();
    return -1;
}

int32_t TextBuffer::ReadParagraphs(FileHandle file, uint16_t count)
{
    for (uint16_t i = 0; i < count; ++i) {
        uint16_t id = 0;
        const int32_t err = ReadRecordFrom(file, &id);
        if (err != 0)
            return err;
    }
    return 0;
}

int32_t TextBuffer::WriteParagraphs(FileHandle file)
{
    int32_t sum = 0;
    for (int32_t i = 0; i < count_; ++i)
        sum += WriteRecordTo(file, HeaderId(RecordPtr(i)));
    return sum;
}

bool TextBuffer::SelectParagraph(int32_t index)
{
    HandleUnlock(DataHandle(current_));
    return SelectIndex(index, 0) == 0;
}

void TextBuffer::SetParagraphFlags(uint8_t layoutBits)
{
    if (currentIndex_ < 0 || currentIndex_ >= count_)
        return;
    SetHeaderFlags(current_, uint8_t((HeaderFlags(current_) & ~kRecLayoutBits) | (layoutBits & kRecLayoutBits)));
    SetHeaderBits(current_, kRecChanged, true);
    PutRecord(currentIndex_, current_);
    LayOutParagraphText(DataHandle(current_), HeaderFlags(current_), &layout_);
    textOffset_ = uint16_t(layout_.textOffset);
}

int32_t TextBuffer::WriteStore(FileHandle file, int32_t offset)
{
    if (offset != -1 && FileSeek(file, kSeekStart, offset) != kErrNone)
        return kStoreDocWrite;
    return WriteRecordsAndArray(file, [this, file](int32_t i, SwapPlace* place) {
        // A paragraph that can't be read keeps its swap copy and flags in
        // memory; the document gets no text for it.
        if (const int32_t failed = LoadForWrite(file, i, place))
            return failed;
        *place = PlaceOf(current_);
        uint8_t own[kRecordHeaderSize];
        std::memcpy(own, current_, sizeof own);
        SetHeaderSize(own, ParagraphUsedBytes(layout_));
        Attach(own);
        const int32_t written = WriteToFile(file);
        Detach();
        FreeDataIfCopied(current_);
        SetHeaderSize(current_, HeaderSize(own));
        SetHeaderPosition(current_, HeaderPosition(own));
        // The document holds its copy now, also of a paragraph whose swap
        // copy could not be written: the reader looks for it by this flag.
        SetHeaderBits(current_, kRecCopied, true);
        PutRecord(i, current_);
        return written;
    });
}

int32_t TextBuffer::SplitAtCaret()
{
    if (currentIndex_ < 0 || currentIndex_ >= count_)
        return 0;
    const int32_t index = currentIndex_;
    if (SelectIndex(index, 0) != 0)
        return 1;
    Handle h = DataHandle(current_);
    ParagraphLayout layout;
    LayOutParagraphText(h, HeaderFlags(current_), &layout);
    uint16_t at = caret_.character;
    if (layout.textLength == 0)
        return 1;
    if (at > layout.textLength - 1)
        at = uint16_t(layout.textLength - 1);
    uint8_t flags = HeaderFlags(current_);
    uint8_t secondFlags = 0;
    Handle second = nullptr;
    if (ParagraphSplit(h, &flags, at, &second, &secondFlags) != 0)
        return 1;
    SetHeaderFlags(current_, uint8_t((flags & kRecLayoutBits) | (HeaderFlags(current_) & ~kRecLayoutBits)));
    SetHeaderBits(current_, kRecChanged, true);
    PutRecord(index, current_);
    const uint16_t id = InsertRecord(index + 1, second, false);
    if (id == 0) {
        HandleFree(second);
        return 1;
    }
    SetHeaderFlags(current_, uint8_t(HeaderFlags(current_) | (secondFlags & kRecLayoutBits)));
    PutRecord(currentIndex_, current_);
    // The new paragraphs go between the two halves.
    currentIndex_ = index;
    GetRecord(index, current_);
    return 0;
}

int32_t TextBuffer::SetPlainText(Handle text, bool append)
{
    int32_t insertAt = 0;
    if (append) {
        const int32_t current = currentIndex_;
        UnloadAll(0);
        insertAt = current >= 0 && current < count_ ? current + 1 : count_;
    } else {
        if (SplitAtCaret() != 0)
            return 1;
        insertAt = currentIndex_ >= 0 ? currentIndex_ + 1 : count_;
    }
    uint8_t* chars = HandleData(text);
    const uint32_t n = HandleGetSize(text);
    for (uint32_t i = 0; i < n; ++i) {
        if (chars[i] == 10)
            chars[i] = ' ';
    }
    uint32_t start = 0;
    while (start < n) {
        uint32_t end = start;
        while (end < n && chars[end] != kParagraphMark)
            ++end;
        uint32_t length = end - start;
        bool cut = false;
        if (length > kParagraphMaxImport) {
            while (length > kParagraphMaxImport)
                length -= 2000;
            cut = true;
        }
        const uint16_t id = InsertRecord(insertAt, nullptr, true);
        if (id == 0)
            return count_ >= kMostParagraphs ? kStoreFull : 1;
        if (ParagraphInsertBytes(DataHandle(current_), HeaderFlags(current_), 0, chars + start, length) != 0)
            return 1;
        SetHeaderBits(current_, kRecChanged, true);
        const int32_t unloaded = UnloadCurrent();
        PutRecord(currentIndex_, current_);
        if (unloaded != 0)
            return unloaded;
        ++insertAt;
        start += length;
        if (!cut && start < n)
            ++start;  // over the CR
    }
    return 0;
}

int32_t TextBuffer::GetPlainText(Handle* out)
{
    *out = nullptr;
    Handle result = HandleNew(0);
    if (!result)
        return 1;
    int32_t code = 0;
    for (int32_t i = 0; i < count_ && code == 0; ++i) {
        if (SelectIndex(i, 0) != 0)
            continue;
        ParagraphLayout layout;
        Handle h = DataHandle(current_);
        if (!LayOutParagraphText(h, HeaderFlags(current_), &layout))
            continue;
        uint32_t length = layout.textLength;
        if (i == count_ - 1 && length > 0 && HandleData(h)[layout.textOffset + length - 1] == kParagraphMark)
            --length;
        if (HandleAppendBytes(HandleData(h) + layout.textOffset, result, length) != 0)
            code = 1;
    }
    UnloadAll(0);
    if (code != 0) {
        HandleFree(result);
        return code;
    }
    *out = result;
    return 0;
}

int32_t TextBuffer::WriteText(FileHandle file)
{
    int32_t sum = 0;
    for (int32_t i = 0; i < count_; ++i) {
        if (SelectIndex(i, 0) != 0) {
            sum += 1;
            continue;
        }
        ParagraphLayout layout;
        Handle h = DataHandle(current_);
        if (LayOutParagraphText(h, HeaderFlags(current_), &layout) && layout.textLength)
            sum += FileWrite(file, HandleData(h) + layout.textOffset, layout.textLength);
        UnloadCurrent();
        PutRecord(i, current_);
    }
    return sum;
}

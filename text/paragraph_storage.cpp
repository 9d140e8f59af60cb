#include "text/paragraph_storage.h"

#include <cstring>
#include <vector>

#include "foundation/byte_order.h"

namespace {

int32_t CountAttributeBits(uint16_t flags)
{
    int32_t n = 0;
    for (uint16_t bit = 0x200; bit; bit >>= 1)
        n += (flags & bit) ? 1 : 0;
    return n;
}

uint32_t RunSize(const uint8_t* run) { return kStyleRunFixedSize + 2 * uint32_t(CountAttributeBits(GetU16LE(run + 10))); }

struct Run {
    std::vector<uint8_t> bytes;
    uint16_t start() const { return GetU16LE(bytes.data()); }
    uint16_t end() const { return GetU16LE(bytes.data() + 2); }
    void set(uint16_t s, uint16_t e)
    {
        PutU16LE(bytes.data(), s);
        PutU16LE(bytes.data() + 2, e);
    }
};

// The runs of the table, each whole; a table whose last run runs past its
// size ends before it.
std::vector<Run> ReadRuns(const uint8_t* table, uint32_t size)
{
    std::vector<Run> runs;
    for (uint32_t at = 0; at + kStyleRunFixedSize <= size;) {
        const uint32_t n = RunSize(table + at);
        if (at + n > size)
            break;
        runs.push_back(Run{std::vector<uint8_t>(table + at, table + at + n)});
        at += n;
    }
    return runs;
}

// Rebuilds a paragraph Handle from its parts.
Handle BuildParagraph(const uint8_t* head, uint32_t blocksSize, const std::vector<Run>& runs, const uint8_t* text,
                      uint32_t length)
{
    uint32_t runBytes = 0;
    for (const Run& r : runs)
        runBytes += uint32_t(r.bytes.size());
    Handle h = HandleNew(kParagraphHeaderSize + blocksSize + runBytes + length);
    if (!h)
        return nullptr;
    uint8_t* p = HandleData(h);
    std::memcpy(p, head, kParagraphHeaderSize + blocksSize);
    PutU16LE(p + kParagraphLengthOffset, uint16_t(length));
    PutU16LE(p + kParagraphRunSizeOffset, uint16_t(runBytes));
    uint8_t* at = p + kParagraphHeaderSize + blocksSize;
    for (const Run& r : runs) {
        std::memcpy(at, r.bytes.data(), r.bytes.size());
        at += r.bytes.size();
    }
    if (length)
        std::memcpy(at, text, length);
    return h;
}

}  // namespace

bool LayOutParagraphText(Handle h, uint8_t flags, ParagraphLayout* out)
{
    *out = ParagraphLayout{};
    const uint32_t size = HandleGetSize(h);
    if (size < kParagraphHeaderSize)
        return false;
    const uint8_t* p = HandleData(h);
    out->styleId = GetU32LE(p + kParagraphStyleOffset);
    out->textLength = GetU16LE(p + kParagraphLengthOffset);
    out->runSize = (flags & kParaHasRuns) ? GetU16LE(p + kParagraphRunSizeOffset) : 0;
    uint32_t at = kParagraphHeaderSize;
    if (flags & kParaHasOverride) {
        out->overrideOffset = at;
        at += kOverrideBlockSize;
    }
    if (flags & kParaHasTabs) {
        out->tabOffset = at;
        at += kParagraphTabBlockSize;
    }
    out->runOffset = at;
    at += out->runSize;
    out->textOffset = at;
    return uint64_t(at) + out->textLength <= size;
}

uint32_t ParagraphUsedBytes(const ParagraphLayout& layout) { return layout.textOffset + layout.textLength; }

Handle NewParagraph()
{
    Handle h = HandleNew(kParagraphHeaderSize + 1);
    if (h) {
        PutU16LE(HandleData(h) + kParagraphLengthOffset, 1);
        HandleData(h)[kParagraphHeaderSize] = kParagraphMark;
    }
    return h;
}

int32_t ParagraphInsertBytes(Handle h, uint8_t flags, uint16_t position, const uint8_t* bytes, uint32_t n)
{
    ParagraphLayout layout;
    if (!LayOutParagraphText(h, flags, &layout) || position > layout.textLength ||
        layout.textLength + n > 0xFFFF)
        return 1;
    if (n == 0)
        return 0;
    const uint32_t used = ParagraphUsedBytes(layout);
    const uint32_t oldSize = HandleGetSize(h);
    if (HandleResize(h, int32_t(oldSize + n)) != 0)
        return 1;
    uint8_t* p = HandleData(h);
    uint8_t* text = p + layout.textOffset;
    MemMove(text + position, text + position + n, used - layout.textOffset - position + (oldSize - used));
    std::memcpy(text + position, bytes, n);
    PutU16LE(p + kParagraphLengthOffset, uint16_t(layout.textLength + n));
    for (uint32_t at = 0; at + kStyleRunFixedSize <= layout.runSize;) {
        uint8_t* run = p + layout.runOffset + at;
        const uint16_t start = GetU16LE(run);
        const uint16_t end = GetU16LE(run + 2);
        const uint16_t runFlags = GetU16LE(run + 10);
        const bool neverGrows = runFlags == 4 || (runFlags & 0x800);
        if (start < position && end >= position && !neverGrows)
            PutU16LE(run + 2, uint16_t(end + n));
        else if (start > position || (start == position && runFlags != 4)) {
            PutU16LE(run, uint16_t(start + n));
            PutU16LE(run + 2, uint16_t(end + n));
        }
        at += RunSize(run);
    }
    return 0;
}

int32_t ParagraphSplit(Handle h, uint8_t* flags, uint16_t at, Handle* second, uint8_t* secondFlags)
{
    *second = nullptr;
    ParagraphLayout layout;
    if (!LayOutParagraphText(h, *flags, &layout) || at > layout.textLength)
        return 1;
    const uint8_t* p = HandleData(h);
    const uint32_t blocksSize = layout.runOffset - kParagraphHeaderSize;
    std::vector<Run> first, rest;
    for (Run& r : ReadRuns(p + layout.runOffset, layout.runSize)) {
        if (r.start() < at) {
            Run head = r;
            head.set(r.start(), r.end() < at ? r.end() : at);
            if (head.end() > head.start())
                first.push_back(head);
        }
        if (r.end() > at) {
            Run tail = r;
            tail.set(uint16_t((r.start() > at ? r.start() : at) - at), uint16_t(r.end() - at));
            if (tail.end() > tail.start())
                rest.push_back(tail);
        }
    }
    const uint8_t* text = p + layout.textOffset;
    std::vector<uint8_t> head(text, text + at);
    head.push_back(kParagraphMark);
    Handle a = BuildParagraph(p, blocksSize, first, head.data(), uint32_t(head.size()));
    Handle b = BuildParagraph(p, blocksSize, rest, text + at, layout.textLength - at);
    if (!a || !b) {
        HandleFree(a);
        HandleFree(b);
        return 1;
    }
    // The first paragraph stays in the same Handle.
    const uint32_t n = HandleGetSize(a);
    if (HandleResize(h, int32_t(n)) != 0) {
        HandleFree(a);
        HandleFree(b);
        return 1;
    }
    std::memcpy(HandleData(h), HandleData(a), n);
    HandleFree(a);
    const uint8_t blocks = *flags & (kParaHasOverride | kParaHasTabs);
    *flags = uint8_t((*flags & ~kParaHasRuns) | (first.empty() ? 0 : kParaHasRuns));
    *secondFlags = uint8_t(blocks | (rest.empty() ? 0 : kParaHasRuns));
    *second = b;
    return 0;
}

#include "frames/paragraph_storage.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "frames/paragraph_text.h"
#include "frames/style_runs.h"

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
    ParagraphText para(h, flags);
    if (!para.InsertBytes(position, bytes, n))
        return 1;
    AdjustRunsForInsert(&para, position, n);
    return 0;
}

int32_t ParagraphSplit(Handle h, uint8_t* flags, uint16_t at, Handle* second, uint8_t* secondFlags)
{
    *second = nullptr;
    ParagraphText para(h, *flags);
    if (!para.valid() || at > para.Length())
        return 1;
    std::vector<RunEntry> first, rest;
    for (const RunEntry& r : ReadRunTable(para)) {
        if (r.start < at && r.end > r.start) {
            RunEntry head = r;
            head.end = std::min<uint16_t>(r.end, at);
            first.push_back(head);
        }
        if (r.end > at && r.end > r.start) {
            RunEntry tail = r;
            tail.start = uint16_t(std::max<uint16_t>(r.start, at) - at);
            tail.end = uint16_t(r.end - at);
            rest.push_back(tail);
        }
    }
    // The second paragraph: the same header and blocks, the text from at on.
    Handle b = nullptr;
    const uint32_t used = ParagraphUsedBytes(para.layout());
    if (HandleFromBytes(HandleData(h), &b, used) != 0)
        return 1;
    ParagraphText tail(b, *flags);
    const uint16_t length = para.Length();
    if (at > 0 && tail.DeleteChars(0, uint16_t(at - 1), false) != at) {
        HandleFree(b);
        return 1;
    }
    if (!WriteRunTable(&tail, rest)) {
        HandleFree(b);
        return 1;
    }
    // The first keeps [0, at) and a new mark, in the same Handle.
    if (at < length) {
        para.SetChar(at, kParagraphMark);
        if (at + 1 < length)
            para.DeleteChars(uint16_t(at + 1), uint16_t(length - 1), false);
    } else {
        const uint8_t mark = kParagraphMark;
        if (!para.InsertBytes(at, &mark, 1)) {
            HandleFree(b);
            return 1;
        }
    }
    if (!WriteRunTable(&para, first)) {
        HandleFree(b);
        return 1;
    }
    *flags = para.flags();
    *secondFlags = tail.flags();
    *second = b;
    return 0;
}

#include "text/line_record.h"

#include <cstring>

#include "foundation/byte_order.h"

TextLineRecord::TextLineRecord()
{
    ClearTabBlock(tabs.data());
    tabChars.fill(0xFFFF);
}

int32_t TextLineRecord::TabAdvanceAt(int32_t p) const
{
    for (int i = 0; i < kTabStops; ++i) {
        if (tabChars[size_t(i)] != 0xFFFF && tabChars[size_t(i)] == p)
            return TabPosition(tabs.data(), i);
    }
    return -1;
}

bool TextLineRecord::operator==(const TextLineRecord& o) const
{
    return paragraph == o.paragraph && rect.left == o.rect.left && rect.top == o.rect.top &&
           rect.right == o.rect.right && rect.bottom == o.rect.bottom && first == o.first && count == o.count &&
           ascent == o.ascent && descent == o.descent && width == o.width && spaces == o.spaces &&
           hyphen == o.hyphen && styled == o.styled && tabs == o.tabs && tabChars == o.tabChars;
}

TextLineRecord ReadLineRecord(const uint8_t* p)
{
    TextLineRecord r;
    r.paragraph = GetI32LE(p + 0);
    r.rect.left = GetI32LE(p + 4);
    r.rect.top = GetI32LE(p + 8);
    r.rect.right = GetI32LE(p + 12);
    r.rect.bottom = GetI32LE(p + 16);
    r.first = GetU16LE(p + 20);
    r.count = GetI16LE(p + 22);
    r.ascent = GetI16LE(p + 24);
    r.descent = GetI16LE(p + 26);
    r.width = GetI16LE(p + 28);
    r.spaces = GetI16LE(p + 30);
    r.hyphen = p[32];
    r.styled = p[33];
    std::memcpy(r.tabs.data(), p + kLineTabBlockOffset, kTabBlockBytes);
    for (int i = 0; i < kTabStops; ++i)
        r.tabChars[size_t(i)] = GetU16LE(p + kLineTabCharsOffset + 2 * size_t(i));
    return r;
}

void ReadLineEnd(const uint8_t* p, int32_t* paragraph, int32_t* end)
{
    *paragraph = GetI32LE(p + 0);
    *end = int32_t(GetU16LE(p + 20)) + GetI16LE(p + 22);
}

void WriteLineRecord(const TextLineRecord& r, uint8_t* p)
{
    PutI32LE(p + 0, r.paragraph);
    PutI32LE(p + 4, r.rect.left);
    PutI32LE(p + 8, r.rect.top);
    PutI32LE(p + 12, r.rect.right);
    PutI32LE(p + 16, r.rect.bottom);
    PutU16LE(p + 20, r.first);
    PutI16LE(p + 22, r.count);
    PutI16LE(p + 24, r.ascent);
    PutI16LE(p + 26, r.descent);
    PutI16LE(p + 28, r.width);
    PutI16LE(p + 30, r.spaces);
    p[32] = r.hyphen;
    p[33] = r.styled;
    std::memcpy(p + kLineTabBlockOffset, r.tabs.data(), kTabBlockBytes);
    for (int i = 0; i < kTabStops; ++i)
        PutU16LE(p + kLineTabCharsOffset + 2 * size_t(i), r.tabChars[size_t(i)]);
}

#include "foundation/str_toolkit.h"

#include <cstring>

#include "foundation/handle.h"

namespace {

// A toolkit string is a plain block; the limit keeps lengths in an i32.
constexpr uint64_t kMaxLength = INT32_MAX - 1;

char* NewString(const char* characters, uint64_t length)
{
    if (length > kMaxLength)
        return nullptr;
    auto* s = static_cast<char*>(MemAllocClear(uint32_t(length + 1)));
    if (s && length)
        std::memcpy(s, characters, size_t(length));
    return s;
}

// The next separator in s; a zero separator never occurs.
const char* FindSeparator(const char* s, char separator)
{
    return separator ? std::strchr(s, separator) : nullptr;
}

}  // namespace

int32_t StrLength(const char* s)
{
    return s ? int32_t(std::strlen(s)) : 0;
}

int32_t StrAppend(char* destination, const char* source)
{
    if (!destination || !source)
        return 0;
    const size_t used = std::strlen(destination);
    const size_t added = std::strlen(source);
    std::memmove(destination + used, source, added + 1);
    return int32_t(used + added);
}

int StrCompareMode(const char* a, const char* b, int mode)
{
    if (!a || !b)
        return 0;
    // Signed bytes on every target (plain char is unsigned on ARM), so
    // characters above 0x7F sort before ASCII.
    const auto* sa = reinterpret_cast<const signed char*>(a);
    const auto* sb = reinterpret_cast<const signed char*>(b);
    size_t i = 0;
    while (sa[i] != 0 && sb[i] != 0) {
        if (sa[i] != sb[i])
            return sa[i] < sb[i] ? -1 : 1;
        ++i;
    }
    const bool aEnded = sa[i] == 0;
    const bool bEnded = sb[i] == 0;
    switch (mode) {
    case 1:
        return aEnded && !bEnded ? -1 : 0;
    case 2:
        return bEnded && !aEnded ? 1 : 0;
    default:
        if (aEnded && bEnded)
            return 0;
        return aEnded ? -1 : 1;
    }
}

int32_t StrFind(const char* s, const char* pattern)
{
    if (!s || !pattern)
        return 0;
    const size_t length = std::strlen(s);
    for (size_t i = 0; i <= length; ++i) {
        if (StrCompareMode(s + i, pattern, 1) == 0)
            return int32_t(i);
    }
    return -1;
}

char* StrSubstring(const char* s, int32_t start, int32_t count)
{
    if (!s)
        return nullptr;
    const int64_t length = int64_t(std::strlen(s));
    const int64_t from = start < 0 ? 0 : start;
    if (from >= length)
        return NewString(s, 0);
    const int64_t rest = length - from;
    const int64_t n = count < 0 || count > rest ? rest : count;
    return NewString(s + from, uint64_t(n));
}

int32_t StrCountFields(const char* s, char separator)
{
    if (!s)
        return 0;
    int32_t occurrences = 0;
    for (const char* p = FindSeparator(s, separator); p; p = FindSeparator(p + 1, separator))
        ++occurrences;
    return occurrences ? occurrences + 1 : 0;
}

char* StrGetFields(const char* s, int32_t first, int32_t count, char separator)
{
    if (!s)
        return nullptr;
    const char* begin = s;
    for (int32_t skipped = 0; skipped < first; ++skipped) {
        begin = FindSeparator(begin, separator);
        if (!begin)
            return NewString(s, 0);
        ++begin;
    }
    const char* end = begin + std::strlen(begin);
    if (count == 0) {
        end = begin;
    } else if (count > 0) {
        const char* field = begin;
        for (int32_t taken = 1;; ++taken) {
            const char* next = FindSeparator(field, separator);
            if (!next)
                break;
            if (taken == count) {
                end = next;
                break;
            }
            field = next + 1;
        }
    }
    return NewString(begin, uint64_t(end - begin));
}

char* StrReplaceAll(const char* s, const char* find, const char* replacement)
{
    if (!s || !find || !replacement)
        return nullptr;
    const size_t findLength = std::strlen(find);
    if (findLength == 0)
        return NewString(s, std::strlen(s));
    const size_t replacementLength = std::strlen(replacement);

    uint64_t resultLength = 0;
    for (const char* p = s; *p;) {
        if (std::strncmp(p, find, findLength) == 0) {
            resultLength += replacementLength;
            p += findLength;
        } else {
            ++resultLength;
            ++p;
        }
    }
    if (resultLength > kMaxLength)
        return nullptr;
    auto* result = static_cast<char*>(MemAllocClear(uint32_t(resultLength + 1)));
    if (!result)
        return nullptr;
    char* out = result;
    for (const char* p = s; *p;) {
        if (std::strncmp(p, find, findLength) == 0) {
            std::memcpy(out, replacement, replacementLength);
            out += replacementLength;
            p += findLength;
        } else {
            *out++ = *p++;
        }
    }
    return result;
}

void StrFree(void* block)
{
    if (block)
        MemFree(block);
}

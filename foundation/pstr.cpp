#include "foundation/pstr.h"

#include <algorithm>
#include <cstring>

#include "foundation/cstr.h"
#include "foundation/handle.h"

void PStrCopy(uint8_t* destination, const uint8_t* source)
{
    MemMove(source, destination, uint32_t(source[0]) + 1);
}

void PStrCopyMax(uint8_t* destination, const uint8_t* source, int32_t max)
{
    const uint8_t length = uint8_t(std::clamp<int32_t>(source[0], 0, std::max(max, 0)));
    MemMove(source + 1, destination + 1, length);
    destination[0] = length;
}

void PStrFromCStr(uint8_t* destination, const char* source)
{
    // Measured before the move: in place, the move overwrites the source.
    const int32_t length = StrLengthBounded(source, kPStrMaxLength);
    MemMove(source, destination + 1, uint32_t(length));
    destination[0] = uint8_t(length);
}

uint8_t* CStrToPStr(const char* source, uint8_t* destination)
{
    PStrFromCStr(destination, source);
    return destination;
}

uint8_t* PStrFromCStrInPlace(void* buffer)
{
    auto* p = static_cast<uint8_t*>(buffer);
    PStrFromCStr(p, reinterpret_cast<const char*>(p));
    return p;
}

uint8_t* CStrToPStrMax(void* buffer, int32_t max)
{
    auto* p = static_cast<uint8_t*>(buffer);
    const int32_t length = StrLengthBounded(reinterpret_cast<const char*>(p), std::min(max, kPStrMaxLength));
    MemMove(p, p + 1, uint32_t(length));
    p[0] = uint8_t(length);
    return p;
}

void PStrToCStr(const uint8_t* source, char* destination)
{
    const uint8_t length = source[0];
    MemMove(source + 1, destination, length);
    destination[length] = '\0';
}

char* PStrToCStrInPlace(void* buffer)
{
    auto* p = static_cast<char*>(buffer);
    PStrToCStr(reinterpret_cast<const uint8_t*>(p), p);
    return p;
}

char* PStrToCStrMax(void* buffer, int32_t max)
{
    auto* p = static_cast<uint8_t*>(buffer);
    p[0] = uint8_t(std::clamp<int32_t>(p[0], 0, std::max(max, 0)));
    return PStrToCStrInPlace(p);
}

int PStrAppend(uint8_t* destination, const uint8_t* source)
{
    const int32_t wanted = source[0];
    const int32_t length = std::min(wanted, kPStrMaxLength - destination[0]);
    MemMove(source + 1, destination + 1 + destination[0], uint32_t(length));
    destination[0] = uint8_t(destination[0] + length);
    return length < wanted ? 1 : 0;
}

int PStrAppendCStr(uint8_t* destination, const char* source)
{
    const int32_t room = kPStrMaxLength - destination[0];
    // One character more than fits tells whether anything was cut.
    const int32_t wanted = StrLengthBounded(source, room + 1);
    const int32_t length = std::min(wanted, room);
    MemMove(source, destination + 1 + destination[0], uint32_t(length));
    destination[0] = uint8_t(destination[0] + length);
    return length < wanted ? 1 : 0;
}

void PStrTrimRight(uint8_t* text)
{
    while (text[0] > 0 && text[text[0]] == ' ')
        --text[0];
}

void PStrFromInt(int32_t value, uint8_t* destination)
{
    char digits[kIntTextSize];
    IntToStr(value, digits);
    PStrFromCStr(destination, digits);
}

int32_t PStrToLong(const uint8_t* text, int32_t* out)
{
    char s[kPStrMaxLength + 1];
    PStrToCStr(text, s);
    return CStrToLong(s, out);
}

int PStrEqual(const uint8_t* a, const uint8_t* b)
{
    return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0 ? 1 : 0;
}

int PStrCompare(const uint8_t* a, const uint8_t* b)
{
    const int common = std::min(a[0], b[0]);
    for (int i = 1; i <= common; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    if (a[0] == b[0])
        return 0;
    return a[0] > b[0] ? 1 : -1;
}

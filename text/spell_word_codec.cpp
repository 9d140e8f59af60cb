#include "text/spell_word_codec.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "text/spell_dictionary_format.h"
#include "text/word_finder.h"

namespace {

constexpr uint8_t kApostrophe = 39;

}  // namespace

int DictCharCode(uint8_t c)
{
    if (c >= 'a' && c <= 'z')
        return kDictCodeLetterA + (c - 'a');
    switch (c) {
    case '.': return kDictCodeDot;
    case '-': return kDictCodeHyphen;
    case kApostrophe: return kDictCodeApostrophe;
    case ' ': return kDictCodeSpace;
    default: return -1;
    }
}

uint8_t DictCodeChar(uint8_t code)
{
    if (code < 26)
        return uint8_t('a' + code);
    switch (code) {
    case kDictCodeDot: return '.';
    case kDictCodeHyphen: return '-';
    case kDictCodeApostrophe: return kApostrophe;
    case kDictCodeSpace: return ' ';
    default: return '?';
    }
}

void DictNormalizeWord(const uint8_t* word, uint8_t* out)
{
    const uint8_t n = word[0];
    out[0] = n;
    for (uint32_t i = 1; i <= n; ++i) {
        uint8_t c = word[i];
        if (IsSpellApostrophe(c))
            c = kApostrophe;
        out[i] = Cp1252ToLower(c);
    }
}

bool DictWordKeyOf(const uint8_t* normalized, DictWordKey* key)
{
    const uint8_t n = normalized[0];
    if (n == 0 || normalized[1] < 'a' || normalized[1] > 'z')
        return false;
    if (n <= kDictShortWordMax) {
        *key = {kDictShortWordBucket, 0};
        return true;
    }
    const int second = DictCharCode(normalized[2]);
    if (second < 0)
        return false;
    *key = {DictBucketIndex(normalized[1] - 'a', second), kDictKeyLength};
    return true;
}

bool DictCharsToCodes(const uint8_t* chars, uint32_t n, uint8_t* codes)
{
    for (uint32_t i = 0; i < n; ++i) {
        const int code = DictCharCode(chars[i]);
        if (code < 0)
            return false;
        codes[i] = uint8_t(code);
    }
    return true;
}

void DictPackCodes(const uint8_t* codes, uint32_t n, uint8_t* packed)
{
    std::memset(packed, 0, DictPackedLength(n));
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t bit = i * 5;
        const uint32_t v = uint32_t(codes[i] & 31) << (bit & 7);
        packed[bit >> 3] |= uint8_t(v);
        if (v > 0xFF)
            packed[(bit >> 3) + 1] |= uint8_t(v >> 8);
    }
}

int DictCompareEntry(const uint8_t* packed, uint32_t length, const uint8_t* codes, uint32_t n, uint32_t* run)
{
    const uint32_t common = length < n ? length : n;
    for (uint32_t i = 0; i < common; ++i) {
        const uint8_t c = DictPackedCode(packed, i);
        if (c != codes[i]) {
            *run = i;
            return c < codes[i] ? -1 : 1;
        }
    }
    *run = common;
    return length == n ? 0 : (length < n ? -1 : 1);
}

void DictUnpackChars(const uint8_t* packed, uint32_t length, uint8_t* chars)
{
    for (uint32_t i = 0; i < length; ++i)
        chars[i] = DictCodeChar(DictPackedCode(packed, i));
}

uint16_t DictListCount(const uint8_t* list, uint32_t size)
{
    return size >= kDictListHeaderLength ? GetU16LE(list + kDictListCountOffset) : 0;
}

bool DictListIsSound(const uint8_t* list, uint32_t size)
{
    if (size == 0)
        return true;
    if (size < kDictListHeaderLength || size > kDictListMaxLength)
        return false;
    const uint32_t count = GetU16LE(list + kDictListCountOffset);
    uint32_t at = kDictListHeaderLength;
    for (uint32_t i = 0; i < count; ++i) {
        if (at >= size)
            return false;
        const uint32_t next = at + DictEntryLength(list[at + kDictEntryLengthOffset]);
        if (next > size)
            return false;
        at = next;
    }
    return at == size;
}

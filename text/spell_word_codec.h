// Words of the spelling dictionary as five-bit codes: normalising a word,
// finding its bucket, packing and comparing codes, and walking the entries
// of a word list (layout in spell_dictionary_format.h).
#pragma once

#include <cstdint>

// The code of a character of a normalised word; -1 for a character outside
// the alphabet (a-z . - ' space).
int DictCharCode(uint8_t c);
// The character of a code. Codes 30 and 31 name none; damaged or foreign
// files may still hold them, and they read back as '?'.
uint8_t DictCodeChar(uint8_t code);

// The form words are kept and compared in: the typographic apostrophes
// (IsSpellApostrophe) become 39, then the code page's lower-casing applies.
// PStr to PStr; out may be word.
void DictNormalizeWord(const uint8_t* word, uint8_t* out);

// Where a normalised word belongs: its bucket, and the position in the word
// at which the text the bucket keeps starts (0 for the short-word bucket,
// else 2). False when the word is empty or does not start with a letter
// a-z, or when its second character has no code.
struct DictWordKey {
    int bucket;
    int textStart;
};
bool DictWordKeyOf(const uint8_t* normalized, DictWordKey* key);

// Codes of n characters; false when one of them is outside the alphabet.
bool DictCharsToCodes(const uint8_t* chars, uint32_t n, uint8_t* codes);
// Packs n codes into DictPackedLength(n) bytes, unused bits cleared.
void DictPackCodes(const uint8_t* codes, uint32_t n, uint8_t* packed);
// Code i of a packed text.
inline uint8_t DictPackedCode(const uint8_t* packed, uint32_t i)
{
    const uint32_t bit = i * 5;
    const uint32_t at = bit >> 3;
    const uint32_t shift = bit & 7;
    uint32_t v = uint32_t(packed[at]) >> shift;
    if (shift > 3)  // the code runs into the next byte, which the text then has
        v |= uint32_t(packed[at + 1]) << (8 - shift);
    return uint8_t(v & 31);
}

// Compares a packed entry text of length characters with n codes: negative
// when the entry comes first, 0 when equal, positive when it comes after
// (a proper prefix first). run receives the number of equal leading codes.
int DictCompareEntry(const uint8_t* packed, uint32_t length, const uint8_t* codes, uint32_t n, uint32_t* run);

// Decodes a packed text into characters.
void DictUnpackChars(const uint8_t* packed, uint32_t length, uint8_t* chars);

// A word list held in memory: count, then entries.
uint16_t DictListCount(const uint8_t* list, uint32_t size);
// True when the list is exactly count whole entries and nothing else; a
// list of 0 bytes is the empty list.
bool DictListIsSound(const uint8_t* list, uint32_t size);

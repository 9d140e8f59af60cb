// The spelling dictionary file (".dic") and the word lists it is made of.
//
// A file is the 781 word lists in bucket order, each behind its size:
//   +0  u32  size of the word list that follows (0: an empty bucket)
//   +4  size bytes of the word list
// with no header, signature or trailer. A word list is the same bytes in
// memory and in the file:
//   +0  u16  count of entries
//   +2  count entries, back to back, in ascending order of their code
//       sequences (a proper prefix before the longer text). An entry is
//       u8 L (characters), then the L five-bit codes packed least
//       significant bit first: code i in bits 5i..5i+4 of the bit string
//       that starts at bit 0 of the first byte; unused high bits are 0.
//
// A word's bucket is given by its first two characters (first index
// 'a'..'z' = 0..25, second index the code of the second character), and
// the bucket keeps the word without them. Words shorter than 3 go whole
// into the one bucket (26, 0), which comes last.
#pragma once

#include <cstdint>

// Character codes.
enum : uint8_t {
    kDictCodeLetterA = 0,  // 'a'..'z' are 0..25
    kDictCodeDot = 26,
    kDictCodeHyphen = 27,
    kDictCodeApostrophe = 28,
    kDictCodeSpace = 29,
    kDictCodeCount = 30,  // codes 30 and 31 fit the five bits but name no character
};
constexpr int kDictCodeBits = 5;

// Buckets.
constexpr int kDictFirstIndexes = 26;
constexpr int kDictSecondIndexes = kDictCodeCount;
constexpr int kDictShortWordBucket = kDictFirstIndexes * kDictSecondIndexes;  // (26, 0)
constexpr int kDictBucketCount = kDictShortWordBucket + 1;                   // 781
constexpr int kDictKeyLength = 2;     // characters the bucket stands for
constexpr int kDictShortWordMax = 2;  // longest word of the short-word bucket

constexpr int DictBucketIndex(int first, int second)
{
    return first >= kDictFirstIndexes ? kDictShortWordBucket : first * kDictSecondIndexes + second;
}

// The file.
constexpr uint32_t kDictSizeFieldLength = 4;
constexpr uint32_t kDictEmptyFileSize = kDictBucketCount * kDictSizeFieldLength;  // 3124

// A word list.
constexpr uint32_t kDictListCountOffset = 0;
constexpr uint32_t kDictListHeaderLength = 2;
constexpr uint32_t kDictListMaxCount = 0xFFFF;
// Lists shorter than this (nothing but a count of 0) are stored as size 0.
constexpr uint32_t kDictSmallestStoredList = 3;

// An entry.
constexpr uint32_t kDictEntryLengthOffset = 0;
constexpr uint32_t kDictEntryCodesOffset = 1;
constexpr uint32_t kDictEntryMaxCharacters = 255;

constexpr uint32_t DictPackedLength(uint32_t characters) { return (characters * kDictCodeBits + 7) / 8; }
constexpr uint32_t DictEntryLength(uint32_t characters)
{
    return kDictEntryCodesOffset + DictPackedLength(characters);
}

// The largest word list the format can express; a size beyond it can only
// come from a damaged file.
constexpr uint32_t kDictListMaxLength =
    kDictListHeaderLength + kDictListMaxCount * DictEntryLength(kDictEntryMaxCharacters);

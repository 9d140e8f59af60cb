// The hyphenation patterns compiled into the program, and their index.
//
// The table is generated (tools/hyphen-table/make_hyphen_table.py) from the
// TeX US English patterns; see the generated file for where they come from.
// Each pattern is a NUL-terminated string of lower-case letters, '.' for a
// word edge and the digits 1-5 between them. The patterns are sorted by
// their number of letters and dots (2 to 8), then by those characters in
// ASCII order ('.' first).
#pragma once

#include <cstdint>

constexpr int kHyphenPatternCount = 4447;
extern const char* const kHyphenPatterns[kHyphenPatternCount];

// Patterns have 2 to 8 letters and dots; '.' is code 0, 'a'..'z' 1..26.
constexpr int kHyphenMinPatternLength = 2;
constexpr int kHyphenMaxPatternLength = 8;
constexpr int kHyphenCodeCount = 27;

// All patterns of one length that begin with the same two characters lie
// together; their bucket says where. Bucket number for length n and codes
// c0, c1: ((n - 2) * 27 + c0) * 27 + c1.
struct HyphenBucket {
    uint16_t first;  // index of the bucket's first pattern
    uint8_t count;   // 0 for an empty bucket
    uint8_t zero;
};

constexpr int kHyphenBucketCount =
    (kHyphenMaxPatternLength - kHyphenMinPatternLength + 1) * kHyphenCodeCount * kHyphenCodeCount;
extern const HyphenBucket kHyphenBuckets[kHyphenBucketCount];

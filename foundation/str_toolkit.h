// Allocating toolkit for zero-terminated strings.
//
// Every string it makes is a new zeroed plain block (MemAllocClear) that the
// caller releases with StrFree. Null arguments give 0 (a null result for the
// operations that make a string); so does a failed allocation.
#pragma once

#include <cstdint>

// Length of s; 0 for null.
int32_t StrLength(const char* s);

// Appends source to destination, which must have room for both; returns
// the new length.
int32_t StrAppend(char* destination, const char* source);

// Compares characters as signed values until one string ends; a difference
// gives -1 or 1. When one string ends:
//   mode 0: -1 when a ended first, 1 when b ended first, 0 when both did;
//   mode 1: -1 when a ended first, else 0 (b is a prefix of a);
//   mode 2: 1 when b ended first, else 0.
// Any other mode is taken as 0.
int StrCompareMode(const char* a, const char* b, int mode);

// Index of the first place in s where pattern starts; -1 when none.
int32_t StrFind(const char* s, const char* pattern);

// count characters of s from start. A start below 0 counts as 0, one at or
// beyond the end gives an empty string; a negative count, or one running
// past the end, stops at the end.
char* StrSubstring(const char* s, int32_t start, int32_t count);

// 0 when the separator does not occur in s, else its occurrences plus 1.
int32_t StrCountFields(const char* s, char separator);

// Fields first .. first+count-1 of s (counted from 0) with the separators
// between them; a negative count takes every field from first on.
char* StrGetFields(const char* s, int32_t first, int32_t count, char separator);

// Every occurrence of find, searched left to right without overlaps,
// replaced. An empty find replaces nothing.
char* StrReplaceAll(const char* s, const char* find, const char* replacement);

// Releases a string of this toolkit; null is allowed.
void StrFree(void* block);

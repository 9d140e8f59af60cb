// The spelling dictionary: one word list per process, chosen by the user
// as a ".dic" file and loaded whole into 781 buckets (layout in
// spell_dictionary_format.h). Words are looked up with suggestions, added
// and removed; a changed dictionary is written back when it is closed.
//
// Words are PStrs of Windows-1252 bytes. They are compared in their
// normalised form (spell_word_codec.h), so "Don" + 213 + "t" is the word
// "don't".
//
// A file is loaded only when its whole structure checks out, and only a
// dictionary that loaded that way is ever written back: through a new file
// beside it that then replaces it, so a failed save leaves the old file as
// it was. A file this user may not write opens read-only: lookups work and
// changes are refused.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/file_io.h"
#include "foundation/path_record.h"

// Results of the loader besides 0 and the file layer's codes.
enum : int32_t {
    kDictErrNoMemory = -108,
    kDictErrBadFile = 13,  // the system's "data is invalid": not a sound dictionary
};

// LookupWord modes.
enum : int32_t {
    kLookupOnly = 0,
    kLookupSuggestWhenMissing = 1,
    kLookupAlwaysSuggest = 2,  // reports 1 even for a word that is present
};

constexpr int kMaxSuggestions = 30;

// Opens a dictionary file and loads it; 1 when a dictionary is loaded, else
// 0. An open dictionary is closed first (written back when changed). With
// useStoredPath the file of the last opening is taken (at first the default
// dictionary) when it exists; otherwise, and without the flag, the user
// picks one. With newDictionary the dictionary starts empty, in place of
// the file's words; the file must be empty or a sound dictionary.
int32_t OpenDictionary(int32_t useStoredPath, int32_t newDictionary);
// Writes a changed dictionary back (unless it is read-only or was found
// damaged), closes its file and frees it. 0, or the code of a save that
// failed (also shown to the user); the file is then unchanged.
int32_t CloseDictionary(int32_t saveFlag);
// Empties the suggestion list and frees every bucket.
void ClearDictionary();

// Reads the 781 buckets from the start of file; with newDictionary every
// bucket is made empty instead and nothing is read. 0, a file error, -108
// without memory, or 13 when the file is not a sound dictionary; after a
// failure nothing is loaded.
int32_t LoadDictionary(FileHandle file, int32_t newDictionary);
// Writes every bucket from the start of file and ends the file there. 0 or
// the file error; -1 for no file; 13 for a dictionary found damaged.
int32_t SaveDictionary(FileHandle file);

// 0 found, 1 missing, -1 when the word does not start with a letter, holds
// a character outside a-z . - ' space, or its bucket is not loaded. Modes
// 1 and 2 empty the suggestion list first and fill it from the entries
// nearest the word.
int32_t LookupWord(const uint8_t* word, int32_t mode);
// 0 added; 1 already present, or not storable (a character outside
// a-z . - ' space); -1 when the word does not start with a letter, no
// dictionary is loaded, memory runs out, or the dictionary can't be
// changed (read-only: the user is told; damaged).
int32_t AddWord(const uint8_t* word);
// 0 removed, 1 not present, -1 as for AddWord.
int32_t RemoveWord(const uint8_t* word);

// The suggestion list of the last lookup.
int16_t SuggestionCount();
// Suggestion i (PStr), or null outside 0 .. count - 1.
const uint8_t* SuggestionAt(int32_t i);
// Appends word (replacing the last one when the list is full), or removes
// the first suggestion equal to it.
void SuggestionListEdit(const uint8_t* word, int32_t add);

bool DictionaryIsOpen();
bool DictionaryIsReadOnly();

// The file the next OpenDictionary with useStoredPath takes; at first the
// default dictionary, empty after the user cancelled the choice.
void GetDictionaryPath(PathRecord* record);
void SetDictionaryPath(const PathRecord* record);

// The dictionary the program ships, in the program folder (as a host path
// and as a record).
extern const char* const kDefaultDictionaryFolder;
extern const char* const kDefaultDictionaryName;
std::string DefaultDictionaryPath();
int32_t GetDefaultDictionary(PathRecord* record);

// Calls visit with every word of the loaded buckets (PStr, key characters
// restored) in bucket and list order.
using DictionaryWordVisitor = void (*)(const uint8_t* word, void* user);
void ForEachDictionaryWord(DictionaryWordVisitor visit, void* user);

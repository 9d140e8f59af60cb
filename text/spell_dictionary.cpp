#include "text/spell_dictionary.h"

#include <cstring>

#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "foundation/program_folder.h"
#include "foundation/pstr.h"
#include "foundation/whole_file_writer.h"
#include "foundation/win_error.h"
#include "platform/file_dialog_run.h"
#include "text/spell_dictionary_format.h"
#include "text/spell_word_codec.h"

const char* const kDefaultDictionaryFolder = "Dictionaries";
// The build makes this file from a word list (cmake/DefaultDictionary.cmake
// names it too).
const char* const kDefaultDictionaryName = "English (US).dic";

namespace {

const char* const kOpenErrorText = "Error open dictionary. ";
const char* const kDamagedText = " Error < 0 ";
const char* const kReadOnlyText = "The dictionary is read-only: words can't be added to it or removed from it.";
const char* const kChooseTitle = "Select Dictionary file";
const FileTypeEntry kDictionaryTypes[] = {{"Dict Files", "*.dic"}, {"All Files", "*.*"}};

enum : uint8_t {
    kBucketNotLoaded = 0,
    kBucketLoaded = 1,
    kBucketChanged = 2,
};

struct Bucket {
    uint8_t state = kBucketNotLoaded;
    Handle list = nullptr;
};

struct DictionaryState {
    Bucket buckets[kDictBucketCount];
    PathRecord path{};
    bool pathChosen = false;  // the path is the default's or the user's choice
    FileHandle file = kNoFile;
    bool open = false;
    bool changed = false;
    bool readOnly = false;
    // A bucket turned out inconsistent: the dictionary still answers
    // lookups but is neither changed nor written any more.
    bool damaged = false;
    PStr suggestions[kMaxSuggestions];
    int16_t suggestionCount = 0;
};

DictionaryState& Dict()
{
    static DictionaryState state;
    return state;
}

void FreeBuckets()
{
    for (Bucket& b : Dict().buckets) {
        HandleFree(b.list);
        b.list = nullptr;
        b.state = kBucketNotLoaded;
    }
}

// A word made ready for its bucket.
struct PreparedWord {
    PStr normalized;
    DictWordKey key;
    uint8_t codes[kPStrMaxLength];
    const uint8_t* text;  // the codes the bucket keeps
    uint32_t length;
};

enum class WordCheck {
    kUsable,
    kRefused,      // empty, or not starting with a letter
    kNotStorable,  // a character outside the alphabet
};

WordCheck PrepareWord(const uint8_t* word, uint8_t lowestFirst, PreparedWord* w)
{
    if (!word || word[0] == 0 || word[1] < lowestFirst || word[1] > 'z')
        return WordCheck::kRefused;
    DictNormalizeWord(word, w->normalized);
    if (w->normalized[1] < 'a' || w->normalized[1] > 'z')
        return WordCheck::kRefused;
    const uint32_t n = w->normalized[0];
    if (!DictCharsToCodes(w->normalized + 1, n, w->codes))
        return WordCheck::kNotStorable;
    DictWordKeyOf(w->normalized, &w->key);
    w->text = w->codes + w->key.textStart;
    w->length = n - uint32_t(w->key.textStart);
    return WordCheck::kUsable;
}

// The loaded list of the word's bucket, or null.
Handle LoadedList(const PreparedWord& w)
{
    const Bucket& b = Dict().buckets[w.key.bucket];
    return b.state != kBucketNotLoaded ? b.list : nullptr;
}

// The word prepared (digits allowed first) and the loaded list of its
// bucket; null when the word is not usable or its list is not loaded.
Handle ListOfWord(const uint8_t* word, PreparedWord* w)
{
    return PrepareWord(word, '0', w) == WordCheck::kUsable ? LoadedList(*w) : nullptr;
}

struct BucketSearch {
    bool found = false;
    uint32_t foundAt = 0;
    uint32_t insertAt = 0;  // the first entry after the word, or the list's end
    int32_t bestRun = -1;   // the longest equal leading run, at bestAt
    uint32_t bestAt = 0;
    bool damaged = false;   // an entry runs past the list
};

// Walks the list from its first entry up to the word, or through all of it
// when the word is missing.
BucketSearch SearchList(Handle list, const PreparedWord& w)
{
    BucketSearch s;
    const uint8_t* data = HandleData(list);
    const uint32_t size = HandleGetSize(list);
    const uint32_t count = DictListCount(data, size);
    bool insertFound = false;
    uint32_t at = kDictListHeaderLength;
    for (uint32_t i = 0; i < count; ++i) {
        if (at >= size || at + DictEntryLength(data[at]) > size) {
            s.damaged = true;
            break;
        }
        const uint32_t length = data[at + kDictEntryLengthOffset];
        uint32_t run = 0;
        const int order = DictCompareEntry(data + at + kDictEntryCodesOffset, length, w.text, w.length, &run);
        if (int32_t(run) > s.bestRun) {
            s.bestRun = int32_t(run);
            s.bestAt = at;
        }
        if (order > 0 && !insertFound) {
            s.insertAt = at;
            insertFound = true;
        }
        if (order == 0) {
            s.found = true;
            s.foundAt = at;
            s.bestRun = int32_t(run);
            s.bestAt = at;
            return s;
        }
        at += DictEntryLength(length);
    }
    if (!insertFound)
        s.insertAt = s.damaged ? size : at;
    return s;
}

void AppendSuggestion(const uint8_t* word)
{
    DictionaryState& d = Dict();
    if (d.suggestionCount < kMaxSuggestions)
        PStrCopy(d.suggestions[d.suggestionCount++], word);
    else
        PStrCopy(d.suggestions[kMaxSuggestions - 1], word);
}

// From the entry nearest the word to the bucket's end, every entry that
// shares enough leading characters with it, with the key characters put
// back in front.
void FillSuggestions(Handle list, const PreparedWord& w, const BucketSearch& s)
{
    if (s.bestRun < 0)
        return;
    const uint32_t needed = uint32_t(s.bestRun < 5 ? s.bestRun : 5);
    const uint8_t* data = HandleData(list);
    const uint32_t size = HandleGetSize(list);
    const uint32_t maxText = kPStrMaxLength - uint32_t(w.key.textStart);
    for (uint32_t at = s.bestAt; at < size && Dict().suggestionCount < kMaxSuggestions;) {
        const uint32_t length = data[at + kDictEntryLengthOffset];
        const uint32_t next = at + DictEntryLength(length);
        if (next > size)
            break;
        const uint8_t* packed = data + at + kDictEntryCodesOffset;
        uint32_t run = 0;
        DictCompareEntry(packed, length, w.text, w.length, &run);
        if (run >= needed) {
            PStr word;
            const uint32_t taken = length < maxText ? length : maxText;
            std::memcpy(word + 1, w.normalized + 1, size_t(w.key.textStart));
            DictUnpackChars(packed, taken, word + 1 + w.key.textStart);
            word[0] = uint8_t(uint32_t(w.key.textStart) + taken);
            AppendSuggestion(word);
        }
        at = next;
    }
}

// An inconsistency found while changing a bucket: said once, and the
// dictionary is kept from being changed or written from then on.
int32_t ReportDamage()
{
    DictionaryState& d = Dict();
    if (!d.damaged) {
        d.damaged = true;
        AlertStop(kDamagedText, 0);
    }
    return -1;
}

// 0 when the dictionary may be changed; -1 (the user told why, for a
// read-only file) when not.
int32_t CheckChangeable()
{
    DictionaryState& d = Dict();
    if (d.damaged)
        return -1;
    if (d.readOnly) {
        AlertNote(kReadOnlyText, 0);
        return -1;
    }
    return 0;
}

// Writes the dictionary to a new file beside its file and puts that in its
// place, so the old file stays whole until the new one is. Closes the
// dictionary's file on the way, because an open file can't be replaced.
int32_t WriteBack()
{
    DictionaryState& d = Dict();
    return ReplaceFileWhole(d.path, "DIC", SaveDictionary, [&d] {
        FileClose(d.file);
        d.file = kNoFile;
    });
}

int32_t WriteU32(FileHandle file, uint32_t value)
{
    uint8_t field[kDictSizeFieldLength];
    PutU32LE(field, value);
    return FileWrite(file, field, kDictSizeFieldLength);
}

}  // namespace

int32_t LoadDictionary(FileHandle file, int32_t newDictionary)
{
    DictionaryState& d = Dict();
    FreeBuckets();
    d.damaged = false;
    if (newDictionary) {
        for (Bucket& b : d.buckets) {
            b.list = HandleNewClear(kDictListHeaderLength);
            if (!b.list) {
                FreeBuckets();
                return kDictErrNoMemory;
            }
            b.state = kBucketLoaded;
        }
        return 0;
    }

    uint32_t fileSize = 0;
    int32_t err = FileGetSize(file, &fileSize);
    if (err == kErrNone)
        err = FileSeek(file, kSeekStart, 0);
    if (err != kErrNone)
        return err;
    if (fileSize < kDictEmptyFileSize)
        return kDictErrBadFile;
    // Bytes of the file not yet taken by a size field or a list, beyond
    // the size fields still to come.
    uint32_t spare = fileSize - kDictEmptyFileSize;
    for (Bucket& b : d.buckets) {
        uint8_t field[kDictSizeFieldLength];
        err = FileRead(file, field, kDictSizeFieldLength);
        const uint32_t size = GetU32LE(field);
        if (err == kErrNone && (size > spare || size > kDictListMaxLength))
            err = kDictErrBadFile;
        if (err == kErrNone) {
            spare -= size;
            b.list = size == 0 ? HandleNewClear(kDictListHeaderLength) : HandleNew(size);
            if (!b.list)
                err = kDictErrNoMemory;
        }
        if (err == kErrNone && size != 0) {
            err = FileRead(file, HandleData(b.list), size);
            if (err == kErrNone && !DictListIsSound(HandleData(b.list), size))
                err = kDictErrBadFile;
        }
        if (err != kErrNone) {
            FreeBuckets();
            return err;
        }
        b.state = kBucketLoaded;
    }
    return 0;
}

int32_t SaveDictionary(FileHandle file)
{
    DictionaryState& d = Dict();
    if (file < 0)
        return -1;
    if (d.damaged)
        return kDictErrBadFile;
    int32_t err = FileSeek(file, kSeekStart, 0);
    uint32_t end = 0;
    for (const Bucket& b : d.buckets) {
        if (err != kErrNone)
            break;
        const uint32_t size = b.list ? HandleGetSize(b.list) : 0;
        if (size < kDictSmallestStoredList) {
            err = WriteU32(file, 0);
            end += kDictSizeFieldLength;
            continue;
        }
        err = WriteU32(file, size);
        if (err == kErrNone)
            err = FileWrite(file, HandleData(b.list), size);
        end += kDictSizeFieldLength + size;
    }
    if (err == kErrNone)
        err = FileSetSize(file, end);
    return err;
}

void ClearDictionary()
{
    DictionaryState& d = Dict();
    d.suggestionCount = 0;
    FreeBuckets();
    d.changed = false;  // nothing is left that could be written
    if (!d.open && d.file != kNoFile) {
        FileClose(d.file);
        d.file = kNoFile;
    }
}

int32_t CloseDictionary(int32_t saveFlag)
{
    DictionaryState& d = Dict();
    if (!d.open && saveFlag) {
        if (d.file != kNoFile)
            FileClose(d.file);
        d.file = kNoFile;
        return 0;
    }
    int32_t err = kErrNone;
    if (d.file != kNoFile) {
        if (d.open && d.changed && !d.readOnly && !d.damaged)
            err = WriteBack();
        if (d.file != kNoFile)
            FileClose(d.file);
        d.file = kNoFile;
    }
    FreeBuckets();
    d.open = false;
    d.changed = false;
    d.readOnly = false;
    d.damaged = false;
    if (err != kErrNone)
        AlertFileError(err);
    return err;
}

int32_t OpenDictionary(int32_t useStoredPath, int32_t newDictionary)
{
    DictionaryState& d = Dict();
    CloseDictionary(1);
    ClearDictionary();

    if (!d.pathChosen) {
        if (GetDefaultDictionary(&d.path) != kErrNone)
            d.path = PathRecord{};
        d.pathChosen = true;
    }
    bool ask = !useStoredPath || d.path.name[0] == '\0';
    if (!ask) {
        FileInfo info;
        ask = FileGetInfo(&d.path, &info) != 0;
    }
    if (ask) {
        PathRecord chosen = d.path;
        if (chosen.name[0] == '\0')
            GetDefaultDictionary(&chosen);  // the dialog starts in its folder
        if (!ShowOpenFileDialog(&chosen, kChooseTitle, kDictionaryTypes, 2)) {
            d.path = PathRecord{};
            return 0;
        }
        d.path = chosen;
    }

    d.readOnly = false;
    int32_t err = FileOpen(&d.path, kFileReadWrite, &d.file);
    if (err == kErrAccessDenied || err == kErrWriteProtect) {
        err = FileOpen(&d.path, kFileRead, &d.file);
        d.readOnly = err == kErrNone;
    }
    // A new dictionary will be written over the file: only an empty file or
    // a dictionary may be given up for it.
    uint32_t size = 0;
    if (err == kErrNone && newDictionary)
        err = FileGetSize(d.file, &size);
    if (err == kErrNone && newDictionary && size != 0)
        err = LoadDictionary(d.file, 0);
    if (err == kErrNone)
        err = LoadDictionary(d.file, newDictionary);
    if (err != kErrNone) {
        AlertStop(kOpenErrorText, err);
        if (d.file != kNoFile)
            FileClose(d.file);
        d.file = kNoFile;
        d.readOnly = false;
        ClearDictionary();
        return 0;
    }
    d.changed = false;
    d.open = true;
    return 1;
}

int32_t LookupWord(const uint8_t* word, int32_t mode)
{
    DictionaryState& d = Dict();
    if (mode != kLookupOnly)
        d.suggestionCount = 0;
    PreparedWord w;
    Handle list = ListOfWord(word, &w);
    if (!list)
        return -1;
    const BucketSearch s = SearchList(list, w);
    if (s.found && mode != kLookupAlwaysSuggest)
        return 0;
    if (mode != kLookupOnly)
        FillSuggestions(list, w, s);
    return 1;
}

int32_t AddWord(const uint8_t* word)
{
    DictionaryState& d = Dict();
    PreparedWord w;
    const WordCheck check = PrepareWord(word, 'A', &w);
    if (check == WordCheck::kRefused)
        return -1;
    if (check == WordCheck::kNotStorable)
        return 1;
    Handle list = LoadedList(w);
    if (!list)
        return -1;
    const BucketSearch s = SearchList(list, w);
    if (s.found)
        return 1;
    if (CheckChangeable() != 0)
        return -1;
    if (s.damaged)
        return ReportDamage();

    d.changed = true;
    const uint32_t size = HandleGetSize(list);
    if (DictListCount(HandleData(list), size) == kDictListMaxCount)
        return -1;
    const uint32_t entry = DictEntryLength(w.length);
    const uint32_t tail = size - s.insertAt;
    if (HandleResize(list, int32_t(size + entry)) != 0)
        return -1;
    uint8_t* data = HandleData(list);
    std::memmove(data + s.insertAt + entry, data + s.insertAt, tail);
    data[s.insertAt + kDictEntryLengthOffset] = uint8_t(w.length);
    DictPackCodes(w.text, w.length, data + s.insertAt + kDictEntryCodesOffset);
    PutU16LE(data + kDictListCountOffset, uint16_t(GetU16LE(data + kDictListCountOffset) + 1));
    d.buckets[w.key.bucket].state = kBucketChanged;
    return 0;
}

int32_t RemoveWord(const uint8_t* word)
{
    DictionaryState& d = Dict();
    PreparedWord w;
    Handle list = ListOfWord(word, &w);
    if (!list)
        return -1;
    d.changed = true;
    if (DictListCount(HandleData(list), HandleGetSize(list)) == 0)
        return 1;
    const BucketSearch s = SearchList(list, w);
    if (!s.found)
        return 1;
    if (CheckChangeable() != 0)
        return -1;

    const uint32_t size = HandleGetSize(list);
    uint8_t* data = HandleData(list);
    const uint32_t entry = DictEntryLength(data[s.foundAt + kDictEntryLengthOffset]);
    uint8_t removed[DictEntryLength(kDictEntryMaxCharacters)];
    std::memcpy(removed, data + s.foundAt, entry);
    std::memmove(data + s.foundAt, data + s.foundAt + entry, size - s.foundAt - entry);
    if (HandleResize(list, int32_t(size - entry)) != 0) {
        std::memmove(data + s.foundAt + entry, data + s.foundAt, size - s.foundAt - entry);
        std::memcpy(data + s.foundAt, removed, entry);
        return -1;
    }
    data = HandleData(list);
    PutU16LE(data + kDictListCountOffset, uint16_t(GetU16LE(data + kDictListCountOffset) - 1));
    d.buckets[w.key.bucket].state = kBucketChanged;
    return 0;
}

int16_t SuggestionCount() { return Dict().suggestionCount; }

const uint8_t* SuggestionAt(int32_t i)
{
    const DictionaryState& d = Dict();
    return i >= 0 && i < d.suggestionCount ? d.suggestions[i] : nullptr;
}

void SuggestionListEdit(const uint8_t* word, int32_t add)
{
    DictionaryState& d = Dict();
    if (add) {
        AppendSuggestion(word);
        return;
    }
    for (int i = 0; i < d.suggestionCount; ++i) {
        if (PStrEqual(d.suggestions[i], word)) {
            for (int j = i + 1; j < d.suggestionCount; ++j)
                PStrCopy(d.suggestions[j - 1], d.suggestions[j]);
            --d.suggestionCount;
            return;
        }
    }
}

bool DictionaryIsOpen() { return Dict().open; }
bool DictionaryIsReadOnly() { return Dict().open && Dict().readOnly; }

void GetDictionaryPath(PathRecord* record)
{
    DictionaryState& d = Dict();
    if (!d.pathChosen) {
        if (GetDefaultDictionary(&d.path) != kErrNone)
            d.path = PathRecord{};
        d.pathChosen = true;
    }
    *record = d.path;
}

void SetDictionaryPath(const PathRecord* record)
{
    Dict().path = record ? *record : PathRecord{};
    Dict().pathChosen = true;
}

std::string DefaultDictionaryPath()
{
    return ProgramFolderPath() + kDefaultDictionaryFolder + "/" + kDefaultDictionaryName;
}

int32_t GetDefaultDictionary(PathRecord* record) { return PathRecordFromPosix(DefaultDictionaryPath(), record); }

void ForEachDictionaryWord(DictionaryWordVisitor visit, void* user)
{
    const DictionaryState& d = Dict();
    for (int b = 0; b < kDictBucketCount; ++b) {
        const Bucket& bucket = d.buckets[b];
        if (bucket.state == kBucketNotLoaded || !bucket.list)
            continue;
        const uint8_t* data = HandleData(bucket.list);
        const uint32_t size = HandleGetSize(bucket.list);
        const uint32_t count = DictListCount(data, size);
        const uint32_t key = b == kDictShortWordBucket ? 0 : kDictKeyLength;
        uint32_t at = kDictListHeaderLength;
        for (uint32_t i = 0; i < count && at < size; ++i) {
            const uint32_t length = data[at + kDictEntryLengthOffset];
            if (at + DictEntryLength(length) > size)
                break;
            PStr word;
            if (key) {
                word[1] = uint8_t('a' + b / kDictSecondIndexes);
                word[2] = DictCodeChar(uint8_t(b % kDictSecondIndexes));
            }
            const uint32_t taken = length < kPStrMaxLength - key ? length : kPStrMaxLength - key;
            DictUnpackChars(data + at + kDictEntryCodesOffset, taken, word + 1 + key);
            word[0] = uint8_t(key + taken);
            visit(word, user);
            at += DictEntryLength(length);
        }
    }
}

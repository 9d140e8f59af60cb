#include "records/preferences.h"

#include <QLoggingCategory>
#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/program_folder.h"
#include "foundation/win_error.h"
#include "graphics/quick_card_block.h"

namespace {

Q_LOGGING_CATEGORY(lcPrefs, "tessaline.prefs", QtWarningMsg)

constexpr const char* kDefPrefName = "QXDefPref";

// The general block's words that are not 0 by default.
struct PrefDefault {
    size_t at;
    uint32_t value;
};
constexpr PrefDefault kGeneralDefaults[] = {
    {kPrefBlockVersion, kPrefVersion}, {kPrefScrollSpeed, 32},  {kPrefSmallCaps, 85},
    {kPrefSuperscript, 70},            {kPrefSubscript, 70},    {kPrefHorizontalUnit, 2},
    {kPrefVerticalUnit, 2},            {kPrefColour40, 0x0000FF00}, {kPrefGuideColour, 0x00FFFF21},
    {kPrefJustify, 1},                 {kPrefTextWrap, 1},      {kPrefPictureIntoDocument, 1},
    {kPrefQuoteStyle, 1},              {kPrefGuidesInBack, 1},  {kPrefPasteboardWidth, 100},
    {kPrefPasteboardHeight, 100},      {kPrefTabWidth, 20},     {kPrefWord96, 1},
    {kPrefWord104, 1},
};

std::string HostPath(const PathRecord& record) { return PathRecordToPosix(record); }

// Reads n bytes at position of the file; 0 or the code.
int32_t ReadAt(const PathRecord& path, uint32_t position, uint8_t* out, uint32_t n)
{
    FileHandle file = kNoFile;
    int32_t err = FileOpen(&path, kFileRead, &file);
    if (err != kErrNone)
        return err;
    err = FileSeek(file, kSeekStart, int32_t(position));
    if (err == kErrNone)
        err = FileRead(file, out, n);
    FileClose(file);
    return err;
}

int32_t WriteAt(const PathRecord& path, uint32_t position, const uint8_t* bytes, uint32_t n)
{
    FileHandle file = kNoFile;
    int32_t err = FileOpen(&path, kFileReadWrite, &file);
    if (err != kErrNone)
        return err;
    err = FileSeek(file, kSeekStart, int32_t(position));
    if (err == kErrNone)
        err = FileWrite(file, bytes, n);
    const int32_t closed = FileClose(file);
    return err != kErrNone ? err : closed;
}

void EncodeQuickCardItem(const QuickCardItem& item, uint8_t* out)
{
    for (size_t i = 0; i < kQuickCardItemWords; ++i)
        PutU32LE(out + 4 * i, item.words[i]);
    PutU32LE(out + 4 * kQuickCardItemDataWord, item.data ? HandleGetSize(item.data) : 0);
}

// Writes a whole new file from the defaults.
int32_t RebuildDefPref(const PathRecord& path)
{
    uint8_t head[kDefPrefDataAt] = {};
    PutU32LE(head + kDefPrefVersionAt, kPrefVersion);
    DefPrefGeneralDefaults(head + kDefPrefGeneralAt);
    DefPrefToolDefaults(head + kDefPrefToolsAt);
    QuickCardItem item;
    DefPrefQuickCardDefaults(&item);
    EncodeQuickCardItem(item, head + kDefPrefQuickCardAt);

    FileDelete(&path);
    FileHandle file = kNoFile;
    int32_t err = FileCreate(&path, kFileReadWrite, &file);
    if (err == kErrNone) {
        err = FileWrite(file, head, sizeof head);
        if (err == kErrNone && item.data && HandleGetSize(item.data))
            err = FileWrite(file, HandleData(item.data), HandleGetSize(item.data));
        const int32_t closed = FileClose(file);
        if (err == kErrNone)
            err = closed;
    }
    QuickCardBlockFree(&item.data);
    return err;
}

struct GlobalPrefs {
    bool toolsLoaded = false;
    uint8_t tools[kToolPrefsSize] = {};
    bool quickCardLoaded = false;
    QuickCardItem quickCard;
};

GlobalPrefs& Globals()
{
    static GlobalPrefs globals;
    return globals;
}

}  // namespace

int32_t GetDefPrefPath(PathRecord* out)
{
    const int32_t err = GetProgramFolder(out);
    if (err != kErrNone)
        return err;
    std::strncpy(out->name, kDefPrefName, sizeof out->name - 1);
    out->extension[0] = 0;
    return kErrNone;
}

int32_t EnsureDefPrefFile()
{
    PathRecord path{};
    int32_t err = GetDefPrefPath(&path);
    if (err != kErrNone)
        return err;
    const bool present = FileExists(&path, 0) != 0;
    if (present) {
        FileHandle file = kNoFile;
        uint8_t version[4] = {};
        uint32_t size = 0;
        if (FileOpen(&path, kFileRead, &file) == kErrNone) {
            const bool read = FileRead(file, version, sizeof version) == kErrNone &&
                              FileGetSize(file, &size) == kErrNone;
            FileClose(file);
            if (read && GetU32LE(version) == kPrefVersion && size >= kDefPrefDataAt)
                return kErrNone;
        }
        qCDebug(lcPrefs, " \n OLD PREF in file = %s \n", HostPath(path).c_str());
    } else {
        qCDebug(lcPrefs, " \n Not Present PREF in file = %s \n", HostPath(path).c_str());
    }
    return RebuildDefPref(path);
}

void DefPrefGeneralDefaults(uint8_t* general)
{
    std::memset(general, 0, kGeneralPrefsSize);
    for (const PrefDefault& d : kGeneralDefaults)
        PutU32LE(general + d.at, d.value);
}

void DefPrefToolDefaults(uint8_t* tools)
{
    for (size_t i = 0; i < kToolPrefsSize / 4; ++i) {
        const bool one = i <= 1 || (i >= 3 && i <= 11) || (i >= 15 && i <= 19);
        PutU32LE(tools + 4 * i, one ? 1 : 0);
    }
}

void DefPrefQuickCardDefaults(QuickCardItem* item)
{
    std::memset(item->words, 0, sizeof item->words);
    item->words[2] = 1;
    item->data = QuickCardBlockNew();
}

int32_t ReadDefPrefGeneral(uint8_t* general)
{
    PathRecord path{};
    int32_t err = EnsureDefPrefFile();
    if (err == kErrNone)
        err = GetDefPrefPath(&path);
    uint8_t block[kGeneralPrefsSize];
    if (err == kErrNone)
        err = ReadAt(path, kDefPrefGeneralAt, block, sizeof block);
    if (err == kErrNone)
        std::memcpy(general, block, sizeof block);
    else
        DefPrefGeneralDefaults(general);
    return err;
}

int32_t ReadDefPrefTools(uint8_t* tools)
{
    PathRecord path{};
    int32_t err = EnsureDefPrefFile();
    if (err == kErrNone)
        err = GetDefPrefPath(&path);
    uint8_t block[kToolPrefsSize];
    if (err == kErrNone)
        err = ReadAt(path, kDefPrefToolsAt, block, sizeof block);
    if (err == kErrNone)
        std::memcpy(tools, block, sizeof block);
    else
        DefPrefToolDefaults(tools);
    return err;
}

int32_t ReadDefPrefQuickCard(QuickCardItem* item)
{
    QuickCardBlockFree(&item->data);
    PathRecord path{};
    int32_t err = EnsureDefPrefFile();
    if (err == kErrNone)
        err = GetDefPrefPath(&path);
    FileHandle file = kNoFile;
    if (err == kErrNone)
        err = FileOpen(&path, kFileRead, &file);
    uint8_t record[kQuickCardItemSize];
    uint32_t fileSize = 0;
    if (err == kErrNone) {
        err = FileSeek(file, kSeekStart, int32_t(kDefPrefQuickCardAt));
        if (err == kErrNone)
            err = FileRead(file, record, sizeof record);
        if (err == kErrNone)
            err = FileGetSize(file, &fileSize);
    }
    if (err != kErrNone) {
        if (file != kNoFile)
            FileClose(file);
        DefPrefQuickCardDefaults(item);
        return err;
    }
    for (size_t i = 0; i < kQuickCardItemWords; ++i)
        item->words[i] = GetU32LE(record + 4 * i);
    const uint32_t size = item->words[kQuickCardItemDataWord];
    item->words[kQuickCardItemDataWord] = 0;
    // The size word is believed only as far as the file reaches, and the
    // data only when it is a block the quick-card code can walk.
    Handle data = nullptr;
    if (size >= 1 && fileSize >= kDefPrefDataAt && size <= fileSize - kDefPrefDataAt && (data = HandleNew(size)) != nullptr) {
        if (FileRead(file, HandleData(data), size) != kErrNone || !QuickCardBlockIsValid(data))
            QuickCardBlockFree(&data);
    }
    FileClose(file);
    item->data = data ? data : QuickCardBlockNew();
    return kErrNone;
}

int32_t WriteDefPrefGeneral(const uint8_t* general)
{
    PathRecord path{};
    int32_t err = EnsureDefPrefFile();
    if (err == kErrNone)
        err = GetDefPrefPath(&path);
    return err != kErrNone ? err : WriteAt(path, kDefPrefGeneralAt, general, kGeneralPrefsSize);
}

int32_t WriteDefPrefTools(const uint8_t* tools)
{
    PathRecord path{};
    int32_t err = EnsureDefPrefFile();
    if (err == kErrNone)
        err = GetDefPrefPath(&path);
    return err != kErrNone ? err : WriteAt(path, kDefPrefToolsAt, tools, kToolPrefsSize);
}

int32_t WriteDefPrefQuickCard(const QuickCardItem& item)
{
    PathRecord path{};
    int32_t err = EnsureDefPrefFile();
    if (err == kErrNone)
        err = GetDefPrefPath(&path);
    if (err != kErrNone)
        return err;
    FileHandle file = kNoFile;
    err = FileOpen(&path, kFileReadWrite, &file);
    if (err != kErrNone)
        return err;
    uint8_t record[kQuickCardItemSize];
    EncodeQuickCardItem(item, record);
    err = FileSeek(file, kSeekStart, int32_t(kDefPrefQuickCardAt));
    if (err == kErrNone)
        err = FileWrite(file, record, sizeof record);
    if (err == kErrNone && item.data && HandleGetSize(item.data))
        err = FileWrite(file, HandleData(item.data), HandleGetSize(item.data));
    const int32_t closed = FileClose(file);
    return err != kErrNone ? err : closed;
}

uint8_t* GlobalToolPrefs()
{
    GlobalPrefs& g = Globals();
    if (!g.toolsLoaded) {
        ReadDefPrefTools(g.tools);
        g.toolsLoaded = true;
    }
    return g.tools;
}

QuickCardItem* GlobalQuickCardItem()
{
    GlobalPrefs& g = Globals();
    if (!g.quickCardLoaded) {
        ReadDefPrefQuickCard(&g.quickCard);
        g.quickCardLoaded = true;
    }
    return &g.quickCard;
}

void StoreGlobalDefPrefs()
{
    GlobalPrefs& g = Globals();
    if (g.toolsLoaded)
        WriteDefPrefTools(g.tools);
    if (g.quickCardLoaded)
        WriteDefPrefQuickCard(g.quickCard);
}

void ReleaseGlobalDefPrefs()
{
    GlobalPrefs& g = Globals();
    g.toolsLoaded = false;
    g.quickCardLoaded = false;
    QuickCardBlockFree(&g.quickCard.data);
    g.quickCard = QuickCardItem{};
}

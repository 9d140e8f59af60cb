#include "records/preferences_window.h"

#include <QLoggingCategory>
#include <algorithm>
#include <cstring>

#include "foundation/alert_sink.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/program_folder.h"
#include "foundation/win_error.h"

namespace {

Q_LOGGING_CATEGORY(lcWndPrefs, "tessaline.prefs", QtWarningMsg)

constexpr const char* kDocPrefName = "QXDocPref";
constexpr uint32_t kAsteriskBeep = 0x40;

bool SamePath(const DocWndPref& record, const std::string& key)
{
    return std::strncmp(record.path, key.c_str(), kDocWndPathSize) == 0;
}

}  // namespace

void EncodeDocWndPref(const DocWndPref& r, uint8_t* out)
{
    std::memset(out, 0, kDocWndPrefSize);
    PutU32LE(out + kWndVersion, r.version);
    out[kWndNotFound] = 0;
    std::memcpy(out + kWndPath, r.path, kDocWndPathSize);
    out[kWndPath + kDocWndPathSize - 1] = 0;
    PutI32LE(out + kWndFrameRect, r.frameRect.left);
    PutI32LE(out + kWndFrameRect + 4, r.frameRect.top);
    PutI32LE(out + kWndFrameRect + 8, r.frameRect.right);
    PutI32LE(out + kWndFrameRect + 12, r.frameRect.bottom);
    PutI16LE(out + kWndPage, r.page);
    PutI16LE(out + kWndZoomNumerator, r.zoomNumerator);
    PutI16LE(out + kWndZoomDenominator, r.zoomDenominator);
    PutI16LE(out + kWndZoomMode, r.zoomMode);
    PutI32LE(out + kWndScrollX, r.scrollX);
    PutI32LE(out + kWndScrollY, r.scrollY);
    PutI16LE(out + kWndWord296, r.word296);
    std::memcpy(out + kWndRulerH, r.rulerH, kRulerStateSize);
    std::memcpy(out + kWndRulerV, r.rulerV, kRulerStateSize);
}

void DecodeDocWndPref(const uint8_t* in, DocWndPref* r)
{
    r->version = GetU32LE(in + kWndVersion);
    r->notFound = in[kWndNotFound];
    std::memcpy(r->path, in + kWndPath, kDocWndPathSize);
    r->path[kDocWndPathSize - 1] = 0;
    r->frameRect = IntRect{GetI32LE(in + kWndFrameRect), GetI32LE(in + kWndFrameRect + 4),
                           GetI32LE(in + kWndFrameRect + 8), GetI32LE(in + kWndFrameRect + 12)};
    r->page = GetI16LE(in + kWndPage);
    r->zoomNumerator = GetI16LE(in + kWndZoomNumerator);
    r->zoomDenominator = GetI16LE(in + kWndZoomDenominator);
    r->zoomMode = GetI16LE(in + kWndZoomMode);
    r->scrollX = GetI32LE(in + kWndScrollX);
    r->scrollY = GetI32LE(in + kWndScrollY);
    r->word296 = GetI16LE(in + kWndWord296);
    std::memcpy(r->rulerH, in + kWndRulerH, kRulerStateSize);
    std::memcpy(r->rulerV, in + kWndRulerV, kRulerStateSize);
}

int32_t GetDocPrefPath(PathRecord* out)
{
    const int32_t err = GetProgramFolder(out);
    if (err != kErrNone)
        return err;
    std::strncpy(out->name, kDocPrefName, sizeof out->name - 1);
    out->extension[0] = 0;
    return kErrNone;
}

bool DocWndPrefKey(const PathRecord& document, std::string* key)
{
    char text[kPathTextSize] = {};
    PathRecordToString(&document, text);
    *key = text;
    return !key->empty() && key->size() < kDocWndPathSize;
}

uint8_t LookupDocWndPref(const std::string& key, DocWndPref* out)
{
    PathRecord path{};
    if (key.empty() || key.size() >= kDocWndPathSize || GetDocPrefPath(&path) != kErrNone ||
        FileExists(&path, 0) == 0)
        return 1;
    FileHandle file = kNoFile;
    uint32_t size = 0;
    if (FileOpen(&path, kFileRead, &file) != kErrNone || FileGetSize(file, &size) != kErrNone) {
        qCDebug(lcWndPrefs, " \n ERROR ERROR ERROR Loading DocWndPref in file = %s \n", key.c_str());
        if (file != kNoFile)
            FileClose(file);
        return 1;
    }
    const uint32_t count = size / kDocWndPrefSize;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t bytes[kDocWndPrefSize];
        if (FileRead(file, bytes, sizeof bytes) != kErrNone) {
            qCDebug(lcWndPrefs, " \n ERROR ERROR ERROR Loading DocWndPref in file = %s \n", key.c_str());
            FileClose(file);
            return 1;
        }
        DocWndPref record;
        DecodeDocWndPref(bytes, &record);
        if (record.version != kPrefVersion) {
            FileClose(file);
            FileDelete(&path);
            MessageBeep(kAsteriskBeep);
            qCDebug(lcWndPrefs, " \n OLD DocWndPref in file = %s \n", key.c_str());
            return 1;
        }
        if (SamePath(record, key)) {
            FileClose(file);
            record.notFound = 0;
            *out = record;
            return 0;
        }
    }
    FileClose(file);
    return 1;
}

int32_t StoreDocWndPref(const DocWndPref& record)
{
    const std::string key(record.path, strnlen(record.path, kDocWndPathSize));
    PathRecord path{};
    int32_t err = key.empty() ? int32_t(kErrInvalidParameter) : GetDocPrefPath(&path);
    if (err != kErrNone)
        return err;
    uint8_t bytes[kDocWndPrefSize];
    EncodeDocWndPref(record, bytes);
    FileHandle file = kNoFile;
    if (FileExists(&path, 0) == 0) {
        err = FileCreate(&path, kFileReadWrite, &file);
        if (err == kErrNone)
            err = FileWrite(file, bytes, sizeof bytes);
    } else {
        uint32_t size = 0;
        err = FileOpen(&path, kFileReadWrite, &file);
        if (err == kErrNone)
            err = FileGetSize(file, &size);
        const uint32_t count = size / kDocWndPrefSize;
        uint32_t index = count;
        for (uint32_t i = 0; err == kErrNone && i < count; ++i) {
            uint8_t stored[kDocWndPrefSize];
            err = FileRead(file, stored, sizeof stored);
            if (err != kErrNone)
                break;
            DocWndPref other;
            DecodeDocWndPref(stored, &other);
            if (SamePath(other, key)) {
                index = i;
                break;
            }
        }
        if (err == kErrNone)
            err = FileSeek(file, kSeekStart, int32_t(index * kDocWndPrefSize));
        if (err == kErrNone)
            err = FileWrite(file, bytes, sizeof bytes);
    }
    if (file != kNoFile) {
        const int32_t closed = FileClose(file);
        if (err == kErrNone)
            err = closed;
    }
    if (err != kErrNone)
        qCDebug(lcWndPrefs, " \n ERROR ERROR ERROR Saving DocWndPref in file = %s \n", key.c_str());
    return err;
}

IntRect FitWindowRect(const IntRect& stored, const IntRect& client)
{
    if (stored.left >= client.left && stored.top >= client.top && stored.right <= client.right &&
        stored.bottom <= client.bottom && stored.right >= stored.left && stored.bottom >= stored.top)
        return stored;
    // A reversed rectangle from a damaged record counts as empty.
    const int64_t width = std::max<int64_t>(
        0, std::min<int64_t>(int64_t(stored.right) - stored.left, int64_t(client.right) - client.left));
    const int64_t height = std::max<int64_t>(
        0, std::min<int64_t>(int64_t(stored.bottom) - stored.top, int64_t(client.bottom) - client.top));
    const int64_t left = std::max<int64_t>(std::min<int64_t>(stored.left, client.right - width), client.left);
    const int64_t top = std::max<int64_t>(std::min<int64_t>(stored.top, client.bottom - height), client.top);
    return IntRect{int32_t(left), int32_t(top), int32_t(left + width), int32_t(top + height)};
}

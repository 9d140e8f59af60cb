#include "typography/font_table.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "typography/font_list.h"
#include "typography/font_source.h"
#include "typography/font_table_format.h"

namespace {

// Entries read from the file at a time.
constexpr uint32_t kReadChunk = 256;

}  // namespace

bool SameFont(const FontSpec& a, const FontSpec& b)
{
    return a.type == b.type && a.charSet == b.charSet && a.pitchAndFamily == b.pitchAndFamily &&
           a.emSize == b.emSize && std::strncmp(a.faceName, b.faceName, sizeof(a.faceName)) == 0;
}

void FontTable::Clear()
{
    fonts_.RemoveAll();
    substitutes_.RemoveAll();
    nextId_ = 0;
    usesPrinterDC_ = false;
}

uint32_t FontTable::Read(FileHandle file, int32_t position)
{
    Clear();
    if (position != -1 && FileSeek(file, kSeekStart, position) != 0)
        return 1;
    uint8_t countBytes[kFontTableCountSize];
    if (FileRead(file, countBytes, sizeof(countBytes)) != 0)
        return 1;
    const uint32_t count = GetU32LE(countBytes);
    if (count > kFontTableMaxEntries)
        return 1;

    std::vector<uint8_t> chunk(size_t(std::min(count, kReadChunk)) * kFontTableEntrySize);
    uint32_t done = 0;
    while (done < count) {
        const uint32_t want = std::min(count - done, kReadChunk);
        uint32_t got = want * uint32_t(kFontTableEntrySize);
        const int32_t error = FileReadCount(file, &got, chunk.data());
        const uint32_t whole = std::min(want, got / uint32_t(kFontTableEntrySize));
        for (uint32_t k = 0; k < whole; ++k) {
            const uint8_t* p = chunk.data() + size_t(k) * kFontTableEntrySize;
            const int32_t id = GetI32LE(p + kFontTableEntryId);
            FontEntry entry;
            entry.fontSpec = ::GetFontSpec(p + kFontTableEntrySpec);
            fonts_.SetAt(id, entry);
            nextId_ = std::max(nextId_, id);
        }
        if (error != 0 || whole < want)
            return 1;
        done += want;
    }
    nextId_ = Add32(nextId_, 1);
    return 0;
}

uint32_t FontTable::Write(FileHandle file, int32_t position) const
{
    if (position != -1 && FileSeek(file, kSeekStart, position) != 0)
        return 1;
    const uint32_t count = uint32_t(fonts_.GetCount());
    std::vector<uint8_t> section(kFontTableCountSize + size_t(count) * kFontTableEntrySize);
    PutU32LE(section.data(), count);
    uint8_t* p = section.data() + kFontTableCountSize;
    fonts_.ForEach([&p](int32_t id, const FontEntry& entry) {
        PutI32LE(p + kFontTableEntryId, id);
        PutFontSpec(p + kFontTableEntrySpec, entry.fontSpec);
        p += kFontTableEntrySize;
    });
    return FileWrite(file, section.data(), uint32_t(section.size())) == 0 ? 0 : 1;
}

int32_t FontTable::GetFontId(const FontSpec* fontSpec)
{
    if (!fontSpec)
        return -1;
    const int32_t id = FindId(fontSpec, true);
    return id != -1 ? id : AddFont(fontSpec);
}

// Text stores font ids in 16 bits, so new ids stay within 0-32767, and an
// id already in use is never handed out again (a table read from a damaged
// section may hold ids anywhere).
int32_t FontTable::NewId() const
{
    if (nextId_ >= 0 && nextId_ < int32_t(kFontTableMaxEntries) && !fonts_.Find(nextId_))
        return nextId_;
    for (int32_t id = 0; id < int32_t(kFontTableMaxEntries); ++id) {
        if (!fonts_.Find(id))
            return id;
    }
    return -1;
}

int32_t FontTable::AddFont(const FontSpec* fontSpec)
{
    if (!fontSpec)
        return -1;
    const int32_t id = NewId();
    if (id < 0)
        return -1;
    FontEntry entry;
    entry.fontSpec = *fontSpec;
    fonts_.SetAt(id, entry);
    nextId_ = id + 1;
    return id;
}

int32_t FontTable::AddDefaultFont()
{
    FontSpec arial;
    arial.type = kFontTypeTrueType;
    arial.charSet = 0;
    arial.pitchAndFamily = 0x22;
    arial.emSize = 0;
    std::strcpy(arial.faceName, "Arial");
    AddFont(&arial);
    CheckInstalledFonts();
    return 1;
}

int32_t FontTable::FindId(const FontSpec* fontSpec, bool inFonts) const
{
    if (!fontSpec)
        return -1;
    int32_t found = -1;
    (inFonts ? fonts_ : substitutes_).ForEach([&](int32_t id, const FontEntry& entry) {
        if (found == -1 && SameFont(entry.fontSpec, *fontSpec))
            found = id;
    });
    return found;
}

bool FontTable::Lookup(int32_t id, FontSpec* out) const
{
    const FontEntry* entry = fonts_.Find(id);
    if (!entry)
        return false;
    if (!entry->substituted) {
        *out = entry->fontSpec;
        return true;
    }
    const FontEntry* substitute = substitutes_.Find(id);
    if (!substitute)
        return false;
    *out = substitute->fontSpec;
    return true;
}

bool FontTable::LookupIn(int32_t id, FontSpec* out, bool inFonts) const
{
    const FontEntry* entry = (inFonts ? fonts_ : substitutes_).Find(id);
    if (!entry)
        return false;
    *out = entry->fontSpec;
    return true;
}

bool FontTable::GetLogFont(int32_t id, LogFont* out) const
{
    FontSpec fontSpec;
    if (!Lookup(id, &fontSpec))
        return false;
    out->charSet = fontSpec.charSet;
    out->outPrecision = fontSpec.type == kFontTypeTrueType ? OUT_TT_ONLY_PRECIS
                        : fontSpec.type == kFontTypeDevice ? OUT_DEVICE_PRECIS
                                                        : OUT_DEFAULT_PRECIS;
    out->clipPrecision = 0;
    out->quality = 0;
    out->pitchAndFamily = fontSpec.pitchAndFamily;
    std::memcpy(out->faceName, fontSpec.faceName, sizeof(out->faceName));
    out->faceName[sizeof(out->faceName) - 1] = 0;
    return true;
}

bool FontTable::SetSubstitute(int32_t id, const FontSpec* fontSpec)
{
    FontEntry* entry = substitutes_.Find(id);
    if (!entry || !fontSpec)
        return false;
    entry->fontSpec = *fontSpec;
    return true;
}

bool FontTable::AdoptSubstitute(int32_t id)
{
    FontEntry* own = fonts_.Find(id);
    const FontEntry* substitute = substitutes_.Find(id);
    if (!own || !own->substituted || !substitute)
        return false;
    own->fontSpec = substitute->fontSpec;
    own->substituted = 0;
    substitutes_.RemoveKey(id);
    return true;
}

int32_t FontTable::CopyFrom(const FontTable& other)
{
    if (&other == this)
        return 0;
    fonts_ = other.fonts_;
    substitutes_ = other.substitutes_;
    usesPrinterDC_ = other.usesPrinterDC_;
    int32_t largest = 0;
    fonts_.ForEach([&largest](int32_t id, const FontEntry&) { largest = std::max(largest, id); });
    nextId_ = Add32(largest, 1);
    return 0;
}

bool FontTable::IsInstalled(int32_t id, int32_t* index) const
{
    FontSpec fontSpec;
    const FontList* list = GetGlobalFontList();
    if (!list || !Lookup(id, &fontSpec))
        return false;
    for (int32_t i = 0; i < list->GetCount(); ++i) {
        const FontRecord record = list->GetAt(i);
        if (std::strncmp(record.faceName, fontSpec.faceName, sizeof(record.faceName)) == 0 &&
            record.pitchAndFamily == fontSpec.pitchAndFamily && record.type == fontSpec.type) {
            if (index)
                *index = i;
            return true;
        }
    }
    return false;
}

int32_t FontTable::Realize(int32_t id, int32_t logPixelsY, FontSpec* out) const
{
    const FontSource& source = CurrentFontSource();
    LogFont request;
    FontSpec wanted;
    if (!GetLogFont(id, &request) || !Lookup(id, &wanted))
        return 0;
    request.height = -((12 * logPixelsY + 36) / 72);
    request.weight = FW_NORMAL;
    RealizedFont realized;
    if (!source.RealizeFont(request, &realized))
        return 0;
    FontSpec got;
    got.type = (realized.pitchAndFamily & TMPF_TRUETYPE) ? kFontTypeTrueType
               : (realized.pitchAndFamily & TMPF_DEVICE) ? kFontTypeDevice
                                                          : kFontTypeRaster;
    got.charSet = realized.charSet;
    got.pitchAndFamily =
        uint8_t(((realized.pitchAndFamily & TMPF_FIXED_PITCH) ? VARIABLE_PITCH : FIXED_PITCH) |
                (realized.pitchAndFamily & 0xF0));
    got.emSize = 0;
    std::memcpy(got.faceName, realized.faceName, sizeof(got.faceName));
    got.faceName[sizeof(got.faceName) - 1] = 0;
    if (got.type == wanted.type && got.charSet == wanted.charSet && got.pitchAndFamily == wanted.pitchAndFamily &&
        std::strncmp(got.faceName, wanted.faceName, sizeof(got.faceName)) == 0)
        return -1;
    *out = got;
    return 1;
}

uint8_t FontTable::CheckInstalledFonts()
{
    substitutes_.RemoveAll();
    const FontSource& source = CurrentFontSource();
    usesPrinterDC_ = source.OnPrinter();
    const int32_t logPixelsY = source.LogPixelsY();
    fonts_.ForEach([this, logPixelsY](int32_t id, FontEntry& entry) {
        entry.substituted = 0;
        FontSpec substitute;
        if (!IsInstalled(id, nullptr) && Realize(id, logPixelsY, &substitute) == 1) {
            FontEntry e;
            e.fontSpec = substitute;
            substitutes_.SetAt(id, e);
            entry.substituted = 1;
        }
    });
    return 1;
}

bool FontTable::ReplacesAnyFace() const
{
    bool replaces = false;
    substitutes_.ForEach([&](int32_t id, const FontEntry& substitute) {
        const FontEntry* own = fonts_.Find(id);
        if (own && std::strncmp(own->fontSpec.faceName, substitute.fontSpec.faceName,
                                sizeof own->fontSpec.faceName) != 0)
            replaces = true;
    });
    return replaces;
}

#include "typography/font_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <unordered_set>

#include "typography/font_source.h"

namespace {

constexpr uint32_t kTrueTypeSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

int32_t MulDivRound(int32_t value, int32_t numerator, int32_t denominator)
{
    if (denominator == 0)
        return -1;
    const int64_t product = int64_t(value) * numerator;
    const int64_t half = denominator / 2;
    const int64_t q = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    return int32_t(std::clamp<int64_t>(q, INT32_MIN, INT32_MAX));
}

// Adds the character sets (and the sizes of a face that does not scale)
// that the style enumeration of one face reports to its record.
int32_t AddStyle(FontRecord* record, const EnumeratedFont& font, int32_t logPixelsY)
{
    if (!record->charsets)
        return 0;
    std::vector<FontCharset>& sets = *record->charsets;
    const bool known = std::any_of(sets.begin(), sets.end(),
                                   [&](const FontCharset& s) { return s.charSet == font.logFont.charSet; });
    if (!known)
        sets.push_back({font.logFont.charSet, std::string(font.script, strnlen(font.script, sizeof(font.script)))});
    if (record->type != kFontTypeTrueType) {
        if (!record->sizes)
            return 0;
        const int32_t points = MulDivRound(font.height - font.internalLeading, 72, logPixelsY);
        std::vector<int32_t>& sizes = *record->sizes;
        if (std::find(sizes.begin(), sizes.end(), points) == sizes.end())
            sizes.push_back(points);
    }
    return 1;
}

}  // namespace

bool FontList::Build(const LogFont* filter)
{
    const FontSource& source = CurrentFontSource();
    usesPrinterDC_ = source.OnPrinter();
    RemoveAll();
    filter_ = filter ? *filter : LogFont{};
    const int32_t logPixelsY = source.LogPixelsY();

    std::unordered_set<std::string> seen;
    seen.reserve(64);
    const int32_t result = source.EnumFontFamiliesEx(filter_, [&](const EnumeratedFont& font, uint32_t fontType) {
        char key[64];
        std::snprintf(key, sizeof(key), "%.31s %i", font.logFont.faceName, int(fontType));
        if (seen.count(key))
            return int32_t(1);
        const uint32_t emSize = (fontType & TRUETYPE_FONTTYPE) ? font.emSize : 0;
        const int32_t index = AddFont(font.logFont.faceName, font.logFont.pitchAndFamily, emSize, fontType, true);
        if (index < 0)
            return int32_t(0);
        seen.insert(key);

        LogFont face{};
        face.charSet = DEFAULT_CHARSET;
        std::memcpy(face.faceName, records_[size_t(index)].faceName, sizeof(face.faceName));
        const int32_t inner = source.EnumFontFamiliesEx(face, [&](const EnumeratedFont& style, uint32_t) {
            return AddStyle(&records_[size_t(index)], style, logPixelsY);
        });
        if (records_[size_t(index)].sizes)
            std::stable_sort(records_[size_t(index)].sizes->begin(), records_[size_t(index)].sizes->end());
        return inner;
    });
    if (result == 0)
        records_.clear();
    // Byte order of the face names, upper case before lower case; equal
    // names keep the order they were found in.
    std::stable_sort(records_.begin(), records_.end(), [](const FontRecord& a, const FontRecord& b) {
        return std::strncmp(a.faceName, b.faceName, sizeof(a.faceName)) < 0;
    });
    return result != 0;
}

void FontList::RemoveAll() { records_.clear(); }

int32_t FontList::AddFont(const char* faceName, uint8_t pitchAndFamily, uint32_t emSize, uint32_t fontTypeBits,
                          bool withArrays)
{
    try {
        FontRecord record;
        record.type = (fontTypeBits & TRUETYPE_FONTTYPE)  ? kFontTypeTrueType
                      : (fontTypeBits & DEVICE_FONTTYPE) ? kFontTypeDevice
                                                          : kFontTypeRaster;
        record.pitchAndFamily = pitchAndFamily;
        record.emSize = emSize;
        if (faceName)
            std::memcpy(record.faceName, faceName, strnlen(faceName, sizeof(record.faceName) - 1));
        if (withArrays) {
            record.charsets.emplace();
            if (record.type != kFontTypeTrueType)
                record.sizes.emplace();
        }
        records_.push_back(std::move(record));
        return int32_t(records_.size() - 1);
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

int32_t FontList::FindFont(const char* faceName, uint32_t type) const
{
    const char* face = faceName ? faceName : "";
    for (size_t i = 0; i < records_.size(); ++i) {
        if (records_[i].type != type)
            continue;
        if (face[0] == '\0' || std::strncmp(records_[i].faceName, face, sizeof(records_[i].faceName)) == 0)
            return int32_t(i);
    }
    return -1;
}

FontRecord FontList::GetAt(int32_t index) const
{
    if (index < 0 || index >= GetCount())
        return FontRecord{};
    return records_[size_t(index)];
}

void FontList::GetFaceName(int32_t index, char* out) const
{
    std::memset(out, 0, sizeof(FontRecord::faceName));
    if (index >= 0 && index < GetCount())
        std::memcpy(out, records_[size_t(index)].faceName, sizeof(FontRecord::faceName));
}

bool FontList::GetSizeList(int32_t index, std::vector<uint32_t>* out) const
{
    out->clear();
    if (index < 0 || index >= GetCount())
        return true;
    const FontRecord& record = records_[size_t(index)];
    if (record.type == kFontTypeTrueType) {
        out->assign(std::begin(kTrueTypeSizes), std::end(kTrueTypeSizes));
    } else if (record.sizes) {
        for (int32_t size : *record.sizes)
            out->push_back(uint32_t(size));
    }
    return true;
}

const FontRecord* FontList::Clamped(int32_t index) const
{
    if (records_.empty())
        return nullptr;
    if (index < 0 || index >= GetCount())
        index = 0;
    return &records_[size_t(index)];
}

uint8_t FontList::ChooseCharSet(const FontRecord& record, uint8_t wanted) const
{
    if (!record.charsets || record.charsets->empty())
        return wanted;
    for (const FontCharset& set : *record.charsets) {
        if (set.charSet == wanted)
            return wanted;
    }
    return record.charsets->front().charSet;
}

bool FontList::GetFontSpec(int32_t index, uint8_t wantedCharSet, FontSpec* out) const
{
    const FontRecord* record = Clamped(index);
    if (!record)
        return false;
    *out = FontSpec{};
    out->type = record->type;
    out->charSet = ChooseCharSet(*record, wantedCharSet);
    out->pitchAndFamily = record->pitchAndFamily;
    out->emSize = record->emSize;
    std::memcpy(out->faceName, record->faceName, sizeof(out->faceName));
    return true;
}

bool FontList::GetLogFont(int32_t index, uint8_t wantedCharSet, LogFont* out) const
{
    const FontRecord* record = Clamped(index);
    if (!record)
        return false;
    out->charSet = ChooseCharSet(*record, wantedCharSet);
    out->outPrecision = record->type == kFontTypeTrueType ? OUT_TT_ONLY_PRECIS
                        : record->type == kFontTypeDevice ? OUT_DEVICE_PRECIS
                                                          : OUT_DEFAULT_PRECIS;
    out->clipPrecision = 0;
    out->quality = 0;
    out->pitchAndFamily = record->pitchAndFamily;
    std::memcpy(out->faceName, record->faceName, sizeof(out->faceName));
    return true;
}

FontList* GetGlobalFontList()
{
    static FontList list;
    return &list;
}

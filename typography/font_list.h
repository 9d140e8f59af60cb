// FontList: the program's catalogue of the fonts the output device offers,
// one record per face and font technology, in ascending byte order of the
// face names. One program-wide list is built at start-up and rebuilt when
// the installed fonts change; indexes into it hold until the next build.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/font_spec.h"
#include "platform/gdi_types.h"

struct FontCharset {
    uint8_t charSet = 0;
    std::string script;  // Windows-1252
};

struct FontRecord {
    uint32_t type = 0;  // kFontTypeRaster, kFontTypeDevice or kFontTypeTrueType
    uint8_t pitchAndFamily = 0;
    uint32_t emSize = 0;  // TrueType: design units per em
    char faceName[32] = {};
    // Absent for records added without arrays; sizes also for TrueType.
    std::optional<std::vector<FontCharset>> charsets;
    std::optional<std::vector<int32_t>> sizes;  // ascending points
};

class FontList {
public:
    FontList() = default;
    ~FontList() { RemoveAll(); }
    FontList(const FontList&) = delete;
    FontList& operator=(const FontList&) = delete;

    // Lists every face of the current font source that the filter asks
    // for (callers pass an empty face in DEFAULT_CHARSET: every face in
    // every character set). True when the enumeration ran to its end;
    // otherwise the list is left empty.
    bool Build(const LogFont* filter);
    void RemoveAll();
    // Appends a record and returns its index; -1 when memory runs out.
    // The type is TrueType, device or raster by the font type bits. With
    // arrays a TrueType record gets an empty character-set list and any
    // other record both lists, empty.
    int32_t AddFont(const char* faceName, uint8_t pitchAndFamily, uint32_t emSize, uint32_t fontTypeBits,
                    bool withArrays);
    // The first record of that type whose face equals faceName byte for
    // byte (an empty name matches any face of the type); -1 when none.
    int32_t FindFont(const char* faceName, uint32_t type) const;

    int32_t GetCount() const { return int32_t(records_.size()); }
    // A record with no face for an index outside the list.
    FontRecord GetAt(int32_t index) const;
    // The face name into 32 bytes; empty outside the list.
    void GetFaceName(int32_t index, char* out) const;
    // The point sizes to offer: the sixteen standard sizes for a TrueType
    // face, the listed sizes for any other.
    bool GetSizeList(int32_t index, std::vector<uint32_t>* out) const;
    // The face in the wanted character set, or in its first one when it
    // lacks it. An index outside the list is taken as 0; false only when
    // the list is empty.
    bool GetFontSpec(int32_t index, uint8_t wantedCharSet, FontSpec* out) const;
    // Fills the character set, precisions, quality, pitch and family and
    // face of the caller's font; other fields keep their values.
    bool GetLogFont(int32_t index, uint8_t wantedCharSet, LogFont* out) const;

    bool UsesPrinterDC() const { return usesPrinterDC_; }
    const LogFont& Filter() const { return filter_; }

private:
    const FontRecord* Clamped(int32_t index) const;
    uint8_t ChooseCharSet(const FontRecord& record, uint8_t wanted) const;

    std::vector<FontRecord> records_;
    LogFont filter_;
    bool usesPrinterDC_ = true;
};

// The program-wide list (empty until the application builds it).
FontList* GetGlobalFontList();

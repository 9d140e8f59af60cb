// Installed fonts that exist only in the test. While it lives it is the
// font source the font list and the font tables ask.
#pragma once

#include <strings.h>

#include <cstring>
#include <string>
#include <vector>

#include "typography/font_source.h"

class FakeFontSource : public FontSource {
public:
    struct Face {
        std::string name;
        uint32_t fontType = TRUETYPE_FONTTYPE;
        uint8_t pitchAndFamily = VARIABLE_PITCH | FF_SWISS;
        uint32_t emSize = 2048;
        std::vector<uint8_t> charsets{0};
        std::vector<int32_t> pointSizes;  // raster faces, in enumeration order
    };

    FakeFontSource() { SetFontSource(this); }
    ~FakeFontSource() override { SetFontSource(nullptr); }

    std::vector<Face> faces;
    bool printer = false;
    int32_t dpi = 96;
    int32_t familyResult = 1;  // what the family enumeration ends with
    // Requests for faces not in the list realise as this face (empty: none).
    std::string fallback;
    mutable int32_t realizeCalls = 0;

    bool OnPrinter() const override { return printer; }
    int32_t LogPixelsY() const override { return dpi; }

    int32_t EnumFontFamiliesEx(const LogFont& filter, const FontEnumProc& proc) const override
    {
        int32_t result = 1;
        for (const Face& face : faces) {
            if (filter.faceName[0] && face.name != filter.faceName)
                continue;
            for (uint8_t set : face.charsets) {
                EnumeratedFont e;
                std::strncpy(e.logFont.faceName, face.name.c_str(), 31);
                e.logFont.charSet = set;
                e.logFont.pitchAndFamily = face.pitchAndFamily;
                std::strcpy(e.script, set == 0 ? "Western" : "Other");
                e.emSize = face.emSize;
                if (!filter.faceName[0] || face.pointSizes.empty()) {
                    if ((result = proc(e, face.fontType)) == 0)
                        return 0;
                    continue;
                }
                for (int32_t points : face.pointSizes) {
                    e.internalLeading = 2;
                    e.height = points * dpi / 72 + 2;
                    if ((result = proc(e, face.fontType)) == 0)
                        return 0;
                }
            }
        }
        return filter.faceName[0] ? result : (result ? familyResult : 0);
    }

    bool RealizeFont(const LogFont& request, RealizedFont* out) const override
    {
        ++realizeCalls;
        const Face* found = nullptr;
        for (const Face& face : faces) {
            if (strcasecmp(face.name.c_str(), request.faceName) == 0)
                found = &face;
        }
        for (const Face& face : faces) {
            if (!found && face.name == fallback)
                found = &face;
        }
        if (!found)
            return false;
        *out = RealizedFont{};
        out->charSet = found->charsets.front();
        for (uint8_t set : found->charsets) {
            if (set == request.charSet)
                out->charSet = set;
        }
        out->pitchAndFamily = uint8_t(found->pitchAndFamily & 0xF0);
        if ((found->pitchAndFamily & 3) != FIXED_PITCH)
            out->pitchAndFamily |= TMPF_FIXED_PITCH;
        if (found->fontType == TRUETYPE_FONTTYPE)
            out->pitchAndFamily |= TMPF_TRUETYPE;
        if (found->fontType == DEVICE_FONTTYPE)
            out->pitchAndFamily |= TMPF_DEVICE;
        std::strncpy(out->faceName, found->name.c_str(), 31);
        return true;
    }
};

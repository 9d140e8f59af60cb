// What the glyph effects take from the rest of the program: a document's
// colours (entry at a tint) and fonts (font ids), and the program-wide list
// of installed fonts (indexes). The colour table, the document font table
// and the font list answer these; the effects reach them only through the
// interfaces here.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/font_spec.h"
#include "platform/gdi_types.h"

class GlyphTints {
public:
    virtual ~GlyphTints() = default;
    // Entry `index` at a tint percentage (100 the plain colour); white for
    // an index outside 0-15.
    virtual ColorRef Tint(int32_t index, int32_t percent) const = 0;
    // The entry's name (Windows-1252), empty outside 0-15.
    virtual std::string Name(int32_t index) const = 0;
};

// The sixteen colours a new document starts with, tinted the way the
// document's colour table tints them.
class DefaultGlyphTints : public GlyphTints {
public:
    ColorRef Tint(int32_t index, int32_t percent) const override;
    std::string Name(int32_t index) const override;
};

constexpr int32_t kGlyphColorCount = 16;

// A document's fonts by id.
class GlyphFontTable {
public:
    virtual ~GlyphFontTable() = default;
    // The font text of this id is drawn in; false when the id is unknown.
    virtual bool Lookup(int32_t id, FontSpec* face) const = 0;
    // The id of an equal font, added when the table lacks it; -1 on failure.
    virtual int32_t GetFontId(const FontSpec& face) = 0;
};

// The installed fonts by index.
class GlyphFontList {
public:
    virtual ~GlyphFontList() = default;
    virtual int32_t Count() const = 0;
    // The font at an index (out of range: the first), in the wanted
    // character set when it has it, else its first. False for an empty list.
    virtual bool GetFontSpec(int32_t index, uint8_t charSet, FontSpec* face) const = 0;
    // The first font of that type whose face is exactly `face` (an empty
    // face: any); -1 when none.
    virtual int32_t FindFont(const char* face, uint32_t type) const = 0;
};

// What a dialog needs of the document it edits for.
struct GlyphDocument {
    GlyphFontTable* fonts = nullptr;
    const GlyphTints* tints = nullptr;
};

// The list the effects' dialogs and previews offer: the one installed (a
// test's), else the program's own list of the installed fonts.
GlyphFontList* SetGlyphFontList(GlyphFontList* list);
GlyphFontList* CurrentGlyphFontList();

// A font record as the drawing code selects it: character set,
// output precision (7 TrueType, 5 device, else 0), pitch and family and
// face; every other field as in `base`.
LogFont LogFontFromSpec(const FontSpec& face, const LogFont& base = LogFont{});

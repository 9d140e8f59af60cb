// FontTable: the fonts a card document's text uses, each under a small font
// id that text runs and styles store. Where this computer lacks a font, the
// table keeps the document's own font and records beside it the font the
// device supplies instead (its substitute), which text is then drawn with;
// substitutes are never stored and are worked out again at every open.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "graphics/font_spec.h"
#include "platform/gdi_types.h"
#include "typography/font_id_map.h"

class FontTable {
public:
    FontTable() = default;

    void Clear();

    // The font-table section at a position from the file's start (-1:
    // where the file is). 0, or 1 when the section cannot be read whole;
    // the entries read before the failure stay.
    uint32_t Read(FileHandle file, int32_t position);
    // 0, or 1 when the section could not be written whole.
    uint32_t Write(FileHandle file, int32_t position) const;

    // The id of an equal font, or a new id for it; -1 for null.
    int32_t GetFontId(const FontSpec* fontSpec);
    // Stores the font under a new id; -1 for null.
    int32_t AddFont(const FontSpec* fontSpec);
    // Arial, TrueType; then checks the fonts against the installed ones.
    int32_t AddDefaultFont();
    // The first id (in the map's order) of a font equal in type, character
    // set, pitch and family, em size and face; -1 when none. inFonts
    // chooses the document's fonts or the substitutes.
    int32_t FindId(const FontSpec* fontSpec, bool inFonts) const;

    // The font text with this id is drawn with: the substitute when there
    // is one. False for an unknown id.
    bool Lookup(int32_t id, FontSpec* out) const;
    // The same for the text engine's 16-bit font numbers.
    bool GetFontSpec(int16_t id, FontSpec* out) const { return Lookup(id, out); }
    bool LookupIn(int32_t id, FontSpec* out, bool inFonts) const;
    // Fills the character set, precisions, quality, pitch and family and
    // face of the caller's font from what Lookup gives.
    bool GetLogFont(int32_t id, LogFont* out) const;

    // Replaces an existing substitute; false when the id has none.
    bool SetSubstitute(int32_t id, const FontSpec* fontSpec);
    // Makes the substitute the id's own font.
    bool AdoptSubstitute(int32_t id);
    // This table becomes a copy of the other. Returns 0.
    int32_t CopyFrom(const FontTable& other);

    // Whether the font list of the program holds the id's font (face, pitch
    // and family and type); its index goes to index when given.
    bool IsInstalled(int32_t id, int32_t* index) const;
    // Finds a substitute for every font that is not installed and that the
    // device realises as another font. Returns 1.
    uint8_t CheckInstalledFonts();
    bool UsesPrinterDC() const { return usesPrinterDC_; }
    // Whether a substitute names another face than the font it stands for.
    // One that differs only in pitch, family or character set is the same
    // face drawn as the device has it: nothing for the user to choose.
    bool ReplacesAnyFace() const;

    const FontIdMap& Fonts() const { return fonts_; }
    const FontIdMap& Substitutes() const { return substitutes_; }
    int32_t NextId() const { return nextId_; }

private:
    // At 12 points on a device of logPixelsY dots an inch: -1 when the
    // device supplies the font as asked; 1 when it supplies out instead; 0
    // when no font can be made.
    int32_t Realize(int32_t id, int32_t logPixelsY, FontSpec* out) const;
    int32_t NewId() const;

    FontIdMap fonts_;
    FontIdMap substitutes_;
    int32_t nextId_ = 0;
    bool usesPrinterDC_ = false;
};

// Equal fonts: type, character set, pitch and family, em size and face
// (bytes after the face's terminator do not count).
bool SameFont(const FontSpec& a, const FontSpec& b);

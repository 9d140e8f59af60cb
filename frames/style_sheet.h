// The document's text styles: a table of 288-byte style records
// (style_record_format.h), built with the one style "Normal", id 0. Every
// lookup by id falls back to the id-0 style, so a paragraph always has a
// complete format.
#pragma once

#include <cstdint>

#include "frames/record_table.h"
#include "frames/style_record_format.h"

class StyleSheet : public RecordTable {
public:
    StyleSheet();

    // The "Normal" style as the sheet is built with it.
    static void MakeNormalStyle(uint8_t* record);

    // The id of the first style of that exact name; 0 when none has it.
    uint32_t FindStyleByName(const char* name);
    // True and the style when found; false and the id-0 style otherwise.
    bool GetStyleById(uint32_t id, uint8_t* record);
    bool GetBaseFormat(uint32_t id, uint8_t* out20);
    bool GetParaFormat(uint32_t id, ParaFormat* out);
    bool GetTabs(uint32_t id, uint8_t* out130);
    // The rule-below block (at 100) and the rule-above block (at 76).
    bool GetParaBlock(uint32_t id, uint8_t* out24);
    bool GetLineBlock(uint32_t id, uint8_t* out24);

private:
    bool Lookup(uint32_t id, size_t offset, size_t size, uint8_t* out);

    uint8_t buffer_[kStyleRecordSize] = {};
};

// Helpers shared by the barcode suites.
#pragma once

#include <cstring>
#include <string>

#include "barcode/barcode_record.h"

inline std::string AsString(const uint8_t* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

inline void SetPStr(uint8_t* p, const std::string& s)
{
    p[0] = uint8_t(s.size());
    std::memcpy(p + 1, s.data(), s.size());
}

// A record as a barcode frame makes it, with the given type and data.
inline BarcodeRecord MakeRecord(int16_t type, const std::string& data)
{
    BarcodeRecord rec;
    SetPStr(rec.data, data);
    rec.type = type;
    rec.barHeight = 72.0;
    rec.module = 1.0;
    rec.space = 1.0;
    rec.charGap = 1.0;
    rec.captionSize = 10.0;
    return rec;
}

#include "app/label_type_builtin.h"

#include <cstring>

#include "app/label_type_format.h"
#include "foundation/byte_order.h"

void GetBuiltinLabelType(uint8_t* out, int32_t index)
{
    if (!out)
        return;
    static const char* const kNames[2] = {"Laser Tessaline #5371", "InkJet Tessaline #8371"};
    std::memset(out, 0, kLabelTypeSize);
    std::strncpy(reinterpret_cast<char*>(out + kLabelTypeName), kNames[index == 1 ? 1 : 0],
                 kLabelTypeNameSize - 1);
    PutF64LE(out + kLabelTypeCardWidth, 252.0);
    PutF64LE(out + kLabelTypeCardHeight, 144.0);
    PutF64LE(out + kLabelTypeTopMargin, 36.0);
    PutF64LE(out + kLabelTypeLeftMargin, 54.0);
    PutI16LE(out + kLabelTypeColumns, 2);
    PutI16LE(out + kLabelTypeRows, 5);
    PutI16LE(out + kLabelTypeUnit, 1);
    PutI32LE(out + kLabelTypeSides, 2);
    PutI32LE(out + kLabelTypeWord140, 1);
}

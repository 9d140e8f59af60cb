#include "app/label_type_builtin.h"

#include <cstring>

#include "app/label_stock_format.h"
#include "foundation/byte_order.h"

void GetBuiltinLabelType(uint8_t* out, int32_t index)
{
    if (!out)
        return;
    static const char* const kNames[2] = {"Laser Tessaline #5371", "InkJet Tessaline #8371"};
    std::memset(out, 0, kLabelTypeSize);
    std::strncpy(reinterpret_cast<char*>(out + kLabelTypeNameOffset), kNames[index == 1 ? 1 : 0],
                 kLabelTypeNameSize - 1);
    PutF64LE(out + kLabelTypeCardWidthOffset, 252.0);
    PutF64LE(out + kLabelTypeCardHeightOffset, 144.0);
    PutF64LE(out + kLabelTypeTopMarginOffset, 36.0);
    PutF64LE(out + kLabelTypeLeftMarginOffset, 54.0);
    PutI16LE(out + kLabelTypeColumnsOffset, 2);
    PutI16LE(out + kLabelTypeRowsOffset, 5);
    PutI16LE(out + kLabelTypeUnitOffset, 1);
    PutI32LE(out + kLabelTypeSidesOffset, 2);
    PutI32LE(out + kLabelTypeWord140Offset, 1);
}

#include "records/label_stock.h"

#include <cmath>
#include <cstring>

#include "foundation/byte_order.h"

namespace {

LabelTypeRecord Builtin(const char* name)
{
    LabelTypeRecord r;
    std::strncpy(r.name, name, kLabelTypeNameMax);
    r.cardWidth = 252;  // 3.5 x 2 inches, ten to a US Letter page
    r.cardHeight = 144;
    r.topMargin = 36;
    r.leftMargin = 54;
    r.columns = 2;
    r.rows = 5;
    r.unit = 1;
    r.sides = 2;
    r.word140 = 1;
    return r;
}

const LabelTypeRecord& BuiltinAt(int32_t index)
{
    static const LabelTypeRecord builtins[kBuiltinLabelTypeCount] = {
        Builtin("Laser Tessaline #5371"),
        Builtin("InkJet Tessaline #8371"),
    };
    return builtins[(index == 1) ? 1 : 0];
}

bool LengthOk(double v) { return std::isfinite(v) && std::fabs(v) <= kLabelTypeMaxLength; }
bool SizeOk(double v) { return LengthOk(v) && v >= 0; }
bool CountOk(int16_t n) { return n >= 0 && n <= kLabelTypeMaxCount; }

}  // namespace

void LabelTypeDecode(const uint8_t* b, LabelTypeRecord* out)
{
    std::memcpy(out->name, b + kLabelTypeNameOffset, kLabelTypeNameSize);
    out->cardWidth = GetF64LE(b + kLabelTypeCardWidthOffset);
    out->cardHeight = GetF64LE(b + kLabelTypeCardHeightOffset);
    out->topMargin = GetF64LE(b + kLabelTypeTopMarginOffset);
    out->leftMargin = GetF64LE(b + kLabelTypeLeftMarginOffset);
    out->verticalSpacing = GetF64LE(b + kLabelTypeVerticalSpacingOffset);
    out->horizontalSpacing = GetF64LE(b + kLabelTypeHorizontalSpacingOffset);
    out->columns = GetI16LE(b + kLabelTypeColumnsOffset);
    out->rows = GetI16LE(b + kLabelTypeRowsOffset);
    out->unit = GetI16LE(b + kLabelTypeUnitOffset);
    std::memcpy(out->pad118, b + kLabelTypePad118Offset, kLabelTypePad118Size);
    out->centering = GetI32LE(b + kLabelTypeCenteringOffset);
    out->centerTop = GetI32LE(b + kLabelTypeCenterTopOffset);
    out->centerLeft = GetI32LE(b + kLabelTypeCenterLeftOffset);
    out->orientation = GetI32LE(b + kLabelTypeOrientationOffset);
    out->sides = GetI32LE(b + kLabelTypeSidesOffset);
    out->word140 = GetI32LE(b + kLabelTypeWord140Offset);
    out->paper = GetI32LE(b + kLabelTypePaperOffset);
    std::memcpy(out->reserved, b + kLabelTypeReservedOffset, kLabelTypeReservedSize);
}

void LabelTypeEncode(const LabelTypeRecord& r, uint8_t* b)
{
    std::memcpy(b + kLabelTypeNameOffset, r.name, kLabelTypeNameSize);
    PutF64LE(b + kLabelTypeCardWidthOffset, r.cardWidth);
    PutF64LE(b + kLabelTypeCardHeightOffset, r.cardHeight);
    PutF64LE(b + kLabelTypeTopMarginOffset, r.topMargin);
    PutF64LE(b + kLabelTypeLeftMarginOffset, r.leftMargin);
    PutF64LE(b + kLabelTypeVerticalSpacingOffset, r.verticalSpacing);
    PutF64LE(b + kLabelTypeHorizontalSpacingOffset, r.horizontalSpacing);
    PutI16LE(b + kLabelTypeColumnsOffset, r.columns);
    PutI16LE(b + kLabelTypeRowsOffset, r.rows);
    PutI16LE(b + kLabelTypeUnitOffset, r.unit);
    std::memcpy(b + kLabelTypePad118Offset, r.pad118, kLabelTypePad118Size);
    PutI32LE(b + kLabelTypeCenteringOffset, r.centering);
    PutI32LE(b + kLabelTypeCenterTopOffset, r.centerTop);
    PutI32LE(b + kLabelTypeCenterLeftOffset, r.centerLeft);
    PutI32LE(b + kLabelTypeOrientationOffset, r.orientation);
    PutI32LE(b + kLabelTypeSidesOffset, r.sides);
    PutI32LE(b + kLabelTypeWord140Offset, r.word140);
    PutI32LE(b + kLabelTypePaperOffset, r.paper);
    std::memcpy(b + kLabelTypeReservedOffset, r.reserved, kLabelTypeReservedSize);
}

bool LabelTypeSame(const LabelTypeRecord& a, const LabelTypeRecord& b)
{
    uint8_t x[kLabelTypeSize];
    uint8_t y[kLabelTypeSize];
    LabelTypeEncode(a, x);
    LabelTypeEncode(b, y);
    return std::memcmp(x, y, kLabelTypeSize) == 0;
}

std::string LabelTypeName(const LabelTypeRecord& record)
{
    return std::string(record.name, strnlen(record.name, kLabelTypeNameMax));
}

void LabelTypeSetName(LabelTypeRecord* record, const std::string& text)
{
    std::memset(record->name, 0, kLabelTypeNameSize);
    text.copy(record->name, kLabelTypeNameMax);
}

bool LabelTypeIsSane(const LabelTypeRecord& r)
{
    return strnlen(r.name, kLabelTypeNameSize) < kLabelTypeNameSize && SizeOk(r.cardWidth) &&
           SizeOk(r.cardHeight) && LengthOk(r.topMargin) && LengthOk(r.leftMargin) &&
           LengthOk(r.verticalSpacing) && LengthOk(r.horizontalSpacing) && CountOk(r.columns) && CountOk(r.rows);
}

void GetBuiltinLabelType(LabelTypeRecord* out, int32_t index)
{
    if (out)
        *out = BuiltinAt(index);
}

void CenterLabelGrid(const LabelTypeRecord* r, double pageWidth, double pageHeight, double* left, double* top)
{
    if (!r)
        return;
    const double width = r->columns * r->cardWidth + (r->columns - 1) * r->horizontalSpacing;
    const double height = r->rows * r->cardHeight + (r->rows - 1) * r->verticalSpacing;
    if (left)
        *left = (pageWidth - width) / 2.0;
    if (top)
        *top = (pageHeight - height) / 2.0;
}

namespace {

// The grid's counts when the handle holds its header and every cell, else
// false.
bool GridShape(Handle grid, int32_t* inner, int32_t* outer)
{
    const uint32_t size = HandleGetSize(grid);
    if (!grid || size < kLabelGridHeaderSize)
        return false;
    const uint8_t* p = HandleData<uint8_t>(grid);
    *inner = GetI32LE(p + 4);
    *outer = GetI32LE(p + 8);
    if (*inner <= 0 || *outer <= 0)
        return false;
    const uint64_t cells = uint64_t(*inner) * uint64_t(*outer);
    return cells <= (size - kLabelGridHeaderSize) / 4;
}

}  // namespace

int32_t LabelGridGetCell(Handle grid, int32_t a, int32_t b)
{
    int32_t inner = 0;
    int32_t outer = 0;
    if (!GridShape(grid, &inner, &outer) || a < 0 || a >= outer || b < 0 || b >= inner)
        return 1;
    const size_t cell = size_t(a) * size_t(inner) + size_t(b);
    return GetI32LE(HandleData<uint8_t>(grid) + kLabelGridHeaderSize + 4 * cell);
}

int32_t LabelGridCountCells(Handle grid)
{
    int32_t inner = 0;
    int32_t outer = 0;
    if (!GridShape(grid, &inner, &outer))
        return 0;
    const uint8_t* cells = HandleData<uint8_t>(grid) + kLabelGridHeaderSize;
    const size_t n = size_t(inner) * size_t(outer);
    int32_t count = 0;
    for (size_t i = 0; i < n; ++i)
        count += GetI32LE(cells + 4 * i) == 0 ? 1 : 0;
    return count;
}

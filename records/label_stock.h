// A label-stock sheet layout in memory (LabelTypeRecord), its codec, the two
// built-in layouts and the sheet computations the sheet preview, the
// document and the print job share. The stored layout is described in
// label_stock_format.h.
//
// Any 168 bytes decode, and encoding gives the same bytes back, so a layout
// passes through the document and the print job untouched whatever it
// holds. LabelTypeIsSane says whether a layout can be drawn; the label-type
// reader takes only such layouts.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/handle.h"
#include "records/label_stock_format.h"

// Orientation words.
enum : int32_t {
    kLabelOrientationKeep = 0,
    kLabelOrientationPortrait = 1,
    kLabelOrientationLandscape = 2,
};

struct LabelTypeRecord {
    char name[kLabelTypeNameSize] = {};
    double cardWidth = 0;
    double cardHeight = 0;
    double topMargin = 0;
    double leftMargin = 0;
    double verticalSpacing = 0;
    double horizontalSpacing = 0;
    int16_t columns = 0;
    int16_t rows = 0;
    int16_t unit = 0;
    uint8_t pad118[kLabelTypePad118Size] = {};
    int32_t centering = 0;
    int32_t centerTop = 0;
    int32_t centerLeft = 0;
    int32_t orientation = 0;
    int32_t sides = 0;
    int32_t word140 = 0;
    int32_t paper = 0;
    uint8_t reserved[kLabelTypeReservedSize] = {};
};

void LabelTypeDecode(const uint8_t* bytes, LabelTypeRecord* out);
void LabelTypeEncode(const LabelTypeRecord& record, uint8_t* bytes);
// Whether two layouts would be stored as the same bytes (doubles compared
// bit for bit).
bool LabelTypeSame(const LabelTypeRecord& a, const LabelTypeRecord& b);

// The name, up to its terminator and never more than 63 bytes (Windows-1252).
std::string LabelTypeName(const LabelTypeRecord& record);
// Clears the 64 name bytes and puts in at most 63 of text's.
void LabelTypeSetName(LabelTypeRecord* record, const std::string& text);

bool LabelTypeIsSane(const LabelTypeRecord& record);

constexpr int32_t kBuiltinLabelTypeCount = 2;
// Built-in layout 0 or 1; any other index gives 0. A null destination is
// left alone.
void GetBuiltinLabelType(LabelTypeRecord* out, int32_t index);

// The top-left corner of the card grid centred on a page of the given size:
// (page - (n x card + (n - 1) x spacing)) / 2 across and down. Each output
// only when given; nothing without a record.
void CenterLabelGrid(const LabelTypeRecord* record, double pageWidth, double pageHeight, double* left,
                     double* top);

// A sheet cell grid in a Handle: a 32-bit word, the inner count, the outer
// count, then inner x outer 32-bit cells, outer-major. A cell holding 0 is
// a position skipped on the first sheet. A grid whose handle cannot hold
// all of its cells counts as empty.
constexpr uint32_t kLabelGridHeaderSize = 12;
// Cell a x inner + b; 1 for a null or empty grid or an index outside it.
int32_t LabelGridGetCell(Handle grid, int32_t a, int32_t b);
// The cells holding 0; 0 for a null or empty grid.
int32_t LabelGridCountCells(Handle grid);

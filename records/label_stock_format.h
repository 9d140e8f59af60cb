// The label-stock sheet layout (168 bytes, little-endian), the same in the
// label-type file, in a card document, in the document set-up record and in
// a print job. Lengths are points (1/72 inch).
//
//     0  char[64] name, Windows-1252, zero-terminated (at most 63 characters)
//    64  f64      card width
//    72  f64      card height
//    80  f64      top margin: page top to the first row
//    88  f64      left margin: page left to the first column
//    96  f64      vertical spacing between rows
//   104  f64      horizontal spacing between columns
//   112  i16      columns (cards across)
//   114  i16      rows (cards down)
//   116  i16      unit shown: 0 points, 1 inches, 2 centimetres, 3 picas
//   118  2 bytes  0
//   120  i32      centring flag: 1 centres the grid on the page
//   124  i32      vertical centring offset, whole points (set when a sheet
//                 is laid out for printing; 0 without centring)
//   128  i32      horizontal centring offset, likewise
//   132  i32      printer orientation: 0 leave it, 1 portrait, else landscape
//   136  i32      card sides: 2 for front and back
//   140  i32      1 in the built-in layouts; carried, never read
//   144  i32      paper table entry to select; 0 leave the printer's paper
//   148  20 bytes 0
//
// The label-type file "Tessaline.dat" is nothing but such records one after
// the other; bytes behind the last whole record are not read.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kLabelTypeSize = 168;
constexpr size_t kLabelTypeNameSize = 64;
constexpr size_t kLabelTypeNameMax = 63;

enum : size_t {
    kLabelTypeNameOffset = 0,
    kLabelTypeCardWidthOffset = 64,
    kLabelTypeCardHeightOffset = 72,
    kLabelTypeTopMarginOffset = 80,
    kLabelTypeLeftMarginOffset = 88,
    kLabelTypeVerticalSpacingOffset = 96,
    kLabelTypeHorizontalSpacingOffset = 104,
    kLabelTypeColumnsOffset = 112,
    kLabelTypeRowsOffset = 114,
    kLabelTypeUnitOffset = 116,
    kLabelTypePad118Offset = 118,
    kLabelTypeCenteringOffset = 120,
    kLabelTypeCenterTopOffset = 124,
    kLabelTypeCenterLeftOffset = 128,
    kLabelTypeOrientationOffset = 132,
    kLabelTypeSidesOffset = 136,
    kLabelTypeWord140Offset = 140,
    kLabelTypePaperOffset = 144,
    kLabelTypeReservedOffset = 148,
};
constexpr size_t kLabelTypePad118Size = 2;
constexpr size_t kLabelTypeReservedSize = 20;

// What the label-type reader takes. A layout no sheet can have (a length
// that is not a number or is beyond 10000 inches either way, a negative card
// size, more than 100 columns or rows, a name without its terminator) marks
// the file as damaged. The limits are those the Label Type dialog lets a
// user type, in the largest unit.
constexpr double kLabelTypeMaxLength = 720000.0;
constexpr int16_t kLabelTypeMaxCount = 100;
// More label types than this in one file is taken as damage too; the list
// dialogs sort by exchanges, which must stay quick.
constexpr int32_t kLabelFileMaxRecords = 10000;

// The label-type file's name in the program folder.
constexpr const char* kLabelFileName = "Tessaline";
constexpr const char* kLabelFileExtension = ".dat";

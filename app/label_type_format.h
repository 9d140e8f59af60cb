// LabelTypeRecord: one sheet layout of label stock, 168 bytes,
// little-endian, the same in the label-type file, in a card document and in
// the document set-up. Lengths are points.
//
//   0    64    name, Windows-1252, zero-terminated (at most 63 characters)
//  64    f64   card width
//  72    f64   card height
//  80    f64   top margin (page top to the first row)
//  88    f64   left margin (page left to the first column)
//  96    f64   vertical spacing between rows
// 104    f64   horizontal spacing between columns
// 112    i16   columns
// 114    i16   rows
// 116    i16   unit shown: 0 points, 1 inches, 2 centimetres, 3 picas
// 118    2     0
// 120    i32   centring flag
// 124    i32   vertical centring offset, points
// 128    i32   horizontal centring offset, points
// 132    i32   printer orientation: 0 leave it, 1 portrait, else landscape
// 136    i32   card sides: 2 for front and back
// 140    i32   1 in the built-in records, carried unchanged
// 144    i32   paper: an entry of the paper table, 0 leave it
// 148    20    0
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kLabelTypeSize = 168;
constexpr size_t kLabelTypeNameSize = 64;

enum : size_t {
    kLabelTypeName = 0,
    kLabelTypeCardWidth = 64,
    kLabelTypeCardHeight = 72,
    kLabelTypeTopMargin = 80,
    kLabelTypeLeftMargin = 88,
    kLabelTypeRowSpacing = 96,
    kLabelTypeColumnSpacing = 104,
    kLabelTypeColumns = 112,
    kLabelTypeRows = 114,
    kLabelTypeUnit = 116,
    kLabelTypeCentred = 120,
    kLabelTypeCentreTop = 124,
    kLabelTypeCentreLeft = 128,
    kLabelTypeOrientation = 132,
    kLabelTypeSides = 136,
    kLabelTypeWord140 = 140,
    kLabelTypePaper = 144,
};

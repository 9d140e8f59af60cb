// Whether a card's sheet of labels fits the paper it is about to print on:
// the rows and columns that would lie off the paper, as the print places
// them, and what the user is told before such a sheet prints.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CLabelsDoc;

struct SheetFit {
    // Numbered from 1, in order.
    std::vector<int32_t> lostRows;
    std::vector<int32_t> lostColumns;
    bool Fits() const { return lostRows.empty() && lostColumns.empty(); }
};

// The rows and columns of the card's sheet that reach off a paper of this
// size (points), cells placed as the print places them.
SheetFit CheckSheetFit(CLabelsDoc* document, double paperWidth, double paperHeight);

// Names the sheet, the paper and what would be left out, and asks whether
// to print anyway.
std::string SheetFitText(const CLabelsDoc& document, const SheetFit& fit, double paperWidth, double paperHeight);

#include "carddoc/sheet_fit.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "carddoc/labels_doc.h"
#include "foundation/byte_order.h"
#include "foundation/paper_table.h"
#include "records/label_stock_format.h"

namespace {

// Paper sizes reach the job in whole points, and a stock measured in
// millimetres rarely adds up to one: a cell may stand this far over the
// edge and still count as on the paper.
constexpr double kEdgeAllowance = 1.0;

bool OffPaper(double start, double length, double paper)
{
    return start < -kEdgeAllowance || start + length > paper + kEdgeAllowance;
}

// "row 12", "rows 12 to 14", "rows 1 and 13 to 14".
std::string Spans(const std::vector<int32_t>& numbers, const char* one, const char* many)
{
    std::string text(numbers.size() == 1 ? one : many);
    size_t i = 0;
    while (i < numbers.size()) {
        size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        std::string span = std::to_string(numbers[i]);
        if (j > i)
            span.append(" to ").append(std::to_string(numbers[j]));
        const std::string joint = i == 0 ? std::string(" ") : j + 1 == numbers.size() ? std::string(" and ")
                                                                                       : std::string(", ");
        text.append(joint).append(span);
        i = j + 1;
    }
    return text;
}

// The paper table's short name of a paper this size either way round
// ("Letter", "A4 Sheet"), or empty.
std::string PaperName(double width, double height)
{
    for (int32_t i = 1; i < kPaperTableCount; ++i) {
        const PaperEntry& paper = PaperTable[i];
        const bool upright = std::fabs(paper.width - width) <= 1 && std::fabs(paper.height - height) <= 1;
        const bool across = std::fabs(paper.width - height) <= 1 && std::fabs(paper.height - width) <= 1;
        if (!upright && !across)
            continue;
        std::string name = paper.name;
        name = name.substr(0, name.find(','));
        return across && width != height ? name + " (across)" : name;
    }
    return std::string();
}

}  // namespace

SheetFit CheckSheetFit(CLabelsDoc* document, double paperWidth, double paperHeight)
{
    SheetFit fit;
    const uint8_t* layout = document->LabelLayout();
    const int16_t columns = GetI16LE(layout + kLabelTypeColumnsOffset);
    const int16_t rows = GetI16LE(layout + kLabelTypeRowsOffset);
    const double width = document->PageGeometry().cardWidth;
    const double height = document->PageGeometry().cardHeight;
    for (int16_t row = 0; row < rows; ++row) {
        double x = 0, y = 0;
        document->GetCellOrigin(&x, &y, 0, row);
        if (OffPaper(y, height, paperHeight))
            fit.lostRows.push_back(row + 1);
    }
    for (int16_t column = 0; column < columns; ++column) {
        double x = 0, y = 0;
        document->GetCellOrigin(&x, &y, column, 0);
        if (OffPaper(x, width, paperWidth))
            fit.lostColumns.push_back(column + 1);
    }
    return fit;
}

std::string SheetFitText(const CLabelsDoc& document, const SheetFit& fit, double paperWidth, double paperHeight)
{
    char name[kLabelTypeNameSize + 1] = {};
    std::memcpy(name, document.LabelLayout(), kLabelTypeNameSize);
    const std::string sheet = name[0] ? "The sheet \"" + std::string(name) + "\"" : std::string("The sheet");
    std::string paper = PaperName(paperWidth, paperHeight);
    char size[64];
    std::snprintf(size, sizeof size, "%g x %g points", std::round(paperWidth), std::round(paperHeight));
    paper = paper.empty() ? std::string("paper (") + size + ")" : paper + " paper (" + size + ")";
    std::string lost;
    if (!fit.lostRows.empty())
        lost = Spans(fit.lostRows, "row", "rows");
    if (!fit.lostColumns.empty())
        lost += (lost.empty() ? "" : " and ") + Spans(fit.lostColumns, "column", "columns");
    return sheet + " does not fit the " + paper + " it is about to print on: " + lost +
           " would be cut off or left out. Choose the sheet's paper and orientation in Document Setup, or the "
           "paper in Print Setup.\n\nPrint anyway?";
}

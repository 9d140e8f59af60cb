#include "foundation/paper_table.h"

const PaperEntry PaperTable[kPaperTableCount] = {
    {0, "Any Format", 612, 792},
    {1, "Letter, 8 1/2- by 11-inches", 612, 792},
    {5, "Legal, 8 1/2- by 14-inches", 612, 1008},
    {9, "A4 Sheet, 210- by 297-millimeters", 595, 841},
    {24, "C Sheet, 17- by 22-inches", 1224, 1584},
    {25, "D Sheet, 22- by 34-inches", 1584, 2448},
    {26, "E Sheet, 34- by 44-inches", 2448, 3168},
    {2, "Letter Small, 8 1/2- by 11-inches", 612, 792},
    {3, "Tabloid, 11- by 17-inches", 792, 1224},
    {4, "Ledger, 17- by 11-inches", 1224, 792},
    {6, "Statement, 5 1/2- by 8 1/2-inches", 396, 612},
    {7, "Executive, 7 1/4- by 10 1/2-inches", 522, 756},
    {8, "A3 sheet, 297- by 420-millimeters", 841, 1190},
    {10, "A4 small sheet, 210- by 297-millimeters", 595, 841},
    {11, "A5 sheet, 148- by 210-millimeters", 419, 595},
    {12, "B4 sheet, 250- by 354-millimeters", 708, 1003},
    {13, "B5 sheet, 182- by 257-millimeter paper", 515, 728},
    {14, "Folio, 8 1/2- by 13-inch paper", 612, 936},
    {15, "Quarto,215- by 275-millimeter paper", 609, 779},
    {16, "10- by 14-inch sheet", 720, 1008},
    {17, "11- by 17-inch sheet", 792, 1224},
    {18, "Note, 8 1/2- by 11-inches", 612, 792},
    {19, "#9 Envelope, 3 7/8- by 8 7/8-inches", 279, 639},
    {20, "#10 Envelope, 4 1/8- by 9 1/2-inches", 297, 684},
    {21, "#11 Envelope, 4 1/2- by 10 3/8-inches", 324, 747},
    {22, "#12 Envelope, 4 3/4- by 11-inches", 342, 792},
    {23, "#14 Envelope, 5- by 11 1/2-inches", 360, 828},
    {27, "DL Envelope, 110- by 220-millimeters", 311, 623},
    {28, "C5 Envelope, 162- by 229-millimeters", 459, 649},
    {29, "C3 Envelope, 324- by 458-millimeters", 918, 1298},
    {30, "C4 Envelope, 229- by 324-millimeters", 649, 918},
    {31, "C6 Envelope, 114- by 162-millimeters", 323, 459},
    {32, "C65 Envelope, 114- by 229-millimeters", 323, 649},
    {33, "B4 Envelope, 250- by 353-millimeters", 708, 1000},
    {34, "B5 Envelope, 176- by 250-millimeters", 498, 708},
    {35, "B6 Envelope, 176- by 125-millimeters", 498, 354},
    {36, "Italy Envelope, 110- by 230-millimeters", 311, 651},
    {37, "Monarch Envelope, 3 7/8- by 7 1/2-inches", 279, 540},
    {38, "6 3/4 Envelope, 3 5/8- by 6 1/2-inches", 261, 468},
    {39, "US Std Fanfold, 14 7/8- by 11-inches", 1071, 792},
    {40, "German Std Fanfold, 8 1/2- by 12-inches", 612, 864},
    {41, "German Legal Fanfold, 8 1/2- by 13-inches", 612, 936},
};

int32_t PaperTableCount()
{
    return kPaperTableCount;
}

namespace {

struct SheetPaper {
    int32_t code;
    int32_t width;
    int32_t height;
};

constexpr SheetPaper kSheetPapers[] = {
    {kSheetPaperLetter, 612, 792},
    {kSheetPaperLegal, 612, 1008},
    {kSheetPaperA4, 595, 842},
    {kSheetPaperB5, 499, 709},
    {kSheetPaperTabloid, 792, 1224},
};

}  // namespace

int32_t PaperSizePoints(int32_t code, int32_t* width, int32_t* height)
{
    if (code == kSheetPaperCustom)
        return 0;
    for (const SheetPaper& p : kSheetPapers) {
        if (p.code == code) {
            *width = p.width;
            *height = p.height;
            return 1;
        }
    }
    *width = kSheetPapers[0].width;
    *height = kSheetPapers[0].height;
    return 0;
}

int32_t PaperCodeForSize(int32_t width, int32_t height)
{
    for (const SheetPaper& p : kSheetPapers) {
        if (p.width == width && p.height == height)
            return p.code;
    }
    return kSheetPaperCustom;
}

// Paper sizes in points: the table of printer papers the user picks from,
// and the short list of sheet papers a label layout names by number.
#pragma once

#include <cstdint>

struct PaperEntry {
    uint32_t code;  // the printer's paper code; 0 for "Any Format"
    char name[64];
    uint32_t width;   // points
    uint32_t height;  // points
};

constexpr int32_t kPaperTableCount = 42;
constexpr int32_t kPaperEntryAnyFormat = 0;
constexpr int32_t kPaperEntryLetter = 1;
constexpr int32_t kPaperEntryA4 = 3;
extern const PaperEntry PaperTable[kPaperTableCount];

int32_t PaperTableCount();

// Sheet paper numbers of a label layout. They are not printer paper codes.
enum : int32_t {
    kSheetPaperLetter = 1,
    kSheetPaperLegal = 2,
    kSheetPaperA4 = 3,
    kSheetPaperB5 = 4,
    kSheetPaperTabloid = 5,
    kSheetPaperCustom = 6,
};

// 1 with the size of papers 1-5. Custom gives 0 and leaves the outputs
// alone; any other number gives 0 with the size of Letter. A4 is 595 x 842
// here, while the printer paper table says 595 x 841: the label layouts
// were made with these sizes, so neither is changed to match the other.
int32_t PaperSizePoints(int32_t code, int32_t* width, int32_t* height);

// The first sheet paper of exactly this size, else custom.
int32_t PaperCodeForSize(int32_t width, int32_t height);

// What the Print dialog and the print manager exchange for one job: the
// printer chosen, the database and record range, copies, the first-card
// position or the cells to skip on the first sheet, the side of the card
// and a copy of the document's label layout.
#pragma once

#include <cstdint>
#include <memory>

#include <QPrinter>

#include "foundation/handle.h"
#include "records/label_stock_format.h"

// How the first sheet's start is chosen.
enum : int16_t {
    kFirstCardManual = 2,  // a first-card column and row
    kFirstCardSkipGrid = 3,  // cells marked to skip
};

// Sides of a card to print.
enum : uint8_t {
    kPrintSideNotAsked = 0,
    kPrintSideFront = 1,
    kPrintSideBack = 2,
};

// The highest record number a job can name.
constexpr int32_t kPrintMaxRecord = 32761;

struct PrintJobRecord {
    // The printer the dialog returns, set up for the job; the print
    // manager owns it until the job ends.
    std::unique_ptr<QPrinter> printer;
    // Set when the job is to be written as a PostScript file here; the
    // printer then only gives the sheet and the resolution.
    QString postScriptFile;
    int16_t databaseOrdinal = 0;
    int32_t from = 0;
    int32_t to = 0;
    int32_t copies = 0;
    uint8_t noDatabase = 0;
    int32_t firstCardColumn = 0;
    int32_t firstCardRow = 0;
    // Cells to skip on the first sheet (the sheet preview's grid); owned
    // here, kept from job to job.
    Handle firstCardGrid = nullptr;
    int16_t firstCardMode = kFirstCardSkipGrid;
    uint8_t side = kPrintSideNotAsked;
    uint8_t layout[kLabelTypeSize] = {};

    PrintJobRecord() = default;
    ~PrintJobRecord() { HandleFree(firstCardGrid); }
    PrintJobRecord(const PrintJobRecord&) = delete;
    PrintJobRecord& operator=(const PrintJobRecord&) = delete;

    // The grid the First Card dialog returned replaces the one kept.
    void TakeGrid(Handle grid)
    {
        if (grid == firstCardGrid)
            return;
        HandleFree(firstCardGrid);
        firstCardGrid = grid;
    }
};

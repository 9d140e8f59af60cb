// The sheet renderer: one printed page of label stock, card by card, each
// card the design filled with the next record of the current database.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "carddoc/labels_doc.h"
#include "carddoc/print_manager.h"
#include "carddoc/sheet_pages.h"
#include "database/open_database_registry.h"
#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/page_record_format.h"
#include "frames/print_losses.h"
#include "graphics/postscript.h"
#include "platform/dc.h"
#include "records/label_stock.h"
#include "records/label_stock_format.h"

namespace {

// The print-option block of a page: the printer alignment (down, then
// across, points) and the crop-marks switch.
enum : size_t {
    kOptionVerticalAlign = 0,
    kOptionHorizontalAlign = 8,
    kOptionCropMarks = 16,
};

constexpr int32_t kCropMarkLength = 20;

struct ViewScale {
    int32_t numerator = 1;
    int32_t denominator = 1;
    int32_t Length(int32_t v) const { return denominator ? int32_t(int64_t(v) * numerator / denominator) : v; }
    double LengthF(double v) const { return denominator ? v * numerator / denominator : v; }
    // A place in points to the device unit at or after it, or at or before
    // it (a hair's give for a place that is a whole unit).
    int32_t Up(double points) const { return TruncToInt32(std::ceil(LengthF(points) - 1e-6)); }
    int32_t Down(double points) const { return TruncToInt32(std::floor(LengthF(points) + 1e-6)); }
};

ViewScale ScaleOf(CurrPageMng* manager)
{
    int16_t n = 1, d = 1, mode = 0;
    manager->GetZoom(&n, &d, &mode);
    return ViewScale{n, d};
}

int32_t FloorToInt32(double v) { return TruncToInt32(std::floor(v)); }

// A layout the label dialogs could have made; anything else (a damaged
// file) would have the sheet loop over millions of cells.
bool UsableGrid(int32_t columns, int32_t rows)
{
    return columns >= 1 && rows >= 1 && columns <= kLabelTypeMaxCount && rows <= kLabelTypeMaxCount;
}

}  // namespace

void CLabelsDoc::GetCellOrigin(double* x, double* y, int16_t column, int16_t row)
{
    const uint8_t* layout = labelLayout_;
    uint8_t options[kPageGuideBlockSize] = {};
    manager_->CopyGuideBlock(options, 0);
    *x = column * (pageBlock_.cardWidth + GetF64LE(layout + kLabelTypeHorizontalSpacingOffset)) +
         GetF64LE(layout + kLabelTypeLeftMarginOffset) + GetF64LE(options + kOptionHorizontalAlign);
    *y = row * (pageBlock_.cardHeight + GetF64LE(layout + kLabelTypeVerticalSpacingOffset)) +
         GetF64LE(layout + kLabelTypeTopMarginOffset) + GetF64LE(options + kOptionVerticalAlign);
    if (GetU32LE(layout + kLabelTypeCenteringOffset) != 0) {
        *x += GetI32LE(layout + kLabelTypeCenterLeftOffset);
        *y += GetI32LE(layout + kLabelTypeCenterTopOffset);
    }
}

void CLabelsDoc::GetCellRect(IntRect* out, int16_t column, int16_t row)
{
    double x = 0, y = 0;
    GetCellOrigin(&x, &y, column, row);
    *out = IntRect{0, 0, TruncToInt32(pageBlock_.cardWidth), TruncToInt32(pageBlock_.cardHeight)};
    const int32_t dx = TruncToInt32(x), dy = TruncToInt32(y);
    out->left = Add32(out->left, dx);
    out->right = Add32(out->right, dx);
    out->top = Add32(out->top, dy);
    out->bottom = Add32(out->bottom, dy);
}

void CLabelsDoc::SetCentringOffsets(int32_t left, int32_t top)
{
    PutI32LE(labelLayout_ + kLabelTypeCenterLeftOffset, left);
    PutI32LE(labelLayout_ + kLabelTypeCenterTopOffset, top);
}

void CLabelsDoc::DrawSheetCell(Dc* dc, const IntRect& cell, const IntRect* clip, int16_t row, int16_t column)
{
    uint8_t options[kPageGuideBlockSize] = {};
    manager_->CopyGuideBlock(options, 0);
    if (!dc || GetU32LE(options + kOptionCropMarks) == 0)
        return;
    const ViewScale scale = ScaleOf(manager_.get());
    const int32_t length = scale.Length(kCropMarkLength);
    const int32_t hv = TruncToInt32(scale.LengthF(GetF64LE(labelLayout_ + kLabelTypeVerticalSpacingOffset) / 2.0));
    const int32_t hh =
        TruncToInt32(scale.LengthF(GetF64LE(labelLayout_ + kLabelTypeHorizontalSpacingOffset) / 2.0));
    const int32_t lastColumn = GetI16LE(labelLayout_ + kLabelTypeColumnsOffset) - 1;
    const int32_t lastRow = GetI16LE(labelLayout_ + kLabelTypeRowsOffset) - 1;

    const Pen old = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    if (clip) {
        const Region r = Region::FromRect(*clip);
        dc->selectClipRgn(&r);
    } else {
        dc->selectClipRgn(nullptr);
    }
    // The marks stand in the middle of the gaps between cards and point
    // away from the sheet; inner cells draw only their leading marks, which
    // are the trailing marks of their neighbours too.
    const int32_t xl = cell.left - hh, xr = cell.right + hh;
    const int32_t yt = cell.top - hv, yb = cell.bottom + hv;
    auto line = [dc](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        dc->moveTo(x1, y1);
        dc->lineTo(x2, y2);
    };
    if (row == 0) {
        line(xl, yt, xl, yt - length);
        if (column == lastColumn)
            line(xr, yt, xr, yt - length);
    }
    if (row == lastRow) {
        line(xl, yb, xl, yb + length);
        if (column == lastColumn)
            line(xr, yb, xr, yb + length);
    }
    if (column == 0) {
        line(xl, yt, xl - length, yt);
        if (row == lastRow)
            line(xl, yb, xl - length, yb);
    }
    if (column == lastColumn) {
        line(xr, yt, xr + length, yt);
        if (row == lastRow)
            line(xr, yb, xr + length, yb);
    }
    dc->selectPen(old);
}

void CLabelsDoc::DrawSheet(Dc* dc, int16_t xResolution, int16_t yResolution, int16_t printedPage,
                           int16_t outputMode, int16_t skippedCells, const int32_t firstCard[2], Handle grid,
                           int32_t firstRecord, int32_t lastRecord, int16_t useGrid, int16_t pageOverride)
{
    if (!dc)
        return;
    const bool withDatabase = GetCurrentDatabaseDoc() != nullptr;
    const int16_t columns = GetI16LE(labelLayout_ + kLabelTypeColumnsOffset);
    const int16_t rows = GetI16LE(labelLayout_ + kLabelTypeRowsOffset);
    if (!UsableGrid(columns, rows))
        return;

    const int16_t base = pageOverride == 0 ? pageBlock_.firstPage : pageOverride;
    const int16_t perSheet = pageOverride == 0 ? std::max<int16_t>(GetPageCount(), 1) : 1;
    const SheetPage target = SheetPageFor(printedPage, perSheet, base, columns, rows, firstCard[0], firstCard[1],
                                          skippedCells, firstRecord);
    int32_t counter = target.firstRecord;
    if (withDatabase && counter > lastRecord)
        return;

    // Frames send their PostScript straight into a job that takes it.
    struct SinkScope {
        std::unique_ptr<PassThroughSink>& sink;
        ~SinkScope() { sink.reset(); }
    } sinkScope{postScriptSink_};
    if (outputMode == kOutputPostScript && dc->supportsPostScriptPassThrough())
        postScriptSink_ = std::make_unique<DcPassThrough>(dc);

    // The page, alone and at the sheet's origin, at the device's scale.
    // Every card below lays the text out afresh for its record before it
    // is drawn; the layout the page would get as it opens, for whichever
    // record was current, would only be thrown away. (The Text tool takes
    // nothing back into editing as the page opens: closing the page ended
    // its editing and forgot the frame.)
    flowTextOnOpen_ = false;
    SwitchToPage(target.page);
    flowTextOnOpen_ = true;
    const int16_t page = GetCurrentPage();
    manager_->BeginPageOutput(outputMode, page);
    const int16_t resolution = std::max<int16_t>(std::min(xResolution, yResolution), 1);
    manager_->SetZoom(uint16_t(resolution), 72, -1, 1);
    const ViewScale scale = ScaleOf(manager_.get());

    bool stop = false;
    for (int16_t row = 0; row < rows && !stop; ++row) {
        for (int16_t column = 0; column < columns && !stop; ++column) {
            if (row + 1 < firstCard[1] || (row + 1 == firstCard[1] && column + 1 < firstCard[0]))
                continue;
            // The label as the stock gives it, to the device's own unit: a
            // whole point is a third of a millimetre, which misses the
            // label. Printers paint every dot a clip touches, so the cell
            // is taken inward to whole dots and nothing lands past the
            // label. The frames move by whole points and the device's
            // origin moves the rest of the way.
            double x = 0, y = 0;
            GetCellOrigin(&x, &y, column, row);
            const IntRect view{scale.Up(x), scale.Up(y), scale.Down(x + pageBlock_.cardWidth),
                               scale.Down(y + pageBlock_.cardHeight)};
            const IntPoint offset{FloorToInt32(x), FloorToInt32(y)};
            const IntPoint rest{view.left - scale.Length(offset.x), view.top - scale.Length(offset.y)};
            DrawSheetCell(dc, view, nullptr, row, column);
            if (grid && useGrid && LabelGridGetCell(grid, row, column) == 0)
                continue;

            if (withDatabase) {
                if (counter > lastRecord || !GotoCurrentDatabaseRecord(counter - 1)) {
                    stop = true;
                    continue;
                }
                ++counter;
            } else if (counter++ > lastRecord) {
                stop = true;
                continue;
            }

            manager_->OffsetAll(offset, 1);
            if (!manager_->ApplyAlignments())
                manager_->RelayoutTextFrames();
            IntPoint corners[2] = {{view.left, view.top}, {view.right, view.bottom}};
            dc->lpToDp(corners, 2);
            const Region clip = Region::FromRect(IntRect{corners[0].x, corners[0].y, corners[1].x, corners[1].y});
            dc->selectClipRgn(&clip);
            const IntPoint origin = dc->windowOrg();
            dc->setWindowOrg(origin.x - rest.x, origin.y - rest.y);
            manager_->ResetFrameStates(1);
            NotePrintedLabel(withDatabase ? counter - 1 : 0);
            manager_->DrawAll(dc, 1);
            dc->setWindowOrg(origin.x, origin.y);
            manager_->RevertAlignOffsets();
            manager_->OffsetAll(IntPoint{-offset.x, -offset.y}, 1);
            dc->selectClipRgn(nullptr);
        }
    }

    manager_->EndPageOutput(page);
    manager_->RecalcAll();
    RefreshView();
}

PrintManager& CLabelsDoc::Printer()
{
    if (!printManager_)
        printManager_ = std::make_shared<PrintManager>(this);
    return *printManager_;
}

int32_t CLabelsDoc::PrintDocument(QWidget* owner)
{
    const int16_t page = GetCurrentPage();
    // The page stays closed behind the Print dialog: what the tools take
    // off the screen as they let go of it (the selection's handles) is
    // drawn again first, while its frames are still there.
    PagesClosing();
    if (view_)
        view_->UpdateNow();
    if (const int32_t status = ClosePages(); status != 0)
        return status;
    int32_t result = 0;
    {
        // The cards step through the records; the user's stays shown.
        CurrentRecordKeeper record;
        result = Printer().Print(owner, page);
    }
    ClosePages();
    OpenPages(page, 1, 1);
    manager_->RecalcAll();
    manager_->ResetFrameStates(2);
    manager_->MarkAllChanged();
    manager_->RefreshRecordFrames();
    manager_->ApplyAlignments();
    // The Print dialog may have made another printer the application's:
    // the areas shown as not printing are that printer's.
    ComputeMargins();
    RefreshView();
    // The job went through the side it printed; the bar names the page
    // shown again.
    UpdatePageBar();
    return result;
}

// The page geometry and the pages shown, as far as making, opening and
// saving a document need them, and the layout a document is set up with.
#include <algorithm>
#include <cmath>
#include <cstring>

#include <QRect>

#include "carddoc/card_view_services.h"
#include "carddoc/labels_doc.h"
#include "carddoc/print_manager.h"
#include "foundation/byte_order.h"
#include "foundation/cursors.h"
#include "foundation/int_math.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_store.h"
#include "frames/page_table2.h"
#include "platform/printer_handles.h"
#include "records/label_stock_format.h"

namespace {

// Without a printer the margins are measured against this paper and its
// printable area (points, before they are moved to the paper's origin).
constexpr IntRect kFallbackPaper{-31, -30, 582, 761};
constexpr IntRect kFallbackPrintable{0, 0, 552, 730};

int16_t SaturateI16(int64_t v) { return int16_t(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); }

// A card length in whole points, kept within what a page word holds.
int32_t CardPoints(double v) { return std::clamp(TruncToInt32(v), 0, int32_t(INT16_MAX)); }

// The share of the card the pasteboard adds on each side; damaged
// preferences cannot make it absurd.
int32_t PasteboardMargin(int32_t card, uint32_t percent)
{
    return int32_t(int64_t(card) * std::min<uint32_t>(percent, 1000) / 200);
}

}  // namespace

int16_t CLabelsDoc::GetCurrentPage() { return manager_->PageNumberOfSlot(0); }

int16_t CLabelsDoc::GetPageCount() { return int16_t(pages_->Count()); }

int16_t CLabelsDoc::ClampPageNumber(int16_t page, int16_t* out, int16_t* facing)
{
    *facing = kNoPageNumber;
    const int32_t count = pages_->Count();
    if (count <= 0) {
        *out = kNoPageNumber;
        return *out;
    }
    const int32_t first = pageBlock_.firstPage;
    const int32_t last = first + count - 1;
    *out = SaturateI16(std::clamp<int32_t>(page, first, last));
    return *out;
}

void CLabelsDoc::ComputePageSize()
{
    const int32_t cardW = CardPoints(pageBlock_.cardWidth);
    const int32_t cardH = CardPoints(pageBlock_.cardHeight);
    const int32_t marginX = PasteboardMargin(cardW, GeneralPref(kPrefPasteboardWidth));
    const int32_t marginY = PasteboardMargin(cardH, GeneralPref(kPrefPasteboardHeight));
    pageBlock_.pageWidth = SaturateI16(int64_t(cardW) + 2 * marginX);
    pageBlock_.pageHeight = SaturateI16(int64_t(cardH) + 2 * marginY);
    pageBlock_.slots[0] = IntRect{marginX, marginY, marginX + cardW, marginY + cardH};
    // A second page shown for output stands to the right of the first.
    const int32_t shift = cardW + marginX;
    pageBlock_.slots[1] = IntRect{marginX + shift, marginY, marginX + shift + cardW, marginY + cardH};
    manager_->CopyPageRects();
}

IntPoint CLabelsDoc::CardCorner() const { return IntPoint{pageBlock_.slots[0].left, pageBlock_.slots[0].top}; }

const int32_t* CLabelsDoc::NonPrintingMargins()
{
    if (!marginsStale_)
        return pageBlock_.margins;
    marginsStale_ = false;
    // Where the printer can't print on this card's own paper.
    const OwnPrinterPageAfterwards ownPage;
    Printer().ApplyPaperAndOrientation();
    uint8_t layout[kLabelTypeSize];
    GetLabelLayout(layout);
    ComputeNonPrintingAreas(layout, pageBlock_.margins);
    return pageBlock_.margins;
}

void CLabelsDoc::MeasureOnPrinterAgain()
{
    int32_t before[4];
    std::memcpy(before, pageBlock_.margins, sizeof before);
    ComputeMargins();
    if (ShowsNonPrintingAreas() && !std::equal(before, before + 4, NonPrintingMargins()))
        RefreshView();
}

void CLabelsDoc::ComputeNonPrintingAreas(const uint8_t* layout, int32_t* margins)
{
    // The card's own paper and orientation on the printer, as its job and
    // Print Preview have them: a landscape card is measured on the turned
    // page, whatever the printer was left with.
    IntRect paper = kFallbackPaper, printable = kFallbackPrintable;
    QRect jobPaper, jobPrintable;
    if (Printer().GetJobPage(&jobPaper, &jobPrintable)) {
        paper = IntRect{jobPaper.left(), jobPaper.top(), jobPaper.left() + jobPaper.width(),
                        jobPaper.top() + jobPaper.height()};
        printable = IntRect{jobPrintable.left(), jobPrintable.top(), jobPrintable.left() + jobPrintable.width(),
                            jobPrintable.top() + jobPrintable.height()};
    }
    // Everything is measured from the paper's top left corner.
    const double px = paper.left, py = paper.top;
    const double printLeft = printable.left - px, printTop = printable.top - py;
    const double printRight = printable.right - px, printBottom = printable.bottom - py;
    const double paperW = double(paper.right) - paper.left, paperH = double(paper.bottom) - paper.top;

    const double cardW = GetF64LE(layout + kLabelTypeCardWidthOffset);
    const double cardH = GetF64LE(layout + kLabelTypeCardHeightOffset);
    double topMargin = GetF64LE(layout + kLabelTypeTopMarginOffset);
    double leftMargin = GetF64LE(layout + kLabelTypeLeftMarginOffset);
    const double rowGap = GetF64LE(layout + kLabelTypeVerticalSpacingOffset);
    const double columnGap = GetF64LE(layout + kLabelTypeHorizontalSpacingOffset);
    const int32_t columns = GetI16LE(layout + kLabelTypeColumnsOffset);
    const int32_t rows = GetI16LE(layout + kLabelTypeRowsOffset);
    if (GetI32LE(layout + kLabelTypeCenteringOffset) != 0) {
        const double totalW = columns * cardW + (columns - 1) * columnGap;
        const double totalH = rows * cardH + (rows - 1) * rowGap;
        leftMargin += (paperW - totalW) / 2.0;
        topMargin += (paperH - totalH) / 2.0;
    }

    const double top = printTop > topMargin ? printTop - topMargin : 0;
    const double left = printLeft > leftMargin ? printLeft - leftMargin : 0;

    // The last card edge that still lies within the printable area, or the
    // first card's edge when that already lies beyond it.
    auto farEdge = [](double start, double card, double gap, int32_t count, double limit) {
        double edge = start + card;
        for (int32_t i = 1; i < count && edge + gap + card <= limit; ++i)
            edge += gap + card;
        return edge - limit;
    };
    double right = std::max(0.0, farEdge(leftMargin, cardW, columnGap, columns, printRight));
    double bottom = std::max(0.0, farEdge(topMargin, cardH, rowGap, rows, printBottom));
    right = std::min(right, cardW - left - 5);
    bottom = std::min(bottom, cardH - top - 5);

    margins[0] = TruncToInt32(left);
    margins[1] = TruncToInt32(top);
    margins[2] = TruncToInt32(right);
    margins[3] = TruncToInt32(bottom);
}

void CLabelsDoc::ResetPages(int16_t firstPage)
{
    int16_t page = kNoPageNumber, facing = kNoPageNumber;
    ClampPageNumber(firstPage, &page, &facing);
    manager_->SetPageNumbers(kNoPageNumber, kNoPageNumber);
    manager_->LoadPageSettings();
}

void CLabelsDoc::OpenPages(int16_t page, uint8_t /*a*/, uint8_t /*b*/)
{
    int16_t shown = kNoPageNumber, facing = kNoPageNumber;
    ClampPageNumber(page, &shown, &facing);
    manager_->SetPageNumbers(shown, facing);
    manager_->LoadCurrentPages(1, flowTextOnOpen_);
    UpdateVisiblePageOrigin();
    if (!pageChangeQuiet_)
        PagesOpened();
    manager_->GetBackdropFrame();
}

int32_t CLabelsDoc::ClosePages()
{
    if (!pageChangeQuiet_)
        PagesClosing();
    return manager_->CloseCurrentPages();
}

void CLabelsDoc::CreateFirstPages()
{
    const int32_t sides = pageBlock_.sides > 0 ? pageBlock_.sides : 1;
    pages_->InsertPages(pageBlock_.firstPage, sides, 0, 0);
}

void CLabelsDoc::UpdateVisiblePageOrigin()
{
    int slot = -1;
    if (pageBlock_.facing)
        slot = manager_->PageHandleOfSlot(0) != kNoPageHandle ? 0 : -1;
    else
        slot = manager_->PageHandleOfSlot(0) != kNoPageHandle ? 0 : manager_->PageHandleOfSlot(1) != kNoPageHandle ? 1 : -1;
    pageBlock_.pageLeft = slot < 0 ? 0 : pageBlock_.slots[slot].left;
    pageBlock_.pageTop = slot < 0 ? 0 : pageBlock_.slots[slot].top;
}

void CLabelsDoc::UpdateScrollSizes()
{
    manager_->ResetFrameStates(1);
    if (!view_)
        return;
    int32_t n = 1, d = 1;
    Zoom(&n, &d);
    if (d == 0)
        d = 1;
    view_->SetScrollSizes(IntSize{int32_t(int64_t(pageBlock_.pageWidth) * n / d),
                                  int32_t(int64_t(pageBlock_.pageHeight) * n / d)});
    view_->Refresh();
}

void CLabelsDoc::RefreshView()
{
    manager_->ResetFrameStates(1);
    if (view_)
        view_->Refresh();
}

void CLabelsDoc::GetPageRect(IntRect* out) const { *out = IntRect{0, 0, pageBlock_.pageWidth, pageBlock_.pageHeight}; }

bool CLabelsDoc::SwitchToPage(int16_t number)
{
    SetWaitCursor();
    SetUndoOwner(nullptr);
    if (ClosePages() != 0) {
        RestoreSavedCursor();
        return false;
    }
    OpenPages(number, 1, 1);
    if (view_)
        view_->NotifyViewChanged();
    UpdateScrollSizes();
    if (GeneralPref(kPrefSavePageScale) != 0)
        ScrollToKeepInView(false);
    UpdatePageBar();
    RestoreSavedCursor();
    return true;
}

FrameObj* CLabelsDoc::NewFrame(int16_t type)
{
    if (!manager_->HasRoom())
        return nullptr;
    FrameObj* frame = frames_->CreateFrameObject(type, 1);
    if (!frame)
        return nullptr;
    const bool listed = type == kFrameGroup ? manager_->AddGroupFrame(frame) : manager_->AppendFrame(frame);
    if (!listed) {
        frames_->DeleteFrame(frame);
        return nullptr;
    }
    SetModified(true);
    return frame;
}

void CLabelsDoc::ApplyDocSetup(const uint8_t* layout)
{
    pageBlock_.cardHeight = GetF64LE(layout + kLabelTypeCardHeightOffset);
    pageBlock_.cardWidth = GetF64LE(layout + kLabelTypeCardWidthOffset);
    pageBlock_.firstPage = 1;
    pageBlock_.sides = GetI16LE(layout + kLabelTypeSidesOffset);
    pageBlock_.orientation = layout[kLabelTypeOrientationOffset];
    pageBlock_.facing = 0;
    pageBlock_.insertFlag = 0;
    pageBlock_.continuationCount = 0;
    pageBlock_.displayWord2 = 0;
    pageBlock_.continuationFirst = 0;
    pageBlock_.continuationSecond = 0;
    pageBlock_.unit = GetI16LE(layout + kLabelTypeUnitOffset);
    std::memcpy(labelLayout_, layout, kLabelTypeSize);
    PutI32LE(general_ + kPrefHorizontalUnit, pageBlock_.unit);
    PutI32LE(general_ + kPrefVerticalUnit, pageBlock_.unit);
    std::memcpy(docSetup_ + kDocSetupLabelType, labelLayout_, kLabelTypeSize);
}

void CLabelsDoc::GetLabelLayout(uint8_t* out) const { std::memcpy(out, labelLayout_, kLabelTypeSize); }

#include "platform/printer_paper.h"

#include <algorithm>
#include <vector>

#include "foundation/paper_table.h"
#include "platform/printer_handles.h"

namespace {

constexpr double kTenthsPerInch = 254.0;
constexpr double kPointsPerInch = 72.0;

double TenthsToPoints(int32_t tenths)
{
    return tenths * kPointsPerInch / kTenthsPerInch;
}

// Multiplied before dividing, so that Letter's 612 points come out as
// 2159 tenths and not 2032.
int16_t PointsToTenths(uint32_t points)
{
    return int16_t(points * kTenthsPerInch / kPointsPerInch);
}

bool SelectListedPaper(PrinterSettings* printer, const PrinterCaps& caps, uint32_t code)
{
    std::vector<int16_t> codes;
    if (!caps.PaperCodes(printer->deviceName, printer->portName, &codes))
        return false;
    if (std::find(codes.begin(), codes.end(), int16_t(code)) == codes.end())
        return false;
    printer->dmPaperSize = int16_t(code);
    printer->dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
    printer->dmFields |= DM_PAPERSIZE;
    return true;
}

bool SelectCustomPaper(PrinterSettings* printer, const PaperEntry& paper)
{
    PaperExtentPoints min, max;
    if (PrinterGetPaperExtents(printer, &min, &max) != 0)
        return false;
    const double w = paper.width;
    const double h = paper.height;
    if (w < min.width || w > max.width || h < min.height || h > max.height)
        return false;
    printer->dmPaperLength = PointsToTenths(paper.height);
    printer->dmPaperWidth = PointsToTenths(paper.width);
    printer->dmFields &= ~DM_PAPERSIZE;
    printer->dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
    return true;
}

}  // namespace

int32_t PrinterSelectPaper(int32_t index)
{
    if (index < 0 || index >= kPaperTableCount)
        return 1;
    PrinterSettings* printer = GetPrinterHandles();
    if (!printer)
        return 1;
    const PrinterCaps& caps = CurrentPrinterCaps();
    const PaperEntry& paper = PaperTable[index];
    if (SelectListedPaper(printer, caps, paper.code) || SelectCustomPaper(printer, paper))
        return 0;
    return SelectListedPaper(printer, caps, PaperTable[kPaperEntryLetter].code) ? 0 : 2;
}

int32_t PrinterSetOrientation(int32_t portrait)
{
    PrinterSettings* printer = GetPrinterHandles();
    if (!printer)
        return 1;
    printer->dmOrientation = portrait ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
    printer->dmFields |= DM_ORIENTATION;
    return 0;
}

int32_t PrinterGetPaperIndex(int32_t* index)
{
    const PrinterSettings* printer = GetPrinterHandles();
    if (!printer)
        return 1;
    if (!(printer->dmFields & DM_PAPERSIZE))
        return 0;
    for (int32_t i = 0; i < kPaperTableCount; ++i) {
        if (int32_t(PaperTable[i].code) == printer->dmPaperSize) {
            *index = i;
            break;
        }
    }
    return 0;
}

int32_t PrinterGetOrientation(int32_t* portrait)
{
    const PrinterSettings* printer = GetPrinterHandles();
    if (!printer)
        return 1;
    if (!(printer->dmFields & DM_ORIENTATION))
        return 2;
    switch (printer->dmOrientation) {
    case DMORIENT_PORTRAIT:
        *portrait = 1;
        return 0;
    case DMORIENT_LANDSCAPE:
        *portrait = 0;
        return 0;
    default:
        return 1;
    }
}

int32_t PrinterGetCustomSize(IntSize* size)
{
    const PrinterSettings* printer = GetPrinterHandles();
    if (!printer)
        return 1;
    if (printer->dmFields & DM_PAPERSIZE)
        return 2;
    int32_t result = 0;
    if (printer->dmFields & DM_PAPERLENGTH)
        size->height = int32_t(TenthsToPoints(printer->dmPaperLength));
    else
        result += 10;
    if (printer->dmFields & DM_PAPERWIDTH)
        size->width = int32_t(TenthsToPoints(printer->dmPaperWidth));
    else
        result += 20;
    return result;
}

int32_t PrinterGetResolution(const PrinterSettings* printer, int32_t* x, int32_t* y)
{
    if (!printer || printer->dmPrintQuality <= 0 || printer->dmYResolution <= 0)
        return 1;
    *x = printer->dmPrintQuality;
    *y = printer->dmYResolution;
    return 0;
}

int32_t PrinterGetPaperExtents(const PrinterSettings* printer, PaperExtentPoints* min, PaperExtentPoints* max)
{
    if (!printer)
        return 1;
    PaperExtentTenths lo, hi;
    if (!CurrentPrinterCaps().PaperExtents(printer->deviceName, printer->portName, &lo, &hi))
        return 1;
    *min = {TenthsToPoints(lo.width), TenthsToPoints(lo.length)};
    *max = {TenthsToPoints(hi.width), TenthsToPoints(hi.length)};
    return 0;
}

#include "platform/qt_printer_caps.h"

#include <cmath>

#include <QGuiApplication>
#include <QPageSize>
#include <QPrinter>
#include <QSizeF>

#include "platform/paper_codes.h"
#include "printqueue/cups_queue.h"

namespace {

bool PrintSupportAvailable()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

PaperExtentTenths ToTenths(const QPageSize& page)
{
    const QSizeF mm = page.size(QPageSize::Millimeter);
    return {int32_t(std::lround(mm.width() * 10.0)), int32_t(std::lround(mm.height() * 10.0))};
}

// The resolution Qt's printers have in high resolution, whatever the
// queue; a printer made with the print system out of reach asks nothing.
int HighResolution()
{
    static const int dpi = [] {
        const PrintSystemOutOfReach none;
        return QPrinter(QPrinter::HighResolution).resolution();
    }();
    return dpi;
}

// The queue with the paper and resolution it starts with, upright, as the
// print system describes it; false when it does not know the queue.
bool SettingsOf(const QString& device, PrinterSettings* out)
{
    QSizeF paper;
    if (!PrintSupportAvailable() || device.isEmpty() || !CupsQueueDefaultPaper(device, &paper))
        return false;

    PrinterSettings s;
    s.deviceName = device;
    s.dmFields = DM_ORIENTATION;
    s.dmOrientation = DMORIENT_PORTRAIT;

    const QPageSize page = paper.isEmpty() ? QPageSize()
                                           : QPageSize(paper, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    if (const int32_t code = PaperCodeForPageSize(page)) {
        s.dmFields |= DM_PAPERSIZE;
        s.dmPaperSize = int16_t(code);
    } else if (page.isValid()) {
        const PaperExtentTenths t = ToTenths(page);
        s.dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
        s.dmPaperLength = int16_t(t.length);
        s.dmPaperWidth = int16_t(t.width);
    }

    const int dpi = HighResolution();
    if (dpi > 0 && dpi <= INT16_MAX) {
        s.dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
        s.dmPrintQuality = int16_t(dpi);
        s.dmYResolution = int16_t(dpi);
    }
    *out = s;
    return true;
}

}  // namespace

bool QtPrinterCaps::DefaultSettings(PrinterSettings* out) const
{
    return PrintSupportAvailable() && SettingsOf(CupsDefaultQueue(), out);
}

bool QtPrinterCaps::NamedSettings(const QString& device, PrinterSettings* out) const
{
    return SettingsOf(device, out);
}

bool QtPrinterCaps::PaperCodes(const QString& device, const QString& port, std::vector<int16_t>* out) const
{
    std::vector<QSizeF> listed;
    QSizeF smallest, largest;
    if (!PrintSupportAvailable() || !CupsQueuePapers(device, &listed, &smallest, &largest))
        return false;
    out->clear();
    for (const QSizeF& paper : listed) {
        const int32_t code =
            PaperCodeForPageSize(QPageSize(paper, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch));
        if (code > 0 && code <= INT16_MAX)
            out->push_back(int16_t(code));
    }
    return true;
}

bool QtPrinterCaps::PaperExtents(const QString& device, const QString& port, PaperExtentTenths* min,
                                 PaperExtentTenths* max) const
{
    std::vector<QSizeF> listed;
    QSizeF smallest, largest;
    if (!PrintSupportAvailable() || !CupsQueuePapers(device, &listed, &smallest, &largest) || smallest.isEmpty() ||
        largest.isEmpty())
        return false;
    const auto tenths = [](const QSizeF& mm) {
        return PaperExtentTenths{int32_t(std::lround(mm.width() * 10.0)), int32_t(std::lround(mm.height() * 10.0))};
    };
    *min = tenths(smallest);
    *max = tenths(largest);
    return true;
}

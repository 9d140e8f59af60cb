#include "graphics/ghostscript.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "graphics/dib_format.h"

namespace {

QString GhostscriptProgram() { return QStandardPaths::findExecutable(QStringLiteral("gs")); }

QString Dpi(double dpi) { return QString::number(dpi, 'f', 4); }

// The page's rows, top first, into a bottom-up blue-green-red bitmap.
DibHandle DibFromPage(const QImage& page)
{
    const QImage rgb = page.convertToFormat(QImage::Format_RGB888);
    DibHandle h = DibHandleNew();
    if (!h || rgb.isNull() || DibHandleCreate(h, rgb.width(), rgb.height(), 24) != 0) {
        DibHandleFree(&h);
        return nullptr;
    }
    DibRecord* record = DibHandleBlockSlot(h);
    const int32_t width = rgb.width(), height = rgb.height();
    const uint64_t stride = uint64_t(DibHandleStride(h));
    for (int32_t y = 0; y < height; ++y) {
        const uchar* src = rgb.constScanLine(y);
        uint8_t* dst = record->bits + stride * uint64_t(height - 1 - y);
        for (int32_t x = 0; x < width; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    return h;
}

// The last page drawn, kept because a sheet of cards asks for the same
// picture once for every card: the placement on each is the same from the
// corner of its own page.
struct LastPage {
    ~LastPage() { DibHandleFree(&page); }
    bool Matches(const QByteArray& p, int32_t w, int32_t h, double x, double y) const
    {
        return page && w == width && h == height && x == dpiX && y == dpiY && p == program;
    }
    QByteArray program;
    int32_t width = 0;
    int32_t height = 0;
    double dpiX = 0;
    double dpiY = 0;
    DibHandle page = nullptr;
};

LastPage g_last;
// The picture's progress window keeps the windows painting while gs runs
// for it on another thread, and a painting may ask for a page too.
std::mutex g_lastLock;

DibHandle CopyOf(DibHandle page)
{
    DibHandle copy = DibHandleNew();
    if (copy && DibHandleCopy(copy, page) != 0)
        DibHandleFree(&copy);
    return copy;
}

}  // namespace

bool GhostscriptAvailable() { return !GhostscriptProgram().isEmpty(); }

DibHandle GhostscriptRender(const QByteArray& program, int32_t width, int32_t height, double dpiX, double dpiY,
                            int32_t timeLimitMs, const std::atomic<bool>* cancelled, GhostscriptOutcome* outcome)
{
    GhostscriptOutcome ignored = GhostscriptOutcome::kDrawn;
    GhostscriptOutcome& ended = outcome ? *outcome : ignored;
    ended = GhostscriptOutcome::kNotAsked;
    if (width <= 0 || height <= 0 || int64_t(width) * height > kGhostscriptMaxPixels || !(dpiX > 0) ||
        !(dpiY > 0) || !std::isfinite(dpiX) || !std::isfinite(dpiY))
        return nullptr;
    const QString gs = GhostscriptProgram();
    ended = GhostscriptOutcome::kMissing;
    if (gs.isEmpty())
        return nullptr;
    {
        std::lock_guard<std::mutex> lock(g_lastLock);
        if (g_last.Matches(program, width, height, dpiX, dpiY)) {
            ended = GhostscriptOutcome::kDrawn;
            return CopyOf(g_last.page);
        }
    }
    ended = GhostscriptOutcome::kFailed;
    QProcess process;
    // The page comes on standard output; what gs has to say goes to its
    // standard error, which nobody reads.
    process.setStandardErrorFile(QProcess::nullDevice());
    const QStringList arguments = {
        QStringLiteral("-q"),
        QStringLiteral("-dSAFER"),
        QStringLiteral("-dBATCH"),
        QStringLiteral("-dNOPAUSE"),
        QStringLiteral("-dNOPROMPT"),
        QStringLiteral("-sDEVICE=ppmraw"),
        QStringLiteral("-dTextAlphaBits=4"),
        QStringLiteral("-dGraphicsAlphaBits=4"),
        QStringLiteral("-r%1x%2").arg(Dpi(dpiX), Dpi(dpiY)),
        QStringLiteral("-g%1x%2").arg(width).arg(height),
        QStringLiteral("-dFIXEDMEDIA"),
        QStringLiteral("-sstdout=%stderr"),
        QStringLiteral("-sOutputFile=-"),
        QStringLiteral("-"),
    };
    QElapsedTimer clock;
    clock.start();
    process.start(gs, arguments);
    if (!process.waitForStarted(timeLimitMs))
        return nullptr;
    process.write(program);
    process.closeWriteChannel();
    // Waited for in short steps, so that a cancel stops gs at once.
    constexpr int64_t kStepMs = 50;
    for (;;) {
        const int64_t left = timeLimitMs - clock.elapsed();
        const bool stop = left <= 0 || (cancelled && cancelled->load());
        if (stop || process.state() == QProcess::NotRunning) {
            if (stop && process.state() != QProcess::NotRunning) {
                process.kill();
                process.waitForFinished(-1);
                ended = left <= 0 ? GhostscriptOutcome::kTimedOut : GhostscriptOutcome::kCancelled;
                return nullptr;
            }
            break;
        }
        if (process.waitForFinished(int(std::min(left, kStepMs))))
            break;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return nullptr;
    // Only the first page is the picture.
    QImage page;
    if (!page.loadFromData(process.readAllStandardOutput(), "PPM") || page.width() != width ||
        page.height() != height)
        return nullptr;
    DibHandle result = DibFromPage(page);
    if (result) {
        ended = GhostscriptOutcome::kDrawn;
        std::lock_guard<std::mutex> lock(g_lastLock);
        DibHandleFree(&g_last.page);
        g_last.page = CopyOf(result);
        g_last.program = program;
        g_last.width = width;
        g_last.height = height;
        g_last.dpiX = dpiX;
        g_last.dpiY = dpiY;
    }
    return result;
}

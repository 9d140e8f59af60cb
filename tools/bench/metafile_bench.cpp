// Times a metafile file played the ways the program plays it: rendered for
// the screen (300 pixels on its longer side), rendered at 600 dpi, and
// played onto a 600 dpi PDF page, as a card's picture prints. Each line
// gives the seconds one playing took and the peak of the process's memory
// after it.
//
//   metafile_bench FILE.emf|FILE.wmf [what: preview, image, pdf]

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPdfWriter>

#include "foundation/path_record.h"
#include "graphics/metafile.h"
#include "platform/dc.h"

namespace {

long PeakKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

void Report(const char* what, const QElapsedTimer& clock, MetafileOutcome outcome)
{
    std::printf("  %-36s %9.3f s %9ld kB peak%s\n", what, clock.nsecsElapsed() / 1e9, PeakKb(),
                outcome == MetafileOutcome::kDrawn ? "" : "  (stopped)");
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: metafile_bench FILE [preview|image|pdf]\n");
        return 2;
    }
    const std::string only = argc > 2 ? argv[2] : "";
    EnhMetafile mf = MetafileLoadByExtension(argv[1]);
    if (!mf) {
        std::fprintf(stderr, "%s is no metafile\n", argv[1]);
        return 1;
    }
    int32_t width = 0, height = 0;
    MetafileGetFrameSize(mf, &width, &height, 0);
    std::printf("%s: %d x %d points\n", argv[1], width / 10, height / 10);
    MetafileOutcome outcome = MetafileOutcome::kDrawn;
    if (only.empty() || only == "preview") {
        MetafileGetFrameSize(mf, &width, &height, 300);
        DibHandleOwner dib;
        QElapsedTimer clock;
        clock.start();
        MetafileToDib(mf, nullptr, width, height, dib.get(), &outcome);
        Report("for the screen (300 pixels)", clock, outcome);
    }
    MetafileGetFrameSize(mf, &width, &height, 0);
    // 1/720 inch to 600 dpi.
    const int32_t w600 = width * 600 / 720, h600 = height * 600 / 720;
    if (only.empty() || only == "image") {
        QImage image(w600, h600, QImage::Format_RGB32);
        image.fill(Qt::white);
        auto dc = Dc::ForImage(&image);
        QElapsedTimer clock;
        clock.start();
        PlayMetafile(dc.get(), mf, IntRect{0, 0, w600, h600}, &outcome);
        Report("on a 600 dpi image", clock, outcome);
    }
    if (only.empty() || only == "pdf") {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QElapsedTimer clock;
        clock.start();
        {
            QPdfWriter pdf(&out);
            pdf.setResolution(600);
            pdf.setPageSize(QPageSize(QPageSize::Letter));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            auto dc = Dc::ForDevice(&pdf, DT_RASPRINTER);
            dc->beginOutput();
            PlayMetafile(dc.get(), mf, IntRect{300, 300, 300 + w600, 300 + h600}, &outcome);
            dc->flush();
        }
        Report("on a 600 dpi PDF page", clock, outcome);
        std::printf("  %-36s %9lld bytes\n", "the PDF", static_cast<long long>(out.size()));
    }
    DeleteEnhMetaFile(mf);
    return 0;
}

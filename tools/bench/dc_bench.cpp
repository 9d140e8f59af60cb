// Times the device context's typical calls on an image the size of a view
// (1200 x 900 pixels), and the calls whose coordinates lie far outside it:
// those must cost about what their visible part costs. Then whole pages:
// the sample page of frames as the card view paints it, and a sheet of the
// sample business card filled from the sample contacts, on an image at the
// print preview's scale and on a PDF page at the printer's resolution.
//
//   dc_bench [minimum milliseconds a case runs, default 300] [text]
//
// With a text, only the cases whose names hold it run.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "carddoc/print_target_view.h"
#include "database/db_document.h"
#include "database/open_database_registry.h"
#include "foundation/byte_order.h"
#include "foundation/path_record.h"
#include "foundation/program_folder.h"
#include "platform/dc.h"
#include "platform/print_printer.h"
#include "tools/stand_ins/sample_page.h"
#include "tools/stand_ins/stand_in_hosts.h"

namespace {

constexpr int32_t kFar = 1 << 28;

double g_minimumSeconds = 0.3;
std::string g_only;

// Runs `call` until the minimum time has passed (at least once) and prints
// the time a call takes.
void Time(const char* what, const std::function<void()>& call)
{
    if (std::string(what).find(g_only) == std::string::npos)
        return;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    long calls = 0;
    double seconds = 0;
    do {
        call();
        ++calls;
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    } while (seconds < g_minimumSeconds);
    const double us = seconds * 1e6 / double(calls);
    std::printf("  %-44s %12.1f us  (%ld calls)\n", what, us, calls);
    std::fflush(stdout);
}

// A packed 24-bit bitmap, size x size pixels: header, then the rows.
std::vector<uint8_t> MakeDib(int size)
{
    const size_t stride = ((size_t(size) * 24 + 31) / 32) * 4;
    std::vector<uint8_t> dib(40 + stride * size_t(size), 0);
    PutU32LE(dib.data(), 40);
    PutI32LE(dib.data() + 4, size);
    PutI32LE(dib.data() + 8, size);
    PutU16LE(dib.data() + 12, 1);
    PutU16LE(dib.data() + 14, 24);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            uint8_t* p = dib.data() + 40 + size_t(y) * stride + size_t(x) * 3;
            p[0] = uint8_t(x * 2);
            p[1] = uint8_t(y * 2);
            p[2] = uint8_t(x + y);
        }
    }
    return dib;
}

// The sample business card and the sample contacts, opened from copies in
// a folder of their own, with the view a document without a window gets.
class SampleSheet {
public:
    SampleSheet()
    {
        SetProgramFolderForTesting(folder_.path().toStdString());
        const QString card = folder_.path() + "/card.lqx";
        const QString contacts = folder_.path() + "/contacts.dqx";
        if (!QFile::copy(TESSALINE_SOURCE_DATA_DIR "/Samples/Business Card.lqx", card) ||
            !QFile::copy(TESSALINE_SOURCE_DATA_DIR "/Samples/Contacts.dqx", contacts))
            return;
        QFile::setPermissions(card, QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(contacts, QFile::ReadOwner | QFile::WriteOwner);
        PathRecord cardPath{}, dbPath{};
        if (PathRecordFromPosix(card.toStdString(), &cardPath) != 0 ||
            PathRecordFromPosix(contacts.toStdString(), &dbPath) != 0 || !database_.Open(dbPath))
            return;
        SetCurrentDatabase(&database_);
        document_ = OpenCardDocument(cardPath);
        if (!document_)
            return;
        document_->InitialUpdate();
        view_ = std::make_unique<LentPrintView>(document_.get());
    }
    ~SampleSheet()
    {
        view_.reset();
        document_.reset();
        SetCurrentDatabase(nullptr);
        database_.Close();
        SetProgramFolderForTesting("");
    }
    bool ok() const { return document_ != nullptr; }

    // The first sheet, ten cards, as the print job draws a page.
    void Draw(Dc* dc, int32_t dpi)
    {
        dc->setMapMode(MM_TEXT);
        dc->setTextAlign(TA_BASELINE | TA_UPDATECP);
        dc->setBkColor(kWhite);
        FrameView* view = document_->View();
        view->PushDrawTarget(dc, 0);
        const int32_t firstCard[2] = {1, 1};
        document_->DrawSheet(dc, int16_t(dpi), int16_t(dpi), 1, 1, 0, firstCard, nullptr, 1, 10, 1, 0);
        view->PopDrawTarget();
    }

private:
    QTemporaryDir folder_;
    DbDocument database_;
    std::unique_ptr<CLabelsDoc> document_;
    std::unique_ptr<LentPrintView> view_;
};

void TimePages()
{
    std::printf("Pages\n");
    QTemporaryDir swap;
    for (const auto& [zoom, angle] : {std::pair{100, 0.0}, std::pair{200, 0.0}, std::pair{100, 30.0}}) {
        SamplePageDocument doc(swap.path().toStdString(), SamplePageSize(), zoom);
        if (!doc.ok())
            return;
        BuildSamplePage(doc, angle);
        const std::string name = "sample page, zoom " + std::to_string(zoom) + " %" +
                                 (angle != 0 ? ", turned " + std::to_string(int(angle)) : std::string());
        Time(name.c_str(), [&] { doc.Paint(); });
    }

    ScopedStandInCardDocumentHost host;
    SampleSheet sheet;
    if (!sheet.ok()) {
        std::printf("  (the sample card or contacts cannot be opened)\n");
        return;
    }
    QImage preview(816, 1056, QImage::Format_RGB32);
    Time("business card sheet on a 96 dpi image", [&] {
        preview.fill(Qt::white);
        auto dc = Dc::ForImage(&preview);
        sheet.Draw(dc.get(), 96);
    });
    qint64 bytes = 0;
    Time("business card sheet on a 600 dpi PDF page", [&] {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&out);
            pdf.setResolution(kPrintResolution);
            pdf.setPageSize(QPageSize(QPageSize::Letter));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            auto dc = Dc::ForDevice(&pdf, DT_RASPRINTER);
            dc->beginOutput();
            sheet.Draw(dc.get(), kPrintResolution);
            dc->flush();
        }
        bytes = out.size();
    });
    if (bytes > 0)
        std::printf("  %-44s %12lld bytes\n", "the PDF of that sheet", static_cast<long long>(bytes));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc > 1)
        g_minimumSeconds = std::max(1, std::atoi(argv[1])) / 1000.0;
    if (argc > 2)
        g_only = argv[2];

    QImage image(1200, 900, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto dc = Dc::ForImage(&image);
    const Pen thin{PS_SOLID, 0, MakeRgb(200, 0, 0)};
    const Pen wide{PS_SOLID, 5, MakeRgb(0, 0, 200)};
    const Pen dashed{PS_DASH, 0, MakeRgb(0, 120, 0)};
    dc->selectBrush(Brush::Solid(MakeRgb(240, 220, 100)));

    std::printf("Typical calls on a 1200 x 900 image\n");
    dc->selectPen(thin);
    Time("rectangle 300 x 200", [&] { dc->rectangle(100, 100, 400, 300); });
    dc->selectPen(wide);
    Time("rectangle 300 x 200, pen 5", [&] { dc->rectangle(100, 100, 400, 300); });
    dc->selectPen(thin);
    dc->setRop2(R2_NOTXORPEN);
    Time("NOT-XOR line 800 long", [&] {
        dc->moveTo(50, 60);
        dc->lineTo(850, 460);
    });
    dc->setRop2(R2_COPYPEN);
    const IntPoint star[] = {{600, 100}, {760, 580}, {340, 280}, {860, 280}, {440, 580}};
    Time("polygon, star of 5 points", [&] { dc->polygon(star, 5); });
    Time("ellipse 400 x 300", [&] { dc->ellipse(200, 200, 600, 500); });
    LogFont font;
    font.height = -16;
    dc->selectFont(font);
    dc->setBkMode(TRANSPARENT);
    Time("textOut, 20 characters", [&] { dc->textOut(100, 700, "Quarterly label run!"); });
    const std::vector<uint8_t> dib = MakeDib(100);
    Time("stretchDIBits 100 x 100 -> 300 x 300", [&] {
        dc->stretchDIBits(500, 500, 300, 300, 0, 0, 100, 100, dib.data() + 40, dib.data(), SRCCOPY);
    });

    std::printf("Coordinates far outside the image\n");
    Time("lineTo 2^28 long across the image", [&] {
        dc->moveTo(-kFar, 5);
        dc->lineTo(kFar, 5);
    });
    Time("lineTo 2^28 long, diagonal", [&] {
        dc->moveTo(-kFar, -kFar);
        dc->lineTo(kFar, kFar);
    });
    const IntPoint far[] = {{-kFar, 7}, {kFar, 9}, {kFar, 400}, {-kFar, 420}};
    Time("polyline 2^28 long", [&] { dc->polyline(far, 4); });
    dc->selectPen(dashed);
    dc->setBkMode(OPAQUE);
    Time("dashed lineTo 2^28 long", [&] {
        dc->moveTo(-kFar, 11);
        dc->lineTo(kFar, 11);
    });
    dc->selectPen(thin);
    dc->selectBrush(Brush::Hollow());
    Time("rectangle outline 2^28 wide", [&] { dc->rectangle(-kFar, 20, kFar, 880); });
    dc->selectPen(wide);
    Time("rectangle outline 2^28 wide, pen 5", [&] { dc->rectangle(-kFar, 20, kFar, 880); });
    dc->selectPen(thin);
    dc->selectBrush(Brush::Solid(MakeRgb(240, 220, 100)));
    Time("filled rectangle 2^28 around the image", [&] { dc->rectangle(-kFar, -kFar, kFar, kFar); });
    Time("ellipse 2^28 across, edge through the image", [&] { dc->ellipse(-kFar, 450, kFar, 2 * kFar); });
    dc->selectPen(wide);
    Time("ellipse 2^28 across, pen 5", [&] { dc->ellipse(-kFar, 450, kFar, 2 * kFar); });
    dc->selectPen(dashed);
    dc->selectBrush(Brush::Hollow());
    Time("dashed ellipse 2^28 across", [&] { dc->ellipse(-kFar, 450, kFar, 2 * kFar); });
    dc->selectPen(thin);
    dc->selectBrush(Brush::Solid(MakeRgb(240, 220, 100)));
    const IntPoint farTri[] = {{-kFar, -kFar}, {kFar, 300}, {-kFar, kFar}};
    Time("polygon 2^28 across", [&] { dc->polygon(farTri, 3); });
    const IntPoint farBezier[] = {{-kFar, 100}, {0, -kFar}, {0, kFar}, {kFar, 100}};
    Time("polyBezier 2^28 across", [&] { dc->polyBezier(farBezier, 4); });
    dc->setBkMode(TRANSPARENT);
    Time("textOut 2^28 left of the image", [&] { dc->textOut(-kFar, 700, "Quarterly label run!"); });
    LogFont giant;
    giant.height = -(1 << 24);
    dc->selectFont(giant);
    Time("textOut, 20 characters 2^24 pixels high",
         [&] { dc->textOut(-(1 << 22), -(1 << 23), "Quarterly label run!"); });
    dc->selectFont(font);
    Time("stretchDIBits into 2^28 x 2^28", [&] {
        dc->stretchDIBits(-kFar, -kFar, 2 * kFar, 2 * kFar, 0, 0, 100, 100, dib.data() + 40, dib.data(), SRCCOPY);
    });

    std::printf("Regions of huge shapes\n");
    const IntPoint hugeTri[] = {{-(1 << 30), -(1 << 30)}, {1 << 30, 0}, {-(1 << 30), 1 << 30}};
    Time("Region::FromPolygon, 2^30 coordinates", [&] { Region::FromPolygon(hugeTri, 3, WINDING); });
    Time("Region::FromEllipse 2^28 across", [&] { Region::FromEllipse(IntRect{-kFar, -kFar, kFar, kFar}); });
    TimePages();
    return 0;
}

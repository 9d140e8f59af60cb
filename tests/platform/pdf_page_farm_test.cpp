// A PDF file painted by several threads: the pages come out in the job's
// order whichever thread painted them, their turned text reading whole, a
// file that cannot be made is refused at once, a job given up writes
// nothing, a picture or a pattern printed on every page is stored once, and
// a label's clip is written only where it may cut what it holds; pages
// share their resources, write no empty annotations and say their content's
// length in place; pages whose content threads beside the painter make come
// out byte for byte as the painter alone makes them.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <regex>
#include <set>
#include <string_view>
#include <vector>

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <sys/resource.h>
#include <zlib.h>

#include "support/needed_tools.h"
#include "foundation/byte_order.h"
#include "platform/dc.h"
#include "platform/font_mapper.h"
#include "pdf/pdf_page_farm.h"
#include "pdf/pdf_print_job.h"
#include "pdf/zlib_inflate.h"
#include "support/file_size_limit.h"
#include "support/shell.h"

namespace {

PdfPageFarm::Settings Letter(const std::string& path, int workers, int pagesPerPart = 0)
{
    PdfPageFarm::Settings s;
    s.path = QString::fromStdString(path);
    s.layout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
    s.resolution = 300;
    s.title = QStringLiteral("Farm");
    s.workers = workers;
    s.pagesPerPart = pagesPerPart;
    return s;
}

// A printer that writes the PDF file `path`.
std::unique_ptr<QPrinter> PdfPrinter(const std::string& path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(path));
    return printer;
}

// Each compressed stream of `pdf` inflated; `packed` their size as stored.
std::vector<QByteArray> FarmStreams(const std::string& pdf, qsizetype* packed)
{
    std::vector<QByteArray> streams;
    *packed = 0;
    for (size_t at = pdf.find(">>\nstream\n"); at != std::string::npos; at = pdf.find(">>\nstream\n", at + 1)) {
        QByteArray content;
        size_t used = 0;
        if (ZlibInflate(pdf.data() + at + 10, pdf.size() - at - 10, &content, &used)) {
            *packed += qsizetype(used);
            streams.push_back(content);
        }
    }
    return streams;
}

qsizetype FarmDefaultLevelSize(const QByteArray& content)
{
    uLongf size = compressBound(uLong(content.size()));
    std::vector<Bytef> out(size);
    compress2(out.data(), &size, reinterpret_cast<const Bytef*>(content.constData()), uLong(content.size()),
              Z_DEFAULT_COMPRESSION);
    return qsizetype(size);
}

// A run of text in black, 60 pixels high, from (x, y) on its baseline.
PageOp Words(const std::string& text, double x, double y)
{
    LogFont font;
    font.height = -60;
    const std::shared_ptr<const FontFace> face = MapLogFont(font, 1, 1, 300);
    PageOp words;
    words.kind = PageOp::kGlyphs;
    PageOpDetail& run = words.more();
    run.face = face;
    run.colour = Qt::black;
    run.transform = QTransform::fromTranslate(x, y);
    run.chars = text;
    double along = 0;
    for (char c : text) {
        run.glyphs.append(face->glyph[uint8_t(c)]);
        run.positions.append(QPointF(along, 0));
        along += face->advance[uint8_t(c)];
    }
    return words;
}

// A page that says "Page n" (turned by 40 degrees on odd pages, where a
// reader sees the run whole only as the span around it says), and a bar as
// wide as n.
PageOps PageSaying(int n)
{
    PageOp words = Words("Page " + std::to_string(n), 300, 300);
    if (n % 2 == 1)
        words.more().transform.rotate(-40);
    PageOp bar;
    bar.kind = PageOp::kFill;
    bar.path.addRect(QRectF(300, 400, 10 * n, 20));
    bar.fillColour = QColor(Qt::blue);
    bar.clipped = true;
    bar.clip = QRegion(0, 0, 2000, 2000);
    PageOps page;
    page.push_back(words);
    page.push_back(bar);
    return page;
}

TEST(PdfPageFarm, PagesComeOutInTheJobsOrderWhicheverThreadPaintsThem)
{
    TempDir dir;
    if (Shell(dir, "command -v pdftotext >/dev/null && command -v pdfinfo >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "poppler-utils are not installed";
    // One part, written as it is; parts of four pages on one thread and on
    // three, and a part for each of three threads, joined.
    for (auto [workers, pagesPerPart] : {std::pair{1, 0}, std::pair{1, 4}, std::pair{3, 4}, std::pair{3, 0}}) {
        SCOPED_TRACE("workers " + std::to_string(workers) + ", parts of " + std::to_string(pagesPerPart));
        const std::string name = "farm" + std::to_string(workers) + "-" + std::to_string(pagesPerPart) + ".pdf";
        const std::string out = dir.file(name);
        PdfPageFarm farm(Letter(out, workers, pagesPerPart));
        ASSERT_TRUE(farm.begin());
        constexpr int kPages = 23;
        for (int n = 1; n <= kPages; ++n)
            ASSERT_TRUE(farm.addPage(PageSaying(n)));
        EXPECT_EQ(farm.pagesAdded(), kPages);
        ASSERT_TRUE(farm.finish());
        EXPECT_EQ(Shell(dir, "pdfinfo " + name + " | grep -q '^Pages: *23$'"), 0);
        EXPECT_EQ(Shell(dir, "pdfinfo " + name + " | grep -q '^Title: *Farm$'"), 0);
        EXPECT_EQ(Shell(dir, "pdfinfo " + name + " | grep -q '^PDF version: *1.5$'"), 0);
        // Every stream (pages kept as painted, pages made anew around their
        // spans, fonts; joined parts' as painted) together about as small as
        // zlib's default level makes them (within 2%): pages are compressed
        // at libdeflate's fastest level, drawn so that it finds nearly all
        // a slower one would.
        qsizetype packed = 0, usual = 0;
        int streams = 0;
        for (const QByteArray& content : FarmStreams(ReadFileBytes(out), &packed)) {
            usual += FarmDefaultLevelSize(content);
            ++streams;
        }
        EXPECT_GE(streams, kPages);
        EXPECT_LE(packed, usual + usual / 50);
        for (int n : {1, 2, 7, 12, 22, 23}) {
            const std::string page = std::to_string(n);
            EXPECT_EQ(Shell(dir, "test \"$(pdftotext -f " + page + " -l " + page + " " + name +
                                     " - | tr -d '\\f\\n')\" = 'Page " + page + "'"),
                      0)
                << "page " << n;
        }
    }
}

TEST(PdfPageFarm, AFileThatCannotBeMadeIsRefusedAndAJobGivenUpWritesNothing)
{
    TempDir dir;
    PdfPageFarm refused(Letter(dir.file("no folder/x.pdf"), 2));
    EXPECT_FALSE(refused.begin());
    EXPECT_FALSE(refused.addPage(PageSaying(1)));

    const std::string out = dir.file("given-up.pdf");
    {
        PdfPageFarm farm(Letter(out, 2, 2));
        ASSERT_TRUE(farm.begin());
        for (int n = 1; n <= 5; ++n)
            ASSERT_TRUE(farm.addPage(PageSaying(n)));
    }
    EXPECT_EQ(QFile(QString::fromStdString(out)).size(), 0);

    // The print job's context writes the file only when its output ends.
    const std::unique_ptr<QPrinter> printer = PdfPrinter(dir.file("job.pdf"));
    {
        auto dc = PdfPrintJobDc(printer.get());
        ASSERT_TRUE(dc->beginOutput());
        dc->rectangle(10, 10, 100, 100);
        EXPECT_TRUE(dc->newPage());
    }
    EXPECT_EQ(QFile(printer->outputFileName()).size(), 0);
    {
        auto dc = PdfPrintJobDc(printer.get());
        ASSERT_TRUE(dc->beginOutput());
        dc->rectangle(10, 10, 100, 100);
        EXPECT_TRUE(dc->newPage());
        EXPECT_TRUE(dc->flush());
    }
    EXPECT_TRUE(ReadFileBytes(printer->outputFileName().toStdString()).starts_with("%PDF"));
}

// A packed 24-bit bitmap of 16 x 8 pixels in one colour: its header, then
// its rows.
std::vector<uint8_t> PlainDib(uint8_t blue, uint8_t green, uint8_t red)
{
    std::vector<uint8_t> dib(40 + 16 * 3 * 8);
    PutU32LE(dib.data(), 40);
    PutI32LE(dib.data() + 4, 16);
    PutI32LE(dib.data() + 8, 8);
    PutU16LE(dib.data() + 12, 1);
    PutU16LE(dib.data() + 14, 24);
    for (size_t i = 40; i < dib.size(); i += 3) {
        dib[i] = blue;
        dib[i + 1] = green;
        dib[i + 2] = red;
    }
    return dib;
}

TEST(PdfPageFarm, APicturePrintedOnEveryPageIsStoredOnceAndAnotherBesideIt)
{
    TempDir dir;
    const std::unique_ptr<QPrinter> printer = PdfPrinter(dir.file("pictures.pdf"));
    {
        auto dc = PdfPrintJobDc(printer.get());
        ASSERT_TRUE(dc->beginOutput());
        for (int page = 0; page < 3; ++page) {
            // A new copy of the same picture for every card, as a merge
            // print makes them, and a second picture on the last page.
            const std::vector<uint8_t> logo = PlainDib(200, 40, 10);
            for (int card = 0; card < 4; ++card)
                EXPECT_NE(dc->stretchDIBits(100 + 400 * card, 100, 320, 160, 0, 0, 16, 8, logo.data() + 40,
                                            logo.data(), SRCCOPY),
                          0);
            if (page == 2) {
                const std::vector<uint8_t> other = PlainDib(10, 200, 40);
                dc->stretchDIBits(100, 600, 320, 160, 0, 0, 16, 8, other.data() + 40, other.data(), SRCCOPY);
            }
            EXPECT_TRUE(dc->newPage());
        }
        EXPECT_TRUE(dc->flush());
    }
    const std::string pdf = ReadFileBytes(printer->outputFileName().toStdString());
    size_t images = 0;
    for (size_t at = pdf.find("/Subtype /Image"); at != std::string::npos; at = pdf.find("/Subtype /Image", at + 1))
        ++images;
    EXPECT_EQ(images, 2u);
    if (Shell(dir, "command -v pdftoppm >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "poppler-utils are not installed";
    // Each picture in its own colour: four of the one, one of the other.
    ASSERT_EQ(Shell(dir, "pdftoppm -r 100 -f 3 -l 3 -png pictures.pdf page"), 0);
    const QImage page(QString::fromStdString(dir.file("page-3.png")));
    ASSERT_FALSE(page.isNull());
    // The renderer may round a channel by one.
    auto near = [](QRgb c, int r, int g, int b) {
        return std::abs(qRed(c) - r) <= 2 && std::abs(qGreen(c) - g) <= 2 && std::abs(qBlue(c) - b) <= 2;
    };
    int first = 0, second = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            first += near(page.pixel(x, y), 10, 40, 200);
            second += near(page.pixel(x, y), 40, 200, 10);
        }
    EXPECT_GT(second, 100);
    EXPECT_NEAR(double(first) / second, 4.0, 0.5);
}

TEST(PdfPageFarm, APatternFilledOnEveryCardIsStoredOnce)
{
    TempDir dir;
    const std::unique_ptr<QPrinter> printer = PdfPrinter(dir.file("patterns.pdf"));
    {
        auto dc = PdfPrintJobDc(printer.get());
        ASSERT_TRUE(dc->beginOutput());
        for (int page = 0; page < 3; ++page) {
            // A new brush of the same tile for every card, as every card
            // makes it again.
            for (int card = 0; card < 4; ++card) {
                QImage tile(16, 16, QImage::Format_RGB32);
                tile.fill(QColor(250, 250, 0));
                tile.setPixelColor(3, 3, QColor(0, 0, 250));
                dc->selectBrush(Brush{BS_PATTERN, kBlack, 0, nullptr, std::make_shared<const QImage>(tile)});
                dc->rectangle(100 + 400 * card, 100, 400 + 400 * card, 300);
            }
            EXPECT_TRUE(dc->newPage());
        }
        EXPECT_TRUE(dc->flush());
    }
    const std::string pdf = ReadFileBytes(printer->outputFileName().toStdString());
    size_t tiles = 0;
    for (size_t at = pdf.find("/Subtype /Image"); at != std::string::npos; at = pdf.find("/Subtype /Image", at + 1))
        tiles += pdf.compare(pdf.find("/Height", at), 11, "/Height 16\n") == 0;
    EXPECT_EQ(tiles, 1u);
}

}  // namespace

TEST(PdfPageFarm, ALabelsClipIsWrittenOnlyWhereItMayCutWhatItHolds)
{
    TempDir dir;
    const std::string out = dir.file("cells.pdf");
    PdfPageFarm farm(Letter(out, 1));
    ASSERT_TRUE(farm.begin());
    // Three cells told apart by their widths: text well inside the first;
    // text running out of the second; text and a bar inside the third,
    // whose clip the bar keeps for both.
    auto inCell = [](PageOp op, int top, int width) {
        op.clipped = true;
        op.clip = QRegion(100, top, width, 300);
        return op;
    };
    PageOp bar;
    bar.kind = PageOp::kFill;
    bar.box = QRectF(200, 1100, 100, 20);
    bar.fillColour = QColor(Qt::blue);
    ASSERT_TRUE(farm.addPage({inCell(Words("Inside", 200, 250), 100, 1001),
                              inCell(Words("Outside", 1050, 650), 500, 1002),
                              inCell(Words("Beside", 200, 1050), 900, 1003), inCell(bar, 900, 1003)}));
    ASSERT_TRUE(farm.finish());
    qsizetype packed = 0;
    QByteArray content;
    for (const QByteArray& stream : FarmStreams(ReadFileBytes(out), &packed))
        if (stream.contains(" Tf"))
            content += stream;
    EXPECT_FALSE(content.contains("1001 300 re")) << content.constData();
    EXPECT_TRUE(content.contains("1002 300 re\nW n")) << content.constData();
    EXPECT_TRUE(content.contains("1003 300 re\nW n")) << content.constData();
    if (Shell(dir, "command -v pdftotext >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "poppler-utils are not installed";
    EXPECT_EQ(Shell(dir, "pdftotext cells.pdf - | tr -s '\\n\\f' ' ' | grep -q 'Inside Outside Beside'"), 0);
}

TEST(PdfPageFarm, PagesShareOneResourcesObjectAndWriteNoEmptyAnnotations)
{
    TempDir dir;
    if (Shell(dir, "command -v qpdf >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "qpdf is not installed";
    // One part as painted; three threads' parts of four pages joined.
    for (auto [workers, pagesPerPart] : {std::pair{1, 0}, std::pair{3, 4}}) {
        SCOPED_TRACE("workers " + std::to_string(workers));
        const std::string name = "shared" + std::to_string(workers) + ".pdf";
        PdfPageFarm farm(Letter(dir.file(name), workers, pagesPerPart));
        ASSERT_TRUE(farm.begin());
        constexpr int kPages = 12;
        for (int n = 1; n <= kPages; ++n)
            ASSERT_TRUE(farm.addPage(PageSaying(n)));
        ASSERT_TRUE(farm.finish());
        // Clean, warnings included, and what it holds readable as text.
        EXPECT_EQ(Shell(dir, "qpdf --check " + name + " > check.txt 2>&1 && ! grep -qi warning check.txt"), 0)
            << ReadFileBytes(dir.file("check.txt"));
        ASSERT_EQ(Shell(dir, "qpdf --qdf --object-streams=disable " + name + " plain.pdf"), 0);
        const std::string plain = ReadFileBytes(dir.file("plain.pdf"));
        std::set<std::string> resources;
        const std::regex named("/Resources ([0-9]+) 0 R");
        for (auto it = std::sregex_iterator(plain.begin(), plain.end(), named); it != std::sregex_iterator(); ++it)
            resources.insert((*it)[1]);
        // One for each part: three, and a part more for each thread that
        // stopped short of four pages.
        EXPECT_LE(resources.size(), workers == 1 ? 1u : 6u);
        EXPECT_EQ(plain.find("/Annots"), std::string::npos);
        // Each page's content says its length itself (the fonts' streams,
        // as the engine wrote them, name theirs).
        const std::string raw = ReadFileBytes(dir.file(name));
        const std::regex lengthObject("/Length [0-9]+ 0 R\n/Filter /FlateDecode\n>>\nstream");
        EXPECT_LT(std::distance(std::sregex_iterator(raw.begin(), raw.end(), lengthObject), std::sregex_iterator()),
                  kPages / 2);
        EXPECT_EQ(Shell(dir, "pdftotext -f 12 -l 12 " + name + " - | grep -q 'Page 12'"), 0);
        // Painted as one part, the pages' dictionaries are in compressed
        // object streams and the table is a stream (a file of PDF 1.5),
        // read back whole.
        if (workers == 1) {
            EXPECT_EQ(raw.rfind("%PDF-1.5\n", 0), 0u);
            EXPECT_EQ(raw.find("/Type /Page\n"), std::string::npos);
            EXPECT_EQ(raw.find("\nxref\n"), std::string::npos);
            EXPECT_EQ(Shell(dir, "test $(qpdf --show-xref " + name + " | grep -c ': compressed;') -ge " +
                                     std::to_string(kPages)),
                      0);
            EXPECT_EQ(Shell(dir, "test $(qpdf --show-npages " + name + ") = " + std::to_string(kPages)), 0);
        }
    }
}

namespace {

// The file at `path`, the time it was made left out (of its length, always).
std::string UndatedFile(const std::string& path)
{
    std::string pdf = ReadFileBytes(path);
    constexpr std::string_view kDate = "/CreationDate (D:";
    if (const size_t at = pdf.find(kDate); at != std::string::npos)
        pdf.replace(at + kDate.size(), 14, 14, '0');
    return pdf;
}

// A job of `pages` pages painted with `makers` threads making their
// content beside the painter; a picture of its own on every tenth page,
// which the engine writes between pages as it is drawn.
bool PrintWithMakers(const std::string& path, int makers, int pages)
{
    PdfPageFarm::Settings settings = Letter(path, 1);
    settings.contentMakers = makers;
    PdfPageFarm farm(settings);
    if (!farm.begin())
        return false;
    for (int n = 1; n <= pages; ++n) {
        PageOps page = PageSaying(n);
        if (n % 10 == 0) {
            QImage picture(16, 8, QImage::Format_RGB32);
            picture.fill(QColor(n % 256, 40, 200));
            PageOp drawn;
            drawn.kind = PageOp::kImage;
            drawn.more().image = picture;
            drawn.more().transform = QTransform::fromTranslate(600, 600).scale(20, 20);
            page.push_back(drawn);
        }
        if (!farm.addPage(std::move(page)))
            break;
    }
    return farm.finish();
}

}  // namespace

TEST(PdfPageFarm, PagesMadeBesideThePainterComeOutByteForByteAsThePainterMakesThem)
{
    TempDir dir;
    // Long enough to fill object streams before the one written at the end.
    constexpr int kPages = 600;
    ASSERT_TRUE(PrintWithMakers(dir.file("alone.pdf"), 0, kPages));
    const std::string alone = UndatedFile(dir.file("alone.pdf"));
    int streams = 0;
    for (size_t at = alone.find("/Type /ObjStm"); at != std::string::npos; at = alone.find("/Type /ObjStm", at + 1))
        ++streams;
    ASSERT_GE(streams, 3);
    for (int makers : {1, 3}) {
        const std::string name = "makers" + std::to_string(makers) + ".pdf";
        ASSERT_TRUE(PrintWithMakers(dir.file(name), makers, kPages)) << makers;
        EXPECT_TRUE(UndatedFile(dir.file(name)) == alone) << makers << " makers";
    }
    // A write that fails midway fails the job, which still returns.
    FileSizeLimit limit(alone.size() / 3);
    EXPECT_FALSE(PrintWithMakers(dir.file("full.pdf"), 3, kPages));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("full.pdf"))));
}

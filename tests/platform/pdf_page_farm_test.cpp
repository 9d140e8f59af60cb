// A PDF file painted by several threads: the pages come out in the job's
// order whichever thread painted them, a file that cannot be made is
// refused at once, and a job given up writes nothing.
#include <gtest/gtest.h>

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include "platform/dc.h"
#include "platform/font_mapper.h"
#include "platform/pdf_page_farm.h"
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

// A page that says "Page n", and a bar as wide as n.
PageOps PageSaying(int n)
{
    LogFont font;
    font.height = -60;
    const std::shared_ptr<const FontFace> face = MapLogFont(font, 1, 1, 300);
    const std::string text = "Page " + std::to_string(n);
    PageOp words;
    words.kind = PageOp::kGlyphs;
    PageOpDetail& run = words.more();
    run.face = face;
    run.colour = Qt::black;
    run.transform = QTransform::fromTranslate(300, 300);
    double x = 0;
    for (char c : text) {
        run.glyphs.append(face->glyph[uint8_t(c)]);
        run.positions.append(QPointF(x, 0));
        x += face->advance[uint8_t(c)];
    }
    PageOp bar;
    bar.kind = PageOp::kFill;
    bar.path.addRect(QRectF(300, 400, 10 * n, 20));
    bar.brush = QBrush(Qt::blue);
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
        GTEST_SKIP() << "poppler-utils are not installed";
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
        EXPECT_EQ(Shell(dir, "pdfinfo " + name + " | grep -q '^PDF version: *1.4$'"), 0);
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
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("job.pdf")));
    {
        auto dc = Dc::ForPrintJob(&printer);
        ASSERT_TRUE(dc->beginOutput());
        dc->rectangle(10, 10, 100, 100);
        EXPECT_TRUE(dc->newPage());
    }
    EXPECT_EQ(QFile(printer.outputFileName()).size(), 0);
    {
        auto dc = Dc::ForPrintJob(&printer);
        ASSERT_TRUE(dc->beginOutput());
        dc->rectangle(10, 10, 100, 100);
        EXPECT_TRUE(dc->newPage());
        EXPECT_TRUE(dc->flush());
    }
    EXPECT_TRUE(ReadFileBytes(printer.outputFileName().toStdString()).starts_with("%PDF"));
}

}  // namespace

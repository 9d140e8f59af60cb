// A print job written as PostScript, drawn back by Ghostscript: shapes
// under the context's clip, PostScript sent through the pass-through escape
// that sets a clip of its own between a gsave and a grestore, a picture
// with transparent pixels, and text, each where it was drawn.
#include <cstring>

#include <gtest/gtest.h>

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QProcess>

#include "foundation/cp1252.h"
#include "support/needed_tools.h"
#include "support/postscript_as_run.h"
#include "platform/dc.h"
#include "postscript/postscript_job.h"
#include "postscript/ps_words.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

// 72 device pixels an inch on a 200 x 100 point sheet, all printable.
PostScriptJobSettings SmallSheet(const std::string& path, QSizeF points = QSizeF(200, 100))
{
    PostScriptJobSettings s;
    s.layout = QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait, QMarginsF());
    s.resolution = 72;
    s.title = QStringLiteral("Job (one)");
    s.creator = QStringLiteral("test");
    s.path = QString::fromStdString(path);
    return s;
}

QImage Render(const std::string& ps, const std::string& png)
{
    QProcess gs;
    gs.start("gs", {"-dSAFER", "-dBATCH", "-dNOPAUSE", "-q", "-sDEVICE=png16m", "-r72",
                    QString::fromStdString("-sOutputFile=" + png), QString::fromStdString(ps)});
    if (!gs.waitForStarted() || !gs.waitForFinished(60000) || gs.exitCode() != 0)
        return {};
    return QImage(QString::fromStdString(png));
}

uint32_t At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }

TEST(PostScriptJob, WhatIsDrawnAndWhatIsSentLandWhereTheyWereDrawn)
{
    if (QProcess::execute("sh", {"-c", "command -v gs >/dev/null"}) != 0)
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is needed";
    TempDir dir;
    const std::string ps = dir.file("job.ps");
    std::unique_ptr<Dc> dc = PostScriptJobDc(SmallSheet(ps));
    ASSERT_TRUE(dc->beginOutput());
    ASSERT_TRUE(dc->supportsPostScriptPassThrough());

    // A red rectangle cut by the clip to its left half.
    const Region left = Region::FromRect(IntRect{0, 0, 50, 100});
    dc->selectClipRgn(&left);
    dc->fillRect(IntRect{10, 10, 90, 40}, Brush::Solid(0x0000FF));
    // The sender's own clip, to the right half, and a blue square in it
    // that reaches across.
    const std::string open = " gsave  newpath 100 0 moveto 200 0 lineto 200 100 lineto 100 100 lineto closepath clip \n";
    ASSERT_TRUE(dc->passThrough(open.data(), open.size()));
    const std::string square = " 0 0 1 setrgbcolor 80 50 40 40 rectfill \n";
    ASSERT_TRUE(dc->passThrough(square.data(), square.size()));
    // Drawn between, without a clip of the context's: green across the
    // sheet, which the sender's clip keeps to the right half.
    dc->selectClipRgn(nullptr);
    dc->fillRect(IntRect{0, 60, 200, 70}, Brush::Solid(0x00FF00));
    const std::string close = " grestore \n";
    ASSERT_TRUE(dc->passThrough(close.data(), close.size()));
    // After the sender's grestore its clip is gone: a black bar across the
    // whole sheet.
    dc->fillRect(IntRect{0, 90, 200, 95}, Brush::Solid(0x000000));
    // A picture whose white pixels are transparent (its mask), over the
    // black bar: magenta where the mask is black.
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 255));
    QImage mask(20, 10, QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            mask.setPixel(x, y, qRgb(0, 0, 0));
    dc->stretchImage(IntRect{150, 88, 170, 98}, mask, QRect(), MERGEPAINT);
    dc->stretchImage(IntRect{150, 88, 170, 98}, picture, QRect(), SRCAND);
    // Text, in a face of its own outlines.
    LogFont font;
    font.height = -30;
    dc->selectFont(font);
    dc->setBkMode(TRANSPARENT);
    dc->setTextAlign(TA_LEFT | TA_TOP);
    dc->textOut(110, 5, "Hg");
    ASSERT_TRUE(dc->flush());

    const std::string job = ReadFileBytes(ps);
    EXPECT_EQ(job.rfind("%!PS-Adobe-3.0\n", 0), 0u);
    EXPECT_NE(job.find("%%Title: (Job \\(one\\))\n"), std::string::npos);
    EXPECT_NE(PostScriptAsRun(job).find(square), std::string::npos);
    const QImage page = Render(ps, dir.file("job.png"));
    ASSERT_EQ(page.size(), QSize(200, 100));
    EXPECT_EQ(At(page, 30, 25), 0xFF0000u);   // red, left of the clip's edge
    EXPECT_EQ(At(page, 70, 25), 0xFFFFFFu);   // cut off
    EXPECT_EQ(At(page, 110, 55), 0x0000FFu);  // the sent square, inside its clip
    EXPECT_EQ(At(page, 90, 55), 0xFFFFFFu);   // the sent square, outside it
    EXPECT_EQ(At(page, 150, 65), 0x00FF00u);  // green, on the right half only
    EXPECT_EQ(At(page, 30, 65), 0xFFFFFFu);
    EXPECT_EQ(At(page, 40, 92), 0x000000u);   // the bar on both halves
    EXPECT_EQ(At(page, 140, 92), 0x000000u);
    EXPECT_EQ(At(page, 155, 92), 0xFF00FFu);  // the picture where its mask is black
    EXPECT_EQ(At(page, 165, 92), 0x000000u);  // and the bar through its white part
    int ink = 0;
    for (int y = 5; y < 40; ++y)
        for (int x = 110; x < 160; ++x)
            ink += qGray(page.pixel(x, y)) < 128;
    EXPECT_GT(ink, 100);
}

// A photograph goes as JPEG data, a picture that keeps its pixels as
// compressed pixels, and the page's drawing compressed; a picture drawn on
// every page is defined once in the job's setup and each use shows its own
// pixels. Ghostscript draws every page as it was drawn.
TEST(PostScriptJob, PicturesAndPagesGoCompressedAndAPictureOnEveryPageOnce)
{
    if (!HaveTool("gs"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is needed";
    TempDir dir;
    const std::string ps = dir.file("pictures.ps");
    // Alike in size, unlike in pixels: a smooth photograph and four blocks.
    QImage photo(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            photo.setPixel(x, y, qRgb(200 - x / 2, 40 + y, 90 + (x + y) / 4));
    QImage blocks(160, 120, QImage::Format_RGB32);
    blocks.fill(qRgb(0, 128, 0));
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            blocks.setPixel(x, y, qRgb(0, 0, 255));
    PostScriptJobSettings settings = SmallSheet(ps, QSizeF(400, 200));
    std::unique_ptr<Dc> dc = PostScriptJobDc(settings);
    ASSERT_TRUE(dc->beginOutput());
    for (int page = 0; page < 3; ++page) {
        if (page > 0) {
            ASSERT_TRUE(dc->newPage());
        }
        dc->setPicturesLossless(false);
        ASSERT_TRUE(dc->stretchImage(IntRect{20, 20, 180, 140}, photo, QRect(), SRCCOPY));
        dc->setPicturesLossless(true);
        ASSERT_TRUE(dc->stretchImage(IntRect{220, 20, 380, 140}, blocks, QRect(), SRCCOPY));
        // The same label at two places, each under its own clip.
        for (const int left : {20, 220}) {
            // Its corner a little to the right: hatching made from there
            // would be out of step with the sheet's.
            const Region label = Region::FromRect(IntRect{left + 2, 150, left + 160, 195});
            dc->selectClipRgn(&label);
            dc->fillRect(IntRect{left + 10, 160, left + 60, 185}, Brush::Solid(0x0000FF));
            // Hatching whose lines keep their place on the sheet, wherever
            // what they fill is drawn from.
            dc->fillRect(IntRect{left + 65, 152, left + 105, 193}, Brush::Hatched(HS_VERTICAL, 0x000000));
            // A line of the thinnest pen, on its row of dots.
            dc->selectPen(Pen{PS_SOLID, 0, 0x000000});
            const IntPoint line[2] = {{left + 140, 152}, {left + 140, 192}};
            ASSERT_TRUE(dc->polyline(line, 2));
            // A square turned about its middle, where it was.
            ASSERT_TRUE(dc->beginTurn(90, QPointF(left + 120, 172), QPointF(left + 120, 172)));
            dc->fillRect(IntRect{left + 110, 162, left + 130, 182}, Brush::Solid(0x00FF00));
            dc->endTurn();
        }
        dc->selectClipRgn(nullptr);
        // The same hatching in blue, a pattern of its own made where
        // nothing is clipped.
        dc->fillRect(IntRect{85, 2, 125, 15}, Brush::Hatched(HS_VERTICAL, 0xFF0000));
    }
    // A last page of pictures of noise, more than a megabyte of data, which
    // the job writes out as it goes.
    ASSERT_TRUE(dc->newPage());
    uint32_t seed = 7;
    for (int n = 0; n < 12; ++n) {
        QImage noise(200, 150, QImage::Format_RGB32);
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x)
                noise.setPixel(x, y, (seed = seed * 1664525u + 1013904223u) >> 8);
        ASSERT_TRUE(dc->stretchImage(IntRect{0, 0, 200, 150}, noise, QRect(), SRCCOPY));
    }
    ASSERT_TRUE(dc->flush());

    const std::string job = ReadFileBytes(ps);
    // The sorting lines stay readable; the drawing is in pieces that decode.
    size_t pages = 0;
    for (size_t at = job.find("\n%%Page: "); at != std::string::npos; at = job.find("\n%%Page: ", at + 1))
        ++pages;
    EXPECT_EQ(pages, 4u);
    const std::string run = PostScriptAsRun(job);
    ASSERT_FALSE(run.empty());
    EXPECT_EQ(job.find(" rf\n"), std::string::npos) << "drawing left uncompressed";
    // Each label drawn from its clip's corner: written alike at both places.
    size_t alike = 0;
    for (size_t at = run.find(" 8 10 50 25 rf\n"); at != std::string::npos; at = run.find(" 8 10 50 25 rf\n", at + 1))
        ++alike;
    EXPECT_EQ(alike, 6u);
    // Each picture defined once, the photograph as a JPEG file's bytes.
    size_t defined = 0;
    for (size_t at = job.find("ReusableStreamDecode"); at != std::string::npos;
         at = job.find("ReusableStreamDecode", at + 1))
        ++defined;
    EXPECT_EQ(defined, 2u);
    const size_t jpeg = job.find("/ASCII85Decode filter /DCTDecode filter >> image\n");
    ASSERT_NE(jpeg, std::string::npos);
    std::string bytes;
    size_t end = 0;
    ASSERT_TRUE(DecodeAscii85(job, job.find('\n', jpeg) + 1, &bytes, &end));
    EXPECT_EQ(bytes.substr(0, 3), "\xFF\xD8\xFF");
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\xFF\xD9");
    EXPECT_NE(run.find(" dup 0 setfileposition /DCTDecode filter >> image"), std::string::npos);
    EXPECT_NE(run.find(" dup 0 setfileposition /FlateDecode filter >> image"), std::string::npos);

    QProcess gs;
    gs.start("gs", {"-dSAFER", "-dBATCH", "-dNOPAUSE", "-q", "-sDEVICE=png16m", "-r72",
                    QString::fromStdString("-sOutputFile=" + dir.file("page%d.png")), QString::fromStdString(ps)});
    ASSERT_TRUE(gs.waitForStarted() && gs.waitForFinished(60000));
    EXPECT_EQ(gs.exitCode(), 0) << gs.readAllStandardOutput().toStdString();
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const QImage drawn(QString::fromStdString(dir.file("page" + std::to_string(page) + ".png")));
        ASSERT_EQ(drawn.size(), QSize(400, 200));
        for (const QPoint at : {QPoint(20, 20), QPoint(100, 70), QPoint(150, 110)}) {
            const QRgb want = photo.pixel(at), got = drawn.pixel(at + QPoint(20, 20));
            EXPECT_NEAR(qRed(got), qRed(want), 12);
            EXPECT_NEAR(qGreen(got), qGreen(want), 12);
            EXPECT_NEAR(qBlue(got), qBlue(want), 12);
        }
        EXPECT_EQ(At(drawn, 240, 40), 0x0000FFu);
        EXPECT_EQ(At(drawn, 340, 120), 0x008000u);
        EXPECT_EQ(At(drawn, 50, 170), 0xFF0000u);
        EXPECT_EQ(At(drawn, 250, 170), 0xFF0000u);
        EXPECT_EQ(At(drawn, 150, 170), 0xFFFFFFu);
        EXPECT_EQ(At(drawn, 140, 172), 0x00FF00u);
        EXPECT_EQ(At(drawn, 340, 172), 0x00FF00u);
        EXPECT_EQ(At(drawn, 350, 160), 0xFFFFFFu);
        EXPECT_EQ(At(drawn, 160, 188), 0x000000u);
        EXPECT_EQ(At(drawn, 159, 188), 0xFFFFFFu);
        EXPECT_EQ(At(drawn, 161, 188), 0xFFFFFFu);
        std::string hatching, underClip;
        for (int x = 86; x < 125; ++x) {
            hatching += At(drawn, x, 8) == 0x0000FFu ? '|' : ' ';
            underClip += At(drawn, x, 170) == 0 ? '|' : ' ';
        }
        EXPECT_NE(hatching.find('|'), std::string::npos);
        EXPECT_EQ(underClip, hatching);
    }
}

// A job of many pages, each packed beside the drawing of the next: every
// page's drawing stays under its own %%Page line, in its order.
TEST(PostScriptJob, PagesPackedBesideTheDrawingStayUnderTheirOwnPageLine)
{
    TempDir dir;
    const std::string ps = dir.file("pages.ps");
    std::unique_ptr<Dc> dc = PostScriptJobDc(SmallSheet(ps, QSizeF(400, 200)));
    ASSERT_TRUE(dc->beginOutput());
    constexpr int kPages = 40;
    for (int page = 1; page <= kPages; ++page) {
        if (page > 1) {
            ASSERT_TRUE(dc->newPage());
        }
        dc->fillRect(IntRect{10, 10, 10 + page, 15}, Brush::Solid(0));
        for (int n = 0; n < 3000; ++n) {
            const IntRect r{n % 390, n % 190, n % 390 + 1 + n % 7, n % 190 + 2};
            dc->fillRect(r, Brush::Solid(uint32_t(n * 2654435761u) >> 8));
        }
    }
    ASSERT_TRUE(dc->flush());
    const std::string run = PostScriptAsRun(ReadFileBytes(ps));
    ASSERT_FALSE(run.empty());
    for (int page = 1; page <= kPages; ++page) {
        SCOPED_TRACE(page);
        const size_t start = run.find("\n%%Page: " + std::to_string(page) + " ");
        ASSERT_NE(start, std::string::npos);
        const size_t end = run.find("\n%%Page: ", start + 1);
        const std::string own = run.substr(start, end == std::string::npos ? std::string::npos : end - start);
        EXPECT_NE(own.find(" 10 10 " + std::to_string(page) + " 5 rf\n"), std::string::npos);
        EXPECT_EQ(own.find("showpage"), own.rfind("showpage"));
    }
}

// Data written as ASCII85 reads back as the bytes, whatever their length
// (a group of zeros shortened, a last group cut short), and no line of it
// begins with "%", which a program sorting the job's pages would read as
// one of its own lines: here a group whose five characters are "%%EOF".
TEST(PostScriptJob, Ascii85DataReadsBackAndNoLineReadsAsAComment)
{
    // 76 groups fill five lines of 76 characters; the next begins a line.
    std::string bytes;
    for (int i = 0; i < 76 * 4; ++i)
        bytes += char((i * 151 + 7) % 256);
    bytes += std::string("\x0C\x9B\x95\xE7", 4) + std::string(8, '\0') + "tail";
    for (size_t length = 0; length <= bytes.size(); length += length < 12 ? 1 : 37) {
        SCOPED_TRACE(length);
        std::string text;
        PsAppendAscii85(&text, std::string_view(bytes).substr(0, length));
        std::string back;
        size_t end = 0;
        ASSERT_TRUE(DecodeAscii85(text, 0, &back, &end));
        EXPECT_EQ(back, bytes.substr(0, length));
        EXPECT_EQ(end, text.size() - 1);
        for (size_t line = 0; line != std::string::npos; line = text.find('\n', line + 1)) {
            const size_t start = line == 0 ? 0 : line + 1;
            EXPECT_NE(text[start], '%');
        }
    }
    std::string all;
    PsAppendAscii85(&all, bytes);
    EXPECT_NE(all.find(" %%EOF"), std::string::npos);
    EXPECT_NE(all.find('z'), std::string::npos);
}

TEST(PostScriptJob, AJobGivenUpLeavesTheFileAsItWas)
{
    TempDir dir;
    const std::string ps = dir.file("kept.ps");
    WriteFileBytes(ps, "yesterday's job");
    {
        std::unique_ptr<Dc> dc = PostScriptJobDc(SmallSheet(ps));
        ASSERT_TRUE(dc->beginOutput());
        dc->fillRect(IntRect{0, 0, 10, 10}, Brush::Solid(0));
    }
    EXPECT_EQ(ReadFileBytes(ps), "yesterday's job");
    EXPECT_FALSE(PostScriptJobDc(SmallSheet(dir.file("missing/job.ps")))->beginOutput());
    // Other targets take no PostScript.
    std::unique_ptr<Dc> measuring = Dc::ForMeasuring();
    EXPECT_FALSE(measuring->supportsPostScriptPassThrough());
    EXPECT_FALSE(measuring->passThrough("x", 1));
}

// Characters placed along a turned baseline, as a turned barcode's caption
// sets them, go out as one run that Ghostscript draws exactly where the
// characters drawn one by one land.
TEST(PostScriptJob, ATurnedRunLandsWhereItsCharactersDrawnOneByOneDo)
{
    if (!HaveTool("gs"))
        SKIP_FOR_MISSING_TOOL();
    TempDir dir;
    LogFont font;
    font.height = -24;
    font.escapement = 450;
    const std::string text = "4012345";
    std::vector<IntPoint> at;
    for (size_t i = 0; i < text.size(); ++i)
        at.push_back(IntPoint{30 + int32_t(i * 117 / 10), 90 - int32_t(i * 117 / 10)});
    for (const char* name : {"one", "run"}) {
        std::unique_ptr<Dc> dc = PostScriptJobDc(SmallSheet(dir.file(std::string(name) + ".ps")));
        ASSERT_TRUE(dc->beginOutput());
        dc->selectFont(font);
        dc->setBkMode(TRANSPARENT);
        dc->setTextAlign(TA_LEFT | TA_BOTTOM);
        if (name[0] == 'o') {
            for (size_t i = 0; i < text.size(); ++i)
                dc->textOut(at[i].x, at[i].y, text.substr(i, 1));
        } else {
            ASSERT_TRUE(dc->placedTextOut(text, at.data()));
        }
        ASSERT_TRUE(dc->flush());
    }
    const std::string run = PostScriptAsRun(ReadFileBytes(dir.file("run.ps")));
    size_t shows = 0;
    for (size_t p = run.find("xyshow"); p != std::string::npos; p = run.find("xyshow", p + 1))
        ++shows;
    EXPECT_EQ(shows, 1u);
    const QImage one = Render(dir.file("one.ps"), dir.file("one.png"));
    const QImage together = Render(dir.file("run.ps"), dir.file("run.png"));
    ASSERT_FALSE(one.isNull());
    int ink = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x)
            ink += qGray(one.pixel(x, y)) < 128;
    EXPECT_GT(ink, 50);
    EXPECT_EQ(one, together);
}

// A PDF made of the job (as ps2pdf or a PDF-making print queue makes one)
// reads as the text the job shows, each page upright: names with their
// spaces, accents and the code page's punctuation, in two faces, straight
// and turned. The reader takes a line turned near upside down or steeper
// than 45 degrees downward letter by letter, as it does in any PDF; there
// the letters are compared, and a glyph of no character would still show.
TEST(PostScriptJob, APdfMadeOfTheJobReadsAsItsText)
{
    if (!HaveTool("ps2pdf") || !HaveTool("pdftotext") || !HaveTool("pdfinfo"))
        SKIP_FOR_MISSING_TOOL() << "Ghostscript and poppler-utils are needed";
    TempDir dir;
    const std::vector<std::string> names = {"Gregory Young", "Jos\xE9 M\xFCller-\xC6r\xF8",
                                            "O\x92Neill & \x8Aimon \x80" "12"};
    PostScriptJobSettings sheet = SmallSheet(dir.file("names.ps"), QSizeF(300, 300));
    sheet.resolution = 600;
    std::unique_ptr<Dc> dc = PostScriptJobDc(sheet);
    ASSERT_TRUE(dc->beginOutput());
    dc->setBkMode(TRANSPARENT);
    dc->setTextAlign(TA_LEFT | TA_BASELINE);
    struct Page {
        QString name;
        bool words;  // read in words, not letter by letter
    };
    std::vector<Page> pages;
    for (const char* face : {"Liberation Sans", "DejaVu Serif"}) {
        for (int32_t tenths : {0, 170, 900, 2030, 3110}) {
            LogFont font;
            font.height = -100;
            font.escapement = tenths;
            std::strncpy(font.faceName, face, sizeof font.faceName - 1);
            dc->selectFont(font);
            if (!pages.empty()) {
                ASSERT_TRUE(dc->newPage());
            }
            const std::string& name = names[pages.size() % names.size()];
            dc->textOut(1250, 1250, name);
            pages.push_back({Cp1252ToQString(name), tenths <= 900});
        }
    }
    ASSERT_TRUE(dc->flush());
    ASSERT_EQ(Shell(dir, "ps2pdf names.ps names.pdf && pdftotext -raw names.pdf names.txt"), 0);
    EXPECT_EQ(Shell(dir, "test $(pdfinfo -f 1 -l 10 names.pdf | grep -c 'rot: *0$') -eq 10"), 0);
    const QStringList read = QString::fromUtf8(ReadFileBytes(dir.file("names.txt"))).split(QChar('\f'));
    ASSERT_GE(read.size(), qsizetype(pages.size()));
    for (size_t i = 0; i < pages.size(); ++i) {
        const QString text = read[qsizetype(i)].simplified();
        if (pages[i].words)
            EXPECT_EQ(text.toStdString(), pages[i].name.toStdString()) << "page " << i + 1;
        else
            EXPECT_EQ(QString(text).remove(' ').toStdString(), QString(pages[i].name).remove(' ').toStdString())
                << "page " << i + 1;
    }
}

}  // namespace

// print-pdf: the sample card with a database of 25 contacts, and without
// one, into PDF files; wrong arguments and missing files fail.

#include <gtest/gtest.h>

#include <unistd.h>

#include <QFile>
#include <QImage>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "graphics/metafile_outcome.h"
#include "support/needed_tools.h"
#include "support/postscript_as_run.h"
#include "support/runaway_metafile.h"
#include "support/pixel_match.h"
#include "support/shell.h"

namespace {

const std::string kSample = std::string(TESSALINE_TEST_DATA_DIR) + "/../../data/Samples/Business Card.lqx";

TEST(PrintPdfTool, PrintsTheSampleCardWithAndWithoutADatabase)
{
    TempDir dir;
    if (Shell(dir, "command -v pdfinfo >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "pdfinfo (poppler-utils) is not installed";
    WriteFileBytes(dir.file("card.lqx"), ReadFileBytes(kSample));
    ASSERT_EQ(Shell(dir, "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 25 --seed 3 >/dev/null"), 0);

    ASSERT_EQ(Shell(dir, "\"$T\" print-pdf card.lqx people.dqx out.pdf > said"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "6 pages\n");
    EXPECT_EQ(Shell(dir, "pdfinfo out.pdf | grep -q '^Pages: *6$'"), 0);
    EXPECT_EQ(Shell(dir, "pdftotext -f 5 -l 5 out.pdf - | grep -q '@example.com'"), 0);

    ASSERT_EQ(Shell(dir, "\"$T\" print-pdf card.lqx one.pdf > said"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "2 pages\n");

    EXPECT_NE(Shell(dir, "\"$T\" print-pdf card.lqx 2>/dev/null"), 0);
    EXPECT_NE(Shell(dir, "\"$T\" print-pdf missing.lqx x.pdf 2>/dev/null"), 0);
    EXPECT_NE(Shell(dir, "\"$T\" print-pdf card.lqx missing.dqx x.pdf 2>/dev/null"), 0);
    EXPECT_NE(Shell(dir, "\"$T\" print-pdf card.lqx 'no folder/x.pdf' 2>/dev/null"), 0);
}

TEST(PrintPdfTool, ADamagedDatabaseFailsThePrintWithOneMessage)
{
    TempDir dir;
    WriteFileBytes(dir.file("card.lqx"), ReadFileBytes(kSample));
    ASSERT_EQ(Shell(dir, "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 25 --seed 3 >/dev/null"), 0);
    // A record in the middle loses its marker: the records behind it can
    // no longer be found.
    std::string bytes = ReadFileBytes(dir.file("people.dqx"));
    ASSERT_EQ(uint8_t(bytes[6000]), 0xFC);
    size_t at = 6001;
    for (int n = 0; n < 10; ++n)
        at = bytes.find('\xFC', at + 1);
    ASSERT_NE(at, std::string::npos);
    bytes[at] = 'x';
    WriteFileBytes(dir.file("people.dqx"), bytes);

    EXPECT_NE(Shell(dir, "\"$T\" print-pdf card.lqx people.dqx out.pdf > said 2> err"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "");
    const std::string err = ReadFileBytes(dir.file("err"));
    const size_t first = err.find("Database is damaged.");
    EXPECT_NE(first, std::string::npos) << err;
    EXPECT_EQ(err.find("Database is damaged.", first + 1), std::string::npos) << err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("out.pdf"))));
}

TEST(PrintPdfTool, ACardAnotherWindowOrPrintHoldsIsSaidToBeInUse)
{
    TempDir dir;
    WriteFileBytes(dir.file("card.lqx"), ReadFileBytes(kSample));
    EXPECT_EQ(Shell(dir, "{ flock -x card.lqx -c 'touch held; for i in $(seq 600); do test -e done && break; "
                         "sleep 0.05; done' & } ; "
                         "for i in $(seq 600); do test -e held && break; sleep 0.05; done; test -e held && "
                         "\"$T\" print-pdf card.lqx out.pdf > said 2> err; r=$?; touch done; wait; exit $r"),
              1);
    EXPECT_NE(ReadFileBytes(dir.file("err")).find("card.lqx is open in another window or program: nothing is printed"),
              std::string::npos)
        << ReadFileBytes(dir.file("err"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("out.pdf"))));
}

TEST(PrintPdfTool, APrintOnlyReadsItsDatabaseAndFailsWhenItCannotSelect)
{
    TempDir dir;
    WriteFileBytes(dir.file("card.lqx"), ReadFileBytes(kSample));
    ASSERT_EQ(Shell(dir, "mkdir shelf && \"$T\" db new shelf/people.dqx && "
                         "\"$T\" db fill shelf/people.dqx 25 --seed 3 >/dev/null && touch -d 2020-01-01 shelf/people.dqx"),
              0);
    const std::string before = ReadFileBytes(dir.file("shelf/people.dqx"));

    // Read, never written: the same bytes and time, nothing beside it,
    // even where the user may not write.
    ASSERT_EQ(Shell(dir, "chmod 444 shelf/people.dqx && chmod 555 shelf"), 0);
    ASSERT_EQ(Shell(dir, "\"$T\" print-ps card.lqx shelf/people.dqx out.ps > said"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "6 pages\n");
    ASSERT_EQ(Shell(dir, "\"$T\" print-pdf card.lqx shelf/people.dqx out.pdf > said"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "6 pages\n");
    EXPECT_EQ(ReadFileBytes(dir.file("shelf/people.dqx")), before);
    EXPECT_EQ(Shell(dir, "test \"$(date -r shelf/people.dqx +%Y)\" = 2020"), 0);
    EXPECT_EQ(Shell(dir, "test \"$(ls shelf)\" = people.dqx"), 0);

    // No place for the index among the temporary files (their folder is
    // a file): the selection fails, the job with it, and the old output
    // stays.
    WriteFileBytes(dir.file("out.pdf"), "yesterday's sheets");
    WriteFileBytes(dir.file("tmp"), "");
    EXPECT_NE(Shell(dir, "TMPDIR=\"$PWD/tmp\" \"$T\" print-pdf card.lqx shelf/people.dqx out.pdf > said 2> err"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "");
    EXPECT_NE(ReadFileBytes(dir.file("err")), "");
    EXPECT_EQ(ReadFileBytes(dir.file("out.pdf")), "yesterday's sheets");
    Shell(dir, "chmod 755 shelf");
}

// Turned text prints as text, and a picture goes into the file once, as
// many pixels as the paper shows: a PNG without loss, a photograph as JPEG.
// PostScript keeps a picture drawn again in its setup.
TEST(PrintPdfTool, ASheetOfSmallLabelsIsSmallAndEachNameReadsWhole)
{
    TempDir dir;
    if (Shell(dir, "command -v pdftotext >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "pdftotext (poppler-utils) is not installed";
    ASSERT_EQ(Shell(dir, "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 650 --seed 3 >/dev/null && "
                         "\"$T\" card new-names names.lqx && \"$T\" print-pdf names.lqx people.dqx names.pdf > said"),
              0);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "10 pages\n");
    // Ten sheets of 65 names: each label's content says only what differs
    // from the page, in 55 bytes a label or fewer, fonts and all.
    const size_t size = ReadFileBytes(dir.file("names.pdf")).size();
    EXPECT_LE(size, 650u * 55u);
    // The names in UTF-8, as pdftotext writes them, whatever the locale.
    EXPECT_EQ(Shell(dir, "LC_ALL=C.UTF-8 \"$T\" db dump people.dqx | awk -F'\\t' 'NR > 1 {print $3 \" \" $4}' > names && "
                         "pdftotext -raw names.pdf text && "
                         "awk 'NR == FNR {t = t $0 \"\\n\"; next} !index(t, $0) {m++} END {exit m > 0}' text names"),
              0);
}

TEST(PrintPdfTool, TurnedTextStaysTextAndAPictureIsKeptOnceAtWhatThePaperShows)
{
    TempDir dir;
    if (Shell(dir, "command -v pdfimages >/dev/null && command -v convert >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "pdfimages (poppler-utils) or convert (ImageMagick) is not installed";
    ASSERT_EQ(Shell(dir, "convert -size 240x240 xc:none -fill navy -draw 'circle 120,120 120,10' logo.png && "
                         "convert -size 3000x2000 gradient:red-blue photo.jpg"),
              0);
    ASSERT_EQ(Shell(dir, "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 25 --seed 3 >/dev/null && "
                         "\"$T\" card new-turned turned.lqx \"$PWD/logo.png\" && "
                         "\"$T\" card new-picture label.lqx \"$PWD/photo.jpg\""),
              0);
    ASSERT_EQ(Shell(dir, "\"$T\" print-pdf turned.lqx people.dqx turned.pdf >/dev/null && "
                         "\"$T\" print-pdf label.lqx people.dqx label.pdf >/dev/null"),
              0);
    // Each card's phone line, three times turned, as text: in words at least
    // once a card, letter by letter at worst (the reader splits slanted
    // lines).
    EXPECT_EQ(Shell(dir, "test $(pdftotext -raw turned.pdf - | grep -c '^Tel\\.') -ge 25"), 0);
    EXPECT_EQ(Shell(dir, "test $(pdftotext -raw turned.pdf - | grep -c '^T') -ge 75"), 0);
    // The left line at each angle, the bottom one's turned outline across
    // it: each card prints the whole number, its lines broken as the screen
    // breaks them, not pushed aside by the page's wrap shapes.
    for (const char* angle : {"20", "30", "45", "60", "90"}) {
        ASSERT_EQ(Shell(dir, "\"$T\" card new-turned left.lqx --angles " + std::string(angle) +
                                 ",90,60 --size 8 && \"$T\" print-pdf left.lqx people.dqx left.pdf >/dev/null"),
                  0);
        EXPECT_EQ(Shell(dir, "test $(pdftotext -raw left.pdf - | tr -d ' \\n' | "
                             "grep -o 'Tel\\.([0-9]\\{3\\})[0-9]\\{3\\}-[0-9]\\{4\\}' | wc -l) -eq 75"),
                  0)
            << angle << " degrees";
    }
    // The logo: one image object for all 25 cards, not a JPEG; no image
    // of text.
    const std::string logo = "pdfimages -list turned.pdf | awk 'NR > 2 && $3 == \"image\"'";
    EXPECT_EQ(Shell(dir, "test $(" + logo + " | awk '{print $11}' | sort -u | wc -l) -eq 1"), 0);
    EXPECT_EQ(Shell(dir, "test $(" + logo + " | awk '$4 != 240 || $9 == \"jpeg\"' | wc -l) -eq 0"), 0);
    // Known by what the file holds, not its name: a PNG called .jpg stays
    // lossless.
    ASSERT_EQ(Shell(dir, "cp logo.png named.jpg && \"$T\" card new-turned named.lqx \"$PWD/named.jpg\" && "
                         "\"$T\" print-pdf named.lqx people.dqx named.pdf >/dev/null"),
              0);
    EXPECT_EQ(Shell(dir, "pdfimages -list named.pdf | awk 'NR > 2 && $3 == \"image\" && $9 == \"jpeg\"' | "
                         "grep -q . && exit 1; pdfimages -list named.pdf | grep -q image"),
              0);
    // The photograph: one object, brought down to 600 dpi of its 2 x 1.33 in.
    const std::string photo = "pdfimages -list label.pdf | awk 'NR > 2 && $3 == \"image\"'";
    EXPECT_EQ(Shell(dir, "test $(" + photo + " | awk '{print $11}' | sort -u | wc -l) -eq 1"), 0);
    EXPECT_EQ(Shell(dir, "test $(" + photo + " | awk '$4 > 1201 || $5 > 801 || $9 != \"jpeg\"' | wc -l) -eq 0"),
              0);

    ASSERT_EQ(Shell(dir, "\"$T\" print-ps turned.lqx people.dqx turned.ps >/dev/null && "
                         "\"$T\" print-ps label.lqx people.dqx label.ps >/dev/null"),
              0);
    for (const std::string job : {"turned", "label"})
        WriteFileBytes(dir.file(job + ".run"), PostScriptAsRun(ReadFileBytes(dir.file(job + ".ps"))));
    EXPECT_EQ(Shell(dir, "grep -q '] concat' turned.run && grep -q xyshow turned.run"), 0);
    EXPECT_EQ(Shell(dir, "test $(grep -c ReusableStreamDecode label.run) -eq 1"), 0);
    EXPECT_EQ(Shell(dir, "test $(grep -c '/DataSource TsI1 ' label.run) -ge 24"), 0);
    // A PDF made of the PostScript (ps2pdf, a PDF-making print queue) reads
    // as the cards do: on the sample card every contact's name whole,
    // accents and the space between included, and on this one the turned
    // phone lines with their spaces.
    if (!HaveTool("ps2pdf"))
        SKIP_FOR_MISSING_TOOL() << "ps2pdf (Ghostscript) is not installed";
    WriteFileBytes(dir.file("sample.lqx"), ReadFileBytes(kSample));
    ASSERT_EQ(Shell(dir, "LC_ALL=C.UTF-8 \"$T\" db dump people.dqx | awk -F '\\t' 'NR > 1 {print $3 \" \" $4}' "
                         "| sort -u > names && \"$T\" print-ps sample.lqx people.dqx sample.ps >/dev/null && "
                         "ps2pdf sample.ps sample-ps.pdf && pdftotext -raw sample-ps.pdf read && "
                         "ps2pdf turned.ps turned-ps.pdf"),
              0);
    EXPECT_EQ(Shell(dir, "test $(grep -c . names) -eq 25 && LC_ALL=C grep -q '[^ -~]' names && "
                         "test $(grep -o -F -f names read | sort -u | wc -l) -eq 25"),
              0);
    EXPECT_EQ(Shell(dir, "test $(pdftotext -raw turned-ps.pdf - | grep -c '^Tel\\. ') -ge 25"), 0);
}

// Names turned by odd angles read whole, the space between and accents
// included, however pdftotext reads the page (as drawn, in reading order,
// laid out): every name the straight card shows whole, in the PDF and in
// ps2pdf of the PostScript alike. The file stays sound (its objects where
// its table says). The PostScript carries each aslant run's text for a PDF
// made of it.
TEST(PrintPdfTool, TextAtOddAnglesReadsWholeInThePdf)
{
    TempDir dir;
    if (Shell(dir, "command -v pdftotext >/dev/null && command -v qpdf >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "pdftotext (poppler-utils) or qpdf is not installed";
    ASSERT_EQ(Shell(dir, "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 25 --seed 3 >/dev/null && "
                         "LC_ALL=C.UTF-8 \"$T\" db dump people.dqx | awk -F '\\t' 'NR > 1 {print $3 \" \" $4}' "
                         "| sort -u > names && LC_ALL=C grep -q '[^ -~]' names"),
              0);
    const bool viaPostScript = HaveTool("ps2pdf");
    auto card = [&](const std::string& angle) {
        return Shell(dir, "\"$T\" card new-turned card.lqx --name-angle " + angle + " --angles " + angle + "," +
                              angle + "," + angle + " && \"$T\" print-pdf card.lqx people.dqx card.pdf >/dev/null" +
                              (viaPostScript ? " && \"$T\" print-ps card.lqx people.dqx card.ps >/dev/null && "
                                               "ps2pdf card.ps card-ps.pdf"
                                             : ""));
    };
    auto whole = [](const std::string& pdf) {
        return " " + pdf + " - | LC_ALL=C.UTF-8 grep -o -F -f names | sort -u | wc -l";
    };
    ASSERT_EQ(card("0"), 0);
    ASSERT_EQ(Shell(dir, "pdftotext -raw" + whole("card.pdf") + " > straight && test $(cat straight) -ge 20"), 0);
    for (const char* angle : {"0", "17", "45", "203", "311"}) {
        ASSERT_EQ(card(angle), 0) << angle << " degrees";
        for (const char* pdf : {"card.pdf", "card-ps.pdf"}) {
            if (std::string(pdf) == "card-ps.pdf" && !viaPostScript)
                continue;
            for (const char* reading : {"-raw", "", "-layout"})
                EXPECT_EQ(Shell(dir, "test $(pdftotext " + std::string(reading) + whole(pdf) + ") -eq $(cat straight)"),
                          0)
                    << angle << " degrees, " << pdf << ", pdftotext " << reading;
        }
        EXPECT_EQ(Shell(dir, "qpdf --check card.pdf >/dev/null"), 0) << angle << " degrees";
    }
    if (!viaPostScript)
        SKIP_FOR_MISSING_TOOL() << "ps2pdf (Ghostscript) is not installed";
    ASSERT_EQ(Shell(dir, "qpdf --qdf --object-streams=disable card-ps.pdf card-qdf.pdf"), 0) << "a sound file";
    // Name, title and phone of every card; "Anderson" in plain text.
    WriteFileBytes(dir.file("card.run"), PostScriptAsRun(ReadFileBytes(dir.file("card.ps"))));
    EXPECT_EQ(Shell(dir, "test $(grep -c '/BDC pdfmark' card.run) -ge 75 && "
                         "grep -a -q '/ActualText (Donald Anderson)' card-qdf.pdf"),
              0);
    // A sheet whose text all runs upwards stays upright in the PDF.
    ASSERT_EQ(card("90"), 0);
    EXPECT_EQ(Shell(dir, "pdfinfo card-ps.pdf | grep -q '^Page rot: *0$' && qpdf --check card-ps.pdf >/dev/null"), 0);
}

// A PNG with graded alpha (half-transparent black above, black fading out
// below) prints without loss through a soft mask of 8 bits, kept once for
// the 25 cards, and a half-transparent black shows mid-grey on the paper.
// The same picture as TIFF and as bitmap prints the same; as GIF, whose
// transparency is one colour, it keeps a mask of one bit.
TEST(PrintPdfTool, APictureWithAlphaPrintsWithoutLossThroughASoftMask)
{
    TempDir dir;
    if (Shell(dir, "command -v pdfimages >/dev/null && command -v pdftoppm >/dev/null && "
                   "command -v convert >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "pdfimages, pdftoppm (poppler-utils) or convert (ImageMagick) is not installed";
    ASSERT_EQ(Shell(dir, "convert -size 240x80 xc:'rgba(0,0,0,0.5)' \\( -size 80x240 gradient:black-none -rotate 90 "
                         "\\) -append +repage alpha.png"),
              0);
    ASSERT_EQ(Shell(dir, "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 25 --seed 3 >/dev/null && "
                         "\"$T\" card new-picture label.lqx \"$PWD/alpha.png\" && "
                         "\"$T\" print-pdf label.lqx people.dqx label.pdf >/dev/null"),
              0);
    const std::string list = "pdfimages -list label.pdf | awk 'NR > 2'";
    EXPECT_EQ(Shell(dir, "test $(" + list + " | awk '$3 == \"image\" && $9 != \"jpeg\"' | wc -l) -eq 25"), 0);
    EXPECT_EQ(Shell(dir, "test $(" + list + " | awk '$3 == \"smask\" && $8 == 8' | wc -l) -eq 25"), 0);
    EXPECT_EQ(Shell(dir, "test $(" + list + " | awk '{print $11}' | sort -u | wc -l) -eq 1"), 0);
    // The first sheet at 72 dpi: ten cards, each with a picture of 144 x 96
    // points whose upper half is mid-grey (black laid as it is would be
    // darker, the grey of the picture laid over white again lighter).
    EXPECT_EQ(Shell(dir, "pdftoppm -r 72 -gray -f 1 -l 1 label.pdf | tail -c $((612 * 792)) | od -An -v -tu1 | "
                         "awk '{ for (i = 1; i <= NF; ++i) if ($i >= 118 && $i <= 138) ++n } END { exit n < 60000 }'"),
              0);

    const std::string page = "pdftoppm -r 72 -gray -f 1 -l 1 ";
    for (const std::string& kind : {std::string("tif"), std::string("bmp")}) {
        ASSERT_EQ(Shell(dir, "convert alpha.png alpha." + kind + " && \"$T\" card new-picture " + kind +
                                 ".lqx \"$PWD/alpha." + kind + "\" && \"$T\" print-pdf " + kind + ".lqx people.dqx " +
                                 kind + ".pdf >/dev/null"),
                  0);
        EXPECT_EQ(Shell(dir, "pdfimages -list " + kind + ".pdf | awk '$3 == \"smask\" && $8 == 8' | grep -q ."), 0)
            << kind;
        EXPECT_EQ(Shell(dir, "test \"$(" + page + kind + ".pdf | md5sum)\" = \"$(" + page + "label.pdf | md5sum)\""),
                  0)
            << kind;
    }
    ASSERT_EQ(Shell(dir, "convert alpha.png alpha.gif && \"$T\" card new-picture gif.lqx \"$PWD/alpha.gif\" && "
                         "\"$T\" print-pdf gif.lqx people.dqx gif.pdf >/dev/null"),
              0);
    EXPECT_EQ(Shell(dir, "pdfimages -list gif.pdf | awk '$3 == \"smask\"' | grep -q . && exit 1; "
                         "pdfimages -list gif.pdf | awk '$3 == \"mask\" && $8 == 1' | grep -q ."),
              0);
}

// A picture turned by 30 degrees in a frame of 50 x 34 points goes into the
// file once for all cards, turned from the picture as read: 600 pixels wide
// at 600 dpi of its place (its turned box about 502 pixels wide), never
// more pixels than it has, and its alpha turned with it into a soft mask of
// 8 bits; half-transparent black still shows mid-grey on the paper.
TEST(PrintPdfTool, ATurnedPictureKeepsWhatThePaperShowsAndItsAlpha)
{
    TempDir dir;
    if (Shell(dir, "command -v pdfimages >/dev/null && command -v pdftoppm >/dev/null && "
                   "command -v convert >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "pdfimages, pdftoppm (poppler-utils) or convert (ImageMagick) is not installed";
    ASSERT_EQ(Shell(dir, "convert -size 600x200 xc:'rgba(0,0,0,0.5)' -size 600x200 xc:navy -append +repage big.png && "
                         "convert big.png -resize 60x40 small.png && "
                         "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 25 --seed 3 >/dev/null && "
                         "\"$T\" card new-angled big.lqx 30 \"$PWD/big.png\" && "
                         "\"$T\" card new-angled small.lqx 30 \"$PWD/small.png\" && "
                         "\"$T\" print-pdf big.lqx people.dqx big.pdf >/dev/null && "
                         "\"$T\" print-pdf small.lqx people.dqx small.pdf >/dev/null"),
              0);
    const std::string big = "pdfimages -list big.pdf | awk 'NR > 2 && $3 == \"image\"'";
    EXPECT_EQ(Shell(dir, "test $(" + big + " | awk '{print $11}' | sort -u | wc -l) -eq 1"), 0);
    EXPECT_EQ(Shell(dir, "test $(" + big + " | awk '$4 < 452 || $4 > 506 || $13 < 540' | wc -l) -eq 0"), 0)
        << "pdfimages -list: " << ReadFileBytes(dir.file("x"));
    EXPECT_EQ(Shell(dir, "pdfimages -list big.pdf | awk '$3 == \"smask\" && $8 == 8' | grep -q ."), 0);
    EXPECT_EQ(Shell(dir, "pdftoppm -r 72 -gray -f 1 -l 1 big.pdf | tail -c $((612 * 792)) | od -An -v -tu1 | "
                         "awk '{ for (i = 1; i <= NF; ++i) if ($i >= 118 && $i <= 138) ++n } END { exit n < 4000 }'"),
              0);
    const std::string small = "pdfimages -list small.pdf | awk 'NR > 2 && $3 == \"image\"'";
    EXPECT_EQ(Shell(dir, "test $(" + small + " | awk '$4 > 75 || $5 > 66' | wc -l) -eq 0"), 0);
}

// A card of every frame kind on two sides: every sheet prints its front
// and its back, each turned line (30, 45 and 90 degrees) is text a reader
// finds, and each of the five pictures (every format, 200 to 6000 pixels)
// goes into the file once for all cards and both sides, only the
// photograph as JPEG. The display text's fills are cut to its letters by
// their outlines, not by a rectangle for each row of pixels of each letter.
TEST(PrintPdfTool, ACardOfEveryFrameKindPrintsBothSidesWithItsTextAndEachPictureOnce)
{
    TempDir dir;
    if (Shell(dir, "command -v pdfimages >/dev/null && command -v pdftotext >/dev/null && "
                   "command -v pdfseparate >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "pdfimages, pdftotext and pdfseparate (poppler-utils) are not installed";
    ASSERT_EQ(Shell(dir, "mkdir pictures && \"$T\" card new-everything every.lqx \"$PWD/pictures\" && "
                         "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 12 --seed 3 >/dev/null"),
              0);
    // Every barcode lies inside the card: the job ends with 0 and says
    // nothing of cut barcodes or text.
    ASSERT_EQ(Shell(dir, "\"$T\" print-pdf every.lqx people.dqx every.pdf > said 2> told"), 0);
    EXPECT_EQ(ReadFileBytes(dir.file("said")), "4 pages\n");
    EXPECT_EQ(ReadFileBytes(dir.file("told")).find("tessaline-tool:"), std::string::npos)
        << ReadFileBytes(dir.file("told"));
    EXPECT_EQ(Shell(dir, "pdftotext -f 2 -l 2 every.pdf - | grep -q '[0-9]'"), 0) << "the first back is empty";
    // Three turned phone lines a card; the reader splits slanted lines
    // letter by letter, so the letters are joined before counting.
    EXPECT_EQ(Shell(dir, "test $(pdftotext -raw every.pdf - | tr -d ' \\n' | "
                         "grep -o 'Tel\\.([0-9]\\{3\\})[0-9]\\{3\\}-[0-9]\\{4\\}' | wc -l) -eq 36"),
              0);
    const std::string images = "pdfimages -list every.pdf | awk 'NR > 2 && $3 == \"image\"'";
    EXPECT_EQ(Shell(dir, "test $(" + images + " | awk '{print $11}' | sort -u | wc -l) -eq 5"), 0);
    EXPECT_EQ(Shell(dir, "test $(" + images + " | awk '$9 == \"jpeg\" {print $11}' | sort -u | wc -l) -eq 1"), 0);
    // The first back, ten cards of display text and barcodes: about 50 KB
    // with its fonts; cut by rows of pixels it was 650 KB.
    EXPECT_EQ(Shell(dir, "pdfseparate -f 2 -l 2 every.pdf back.pdf && test $(wc -c < back.pdf) -lt 200000"), 0);
    // The card's picture on screen: the program asks what stands in for a
    // font this machine lacks, and the tool answers rather than waiting.
    EXPECT_EQ(Shell(dir, "timeout 120 \"$T\" card-view-shot every.lqx every.png 2>/dev/null && test -s every.png"), 0);
}

// The badge's ZIP code is a field made a barcode: each card prints it as
// Code 39 bars, whose caption carries the start and stop marks, where a
// field left as text prints its digits alone.
TEST(PrintPdfTool, TheBadgesZipFieldPrintsAsBarsOnEveryCard)
{
    TempDir dir;
    if (Shell(dir, "command -v pdftotext >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "pdftotext (poppler-utils) is not installed";
    ASSERT_EQ(Shell(dir, "\"$T\" card new-visitor badge.lqx \"$PWD\" && \"$T\" db new people.dqx && "
                         "\"$T\" db fill people.dqx 8 --seed 3 >/dev/null && "
                         "\"$T\" print-pdf badge.lqx people.dqx badge.pdf >/dev/null"),
              0);
    EXPECT_EQ(Shell(dir, "test $(pdftotext -raw badge.pdf - | grep -c '^\\* [0-9].* \\*$') -eq 8"), 0);
}

// The program's own cards of every frame kind print every barcode whole:
// nothing said, exit 0, and a reader finds each one on the first card of
// each side at 300 dpi (the postal bars, FIMs and bearer bars are for no
// reader; UPC and book numbers read as EAN-13). The visitor card prints
// the field's name "ZipCode" as its bars when no database is given, in
// Code 39's pairs for small letters.
TEST(PrintPdfTool, TheProgramsOwnCardsPrintEveryBarcodeWholeAndReadable)
{
    TempDir dir;
    if (Shell(dir, "command -v zbarimg >/dev/null && command -v pdftoppm >/dev/null && "
                   "command -v convert >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "zbarimg, pdftoppm (poppler-utils) or convert (ImageMagick) is not installed";
    ASSERT_EQ(Shell(dir, "mkdir pictures && \"$T\" card new-everything every.lqx \"$PWD/pictures\" >/dev/null && "
                         "\"$T\" card new-visitor visitor.lqx \"$PWD/pictures\" >/dev/null"),
              0);
    const struct {
        const char* card;
        int page;
        const char* symbols;
    } kCards[] = {{"every", 1, "CODE-128:EV-0042 EAN-13:4006381333931"},
                  {"every", 2,
                   "CODE-128:Ev-42 CODE-39:EVERYY Codabar:A401563B EAN-13:0012345000065 EAN-13:0036000291452 "
                   "EAN-13:4006381333931 EAN-13:9770306406158 EAN-13:9771234567898 EAN-8:96385074 I2/5:01234565"},
                  {"visitor", 1, "CODE-39:Z+I+PC+O+D+E EAN-13:4006381333931"}};
    for (const auto& c : kCards) {
        SCOPED_TRACE(std::string(c.card) + " page " + std::to_string(c.page));
        const std::string card = c.card;
        ASSERT_EQ(Shell(dir, "\"$T\" print-pdf " + card + ".lqx " + card + ".pdf > said 2> told"), 0)
            << ReadFileBytes(dir.file("told"));
        EXPECT_EQ(ReadFileBytes(dir.file("told")).find("tessaline-tool:"), std::string::npos)
            << ReadFileBytes(dir.file("told"));
        // The first card of the sheet: 3.5 x 2 in at 0.75 x 0.5 in.
        const std::string page = std::to_string(c.page);
        ASSERT_EQ(Shell(dir, "pdftoppm -r 300 -f " + page + " -l " + page + " -png " + card + ".pdf p && "
                             "convert p-*" + page + ".png -crop 1050x600+225+150 +repage -bordercolor white "
                             "-border 40 first.png && rm p-*.png && "
                             "zbarimg -q first.png 2>/dev/null | sort | tr '\\n' ' ' > read; true"),
                  0);
        EXPECT_EQ(ReadFileBytes(dir.file("read")), std::string(c.symbols) + " ");
    }
}

// A PostScript job is at most three times its PDF: the visitor badge for
// 100 contacts and for 10, whose fonts weigh most, and badges of each
// contact's JPEG photograph, which goes as JPEG data. The fonts' glyphs go
// compressed, their resources plain. Ghostscript draws the job as it draws
// the PDF, and CUPS' page filter picks a page of it that draws as that
// page did.
TEST(PrintPdfTool, APostScriptJobIsAtMostThreeTimesItsPdfAndPrintsAlike)
{
    TempDir dir;
    if (Shell(dir, "command -v gs >/dev/null && command -v convert >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "Ghostscript or ImageMagick is not installed";
    // Twelve contacts of a photograph each (the picture field, column 15;
    // the name as it is, beside the card, as a long path would not fit).
    ASSERT_EQ(Shell(dir, "for i in $(seq 12); do convert -size 240x320 -seed $i plasma:fractal p$i.jpg || exit 1; "
                         "printf 'Ann\tLee %s\t\t\t\t\t\t\t\t\t\t\t\t\t%s\t\t\t\t\t\t\n' "
                         "$i p$i.jpg >> photos.txt; done && "
                         "\"$T\" db new photos.dqx && \"$T\" dbdoc import photos.dqx photos.txt --delimiter 2 >/dev/null && "
                         "\"$T\" card new-badge photo.lqx && "
                         "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 100 --seed 3 >/dev/null && "
                         "\"$T\" db new few.dqx && \"$T\" db fill few.dqx 10 --seed 3 >/dev/null && "
                         "\"$T\" card new-visitor visitor.lqx \"$PWD\" && cp visitor.lqx small.lqx"),
              0);
    for (const std::string card : {"photo", "visitor", "small"}) {
        SCOPED_TRACE(card);
        const std::string db = card == "photo" ? " photos.dqx " : card == "small" ? " few.dqx " : " people.dqx ";
        ASSERT_EQ(Shell(dir, "\"$T\" print-ps " + card + ".lqx" + db + card + ".ps >/dev/null && "
                             "\"$T\" print-pdf " + card + ".lqx" + db + card + ".pdf >/dev/null"),
                  0);
        const std::string job = ReadFileBytes(dir.file(card + ".ps"));
        const size_t ps = job.size();
        const size_t pdf = ReadFileBytes(dir.file(card + ".pdf")).size();
        EXPECT_LE(ps, 3 * pdf) << "PostScript " << ps << " bytes, PDF " << pdf;
        // Each glyph's procedure sets its box: plain, only the text
        // layer's one font does.
        const auto glyphs = [](const std::string& text) {
            size_t n = 0;
            for (size_t at = text.find("setcachedevice"); at != std::string::npos;
                 at = text.find("setcachedevice", at + 1))
                ++n;
            return n;
        };
        EXPECT_LE(glyphs(job), 1u) << "glyphs left uncompressed";
        EXPECT_GT(glyphs(PostScriptAsRun(job)), 10u);
        EXPECT_NE(job.find("\n%%BeginResource: font TsF0\n"), std::string::npos);
        ASSERT_EQ(Shell(dir, "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r50 -dLastPage=1 -sOutputFile=" + card +
                             "-ps.png " + card + ".ps && gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r50 "
                             "-dLastPage=1 -sOutputFile=" + card + "-pdf.png " + card + ".pdf"),
                  0);
        // The job's letters come out a shade bolder than the PDF's at 50
        // dpi; pictures and shapes alike.
        const QImage fromPs(QString::fromStdString(dir.file(card + "-ps.png")));
        const QImage fromPdf(QString::fromStdString(dir.file(card + "-pdf.png")));
        ASSERT_EQ(fromPs.size(), fromPdf.size());
        EXPECT_LT(UnmatchedPixels(fromPs, fromPdf, 40), fromPs.width() * fromPs.height() / 100);
    }
    const std::string photo = ReadFileBytes(dir.file("photo.ps"));
    EXPECT_NE(photo.find("/ASCII85Decode filter /DCTDecode filter >> image"), std::string::npos);
    if (!HaveTool("/usr/lib/cups/filter/pstops"))
        SKIP_FOR_MISSING_TOOL() << "CUPS' pstops is not installed";
    ASSERT_EQ(Shell(dir, "/usr/lib/cups/filter/pstops 1 user job 1 'page-ranges=2' visitor.ps > picked.ps 2>/dev/null && "
                         "test $(grep -c '^%%Page:' picked.ps) -eq 1 && "
                         "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r50 -sOutputFile=picked.png picked.ps && "
                         "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r50 -dFirstPage=2 -dLastPage=2 "
                         "-sOutputFile=second.png visitor.ps"),
              0);
    const QImage picked(QString::fromStdString(dir.file("picked.png")));
    EXPECT_FALSE(picked.isNull());
    EXPECT_EQ(picked, QImage(QString::fromStdString(dir.file("second.png"))));
}

// A picture whose PostScript never ends, on 20 cards: Ghostscript is run
// once for the whole job and stopped at the limit; every card gets the
// stand-in at once, and the job says once which file failed and why.
TEST(PrintPdfTool, AnEpsThatNeverEndsIsTriedOnceAJobAndNamedOnce)
{
    TempDir dir;
    if (Shell(dir, "command -v gs >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is not installed";
    WriteFileBytes(dir.file("forever.eps"), "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\n{ } loop\n%%EOF\n");
    // A gs that counts its runs before it hands over to the real one.
    ASSERT_EQ(Shell(dir, "mkdir bin && printf '#!/bin/sh\\necho run >> \"%s/runs\"\\nexec \"%s\" \"$@\"\\n' "
                         "\"$PWD\" \"$(command -v gs)\" > bin/gs && chmod +x bin/gs"),
              0);
    const std::string run = "export TESSALINE_PICTURE_TIME_LIMIT_MS=1000 PATH=\"$PWD/bin:$PATH\"; ";
    ASSERT_EQ(Shell(dir, run + "\"$T\" card new-picture card.lqx forever.eps && \"$T\" db new people.dqx && "
                               "\"$T\" db fill people.dqx 20 --seed 3 >/dev/null && rm -f runs"),
              0);

    ASSERT_EQ(Shell(dir, run + "\"$T\" print-pdf card.lqx people.dqx out.pdf > said 2> err"), 0)
        << ReadFileBytes(dir.file("err"));
    EXPECT_EQ(ReadFileBytes(dir.file("runs")), "run\n") << "gs was run again for later cards";
    const std::string err = ReadFileBytes(dir.file("err"));
    EXPECT_NE(err.find("\"forever.eps\" could not be drawn: it took longer than 1 s."), std::string::npos) << err;
    EXPECT_EQ(err.find("forever.eps", err.find("forever.eps") + 1), std::string::npos) << "said more than once: " << err;
    EXPECT_EQ(Shell(dir, "test -s out.pdf"), 0);
}

// An EPS that Ghostscript fails on, or whose PostScript never ends, goes to
// a PostScript printer as the stand-in the job names, not as its own code,
// on which a printer would stop or hang: the job runs through Ghostscript.
TEST(PrintPdfTool, AnEpsReplacedByItsStandInIsLeftOutOfThePostScriptJob)
{
    TempDir dir;
    if (Shell(dir, "command -v gs >/dev/null && command -v timeout >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "Ghostscript is not installed";
    const std::string box = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\n";
    const std::pair<std::string, std::string> pictures[] = {{"broken", "nosuchoperator"}, {"forever", "{ 1 pop } loop"}};
    const std::string run = "export TESSALINE_PICTURE_TIME_LIMIT_MS=1000; ";
    for (const auto& [name, code] : pictures) {
        WriteFileBytes(dir.file(name + ".eps"), box + code + "\n%%EOF\n");
        ASSERT_EQ(Shell(dir, run + "\"$T\" card new-picture " + name + ".lqx " + name + ".eps >/dev/null 2>&1"), 0);
        ASSERT_EQ(Shell(dir, run + "\"$T\" print-ps " + name + ".lqx " + name + ".ps > said 2> err"), 0)
            << ReadFileBytes(dir.file("err"));
        const std::string err = ReadFileBytes(dir.file("err"));
        EXPECT_NE(err.find(name + ".eps\" could not be drawn"), std::string::npos) << err;
        EXPECT_NE(err.find("Its stand-in was printed on every card."), std::string::npos) << err;
        const std::string job = PostScriptAsRun(ReadFileBytes(dir.file(name + ".ps")));
        ASSERT_FALSE(job.empty()) << name;
        EXPECT_EQ(job.find(code), std::string::npos) << name;
        EXPECT_EQ(Shell(dir, "timeout 60 gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=nullpage " + name + ".ps"), 0)
            << name;
    }
}

// A card whose metafile holds a path of more points than a picture may
// keep: every card of the job gets its stand-in, the job names the file
// and why once, and the PDF is written (as for an EPS that never ends).
TEST(PrintPdfTool, AMetafileTooLargeToDrawPrintsItsStandInAndIsNamedOnce)
{
    TempDir dir;
    const std::vector<uint8_t> bytes = RunawayMetafile(true, kMetafileMaxPathPoints / 3 + 1);
    WriteFileBytes(dir.file("runaway.emf"), std::string(bytes.begin(), bytes.end()));
    ASSERT_EQ(Shell(dir, "\"$T\" card new-picture card.lqx runaway.emf >/dev/null 2>&1 && \"$T\" db new people.dqx && "
                         "\"$T\" db fill people.dqx 20 --seed 3 >/dev/null"),
              0);
    ASSERT_EQ(Shell(dir, "\"$T\" print-pdf card.lqx people.dqx out.pdf > said 2> err"), 0)
        << ReadFileBytes(dir.file("err"));
    const std::string err = ReadFileBytes(dir.file("err"));
    EXPECT_NE(err.find("The picture \"runaway.emf\" could not be drawn: one of its shapes has more than 1048576 "
                       "points. Its stand-in was printed on every card."),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("runaway.emf", err.find("runaway.emf") + 1), std::string::npos) << "said more than once: " << err;
    EXPECT_EQ(Shell(dir, "test -s out.pdf"), 0);
}

// A card cut short or with bytes changed: print-pdf and print-ps either
// print it or fail and write nothing, leaving the file already under the
// output's name as it was; card dump's one verdict says the same.
TEST(PrintPdfTool, ADamagedCardNeverPrintsAndDumpSaysTheSame)
{
    TempDir dir;
    const std::string sample = ReadFileBytes(kSample);
    ASSERT_GT(sample.size(), 8000u);
    std::vector<std::pair<std::string, std::string>> cards;
    // Marked damaged by an unfinished save: it opens, but may not print.
    std::string marked = sample;
    marked[0] = 1;
    cards.emplace_back("marked", marked);
    for (size_t length : {size_t(0), size_t(60), size_t(119), size_t(120), size_t(4000), size_t(7000),
                          size_t(7001), sample.size() / 2, sample.size() * 3 / 4, sample.size() - 200,
                          sample.size() - 1})
        cards.emplace_back("cut at " + std::to_string(length), sample.substr(0, length));
    for (size_t at = 0; at < sample.size(); at += sample.size() / 23 + 1) {
        std::string changed = sample;
        changed[at] = char(~uint8_t(changed[at]));
        cards.emplace_back("byte " + std::to_string(at) + " changed", changed);
    }
    int refused = 0;
    for (const auto& [what, bytes] : cards) {
        SCOPED_TRACE(what);
        WriteFileBytes(dir.file("card.lqx"), bytes);
        WriteFileBytes(dir.file("out.pdf"), "old");
        WriteFileBytes(dir.file("out.ps"), "old");
        const bool printed = Shell(dir, "\"$T\" print-pdf card.lqx out.pdf >/dev/null 2>err") == 0;
        // What the opening found damaged is not printed.
        if (what == "marked" || ReadFileBytes(dir.file("err")).find("damaged") != std::string::npos) {
            EXPECT_FALSE(printed) << ReadFileBytes(dir.file("err"));
        }
        EXPECT_EQ(Shell(dir, "\"$T\" print-ps card.lqx out.ps >/dev/null 2>&1") == 0, printed);
        const bool dumpGood = Shell(dir, "\"$T\" card dump card.lqx > dump 2>/dev/null") == 0;
        const std::string dump = ReadFileBytes(dir.file("dump"));
        EXPECT_EQ(dumpGood, printed) << dump;
        const size_t check = dump.find("check: ");
        if (check != std::string::npos) {
            EXPECT_EQ(dump.find("check: ", check + 1), std::string::npos) << dump;
            EXPECT_EQ(dump.compare(check, 11, "check: good") == 0, printed) << dump;
        }
        if (!printed) {
            ++refused;
            EXPECT_EQ(ReadFileBytes(dir.file("out.pdf")), "old");
            EXPECT_EQ(ReadFileBytes(dir.file("out.ps")), "old");
        }
    }
    EXPECT_GT(refused, 10);
}

// The most path segments a page of the PDF file holds: a rectangle counts
// four, a line or a curve one. The pages' dictionaries are read where they
// are written, in the file or in its object streams.
const char* const kPageSegments =
    "import re, sys, zlib\n"
    "pdf = open(sys.argv[1], 'rb').read()\n"
    "streams, packed = {}, []\n"
    "for m in re.finditer(rb'(\\d+) 0 obj\\s*<<((?:(?!endobj).)*?)>>\\s*stream\\r?\\n', pdf, re.S):\n"
    "    body = pdf[m.end():pdf.find(b'endstream', m.end())]\n"
    "    streams[m.group(1)] = zlib.decompress(body) if b'/FlateDecode' in m.group(2) else body\n"
    "    if b'/Type /ObjStm' in m.group(2):\n"
    "        packed.append(streams[m.group(1)])\n"
    "most, pages = 0, 0\n"
    "for page in re.finditer(rb'/Type /Page\\s.*?/Contents (\\[[^\\]]*\\]|\\d+ 0 R)', pdf + b''.join(packed), re.S):\n"
    "    ops = b' '.join(streams[n] for n in re.findall(rb'(\\d+) 0 R', page.group(1)))\n"
    "    words = re.findall(rb'[^\\s\\[\\]()<>/]+', ops)\n"
    "    most = max(most, sum(4 if w == b're' else 1 for w in words if w in (b're', b'l', b'c', b'v', b'y')))\n"
    "    pages += 1\n"
    "print(most if pages else 'no pages')\n";

// Display text in every style of its effects (each outline, fill and
// shadow, alone, together and turned) and shapes of every fill and border
// style reach the file as the outlines they were made from: a sheet of ten
// such cards stays within its budget of path segments (as rows of pixels
// it held over a million), and its first card looks as it did when drawn
// by rows of pixels, to a pixel and the shading of the edges.
TEST(PrintPdfTool, DisplayTextOfEveryEffectAndShapesOfEveryStylePrintAsOutlines)
{
    TempDir dir;
    if (Shell(dir, "command -v pdftoppm >/dev/null && command -v python3 >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "pdftoppm (poppler-utils) or python3 is not installed";
    ASSERT_EQ(Shell(dir, "\"$T\" card new-effects effects.lqx && \"$T\" db new people.dqx && "
                         "\"$T\" db fill people.dqx 10 --seed 3 >/dev/null && "
                         "\"$T\" print-pdf effects.lqx people.dqx effects.pdf >/dev/null"),
              0);
    WriteFileBytes(dir.file("segments.py"), kPageSegments);
    EXPECT_EQ(Shell(dir, "test $(python3 segments.py effects.pdf) -le 120000"), 0);

    ASSERT_EQ(Shell(dir, "pdftoppm -r 100 -f 1 -l 1 -x 75 -y 50 -W 350 -H 200 -png effects.pdf card"), 0);
    const QImage card(QString::fromStdString(dir.file("card-1.png")));
    const QImage expected(QString::fromStdString(std::string(TESSALINE_TEST_DATA_DIR) + "/print/effects-card.png"));
    ASSERT_FALSE(expected.isNull());
    ASSERT_EQ(card.size(), expected.size());
    EXPECT_LE(UnmatchedPixels(card, expected, 64), 400);
    EXPECT_LE(UnmatchedPixels(expected, card, 64), 400);

    // The same job as PostScript, its hatched and patterned fills among it,
    // is one an interpreter runs to its end.
    if (Shell(dir, "command -v gs >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "gs (Ghostscript) is not installed";
    ASSERT_EQ(Shell(dir, "\"$T\" print-ps effects.lqx people.dqx effects.ps >/dev/null"), 0);
    EXPECT_EQ(Shell(dir, "gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=nullpage effects.ps >gs.log 2>&1 && "
                         "! grep -q Error gs.log"),
              0);
}

// A display text prints at the size and place the window shows it: laid
// into its frame with the frame's margin round it, whatever the printer's
// resolution (the margin was once kept in printer dots and vanished on
// paper, so the words filled and overran their frame). The effects card's
// second word, 58 x 30 points at (66, 4) on the first card at (54, 36),
// with a thin outline and no shadow, is measured at two renderings.
TEST(PrintPdfTool, DisplayTextPrintsWithinItsFrameLessItsMargin)
{
    TempDir dir;
    if (Shell(dir, "command -v pdftoppm >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "pdftoppm (poppler-utils) is not installed";
    ASSERT_EQ(Shell(dir, "\"$T\" card new-effects effects.lqx && \"$T\" db new people.dqx && "
                         "\"$T\" db fill people.dqx 1 --seed 3 >/dev/null && "
                         "\"$T\" print-pdf effects.lqx people.dqx effects.pdf >/dev/null"),
              0);
    // The page area between the word's neighbours, in points.
    const double kLeft = 117, kTop = 38, kWidth = 64, kHeight = 34;
    const double kFrameLeft = 120, kFrameTop = 40, kFrameRight = 178, kFrameBottom = 70, kMargin = 6;
    for (const int dpi : {72, 144}) {
        SCOPED_TRACE(dpi);
        const double px = dpi / 72.0;
        const std::string name = "word" + std::to_string(dpi);
        ASSERT_EQ(Shell(dir, "pdftoppm -r " + std::to_string(dpi) + " -f 1 -l 1 -x " + std::to_string(int(kLeft * px)) +
                                 " -y " + std::to_string(int(kTop * px)) + " -W " + std::to_string(int(kWidth * px)) +
                                 " -H " + std::to_string(int(kHeight * px)) + " -png effects.pdf " + name),
                  0);
        const QImage word(QString::fromStdString(dir.file(name + "-1.png")));
        ASSERT_FALSE(word.isNull());
        int left = word.width(), top = word.height(), right = -1, bottom = -1;
        for (int y = 0; y < word.height(); ++y) {
            for (int x = 0; x < word.width(); ++x) {
                const QRgb p = word.pixel(x, y);
                if (std::min({qRed(p), qGreen(p), qBlue(p)}) >= 200)
                    continue;
                left = std::min(left, x);
                right = std::max(right, x + 1);
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
            }
        }
        ASSERT_GE(right, 0) << "no ink";
        // A pixel either way for the rendering's rounding and edge shading.
        const double slack = 1 / px + 1;
        EXPECT_GE(kLeft + left / px, kFrameLeft + kMargin - slack);
        EXPECT_LE(kLeft + right / px, kFrameRight - kMargin + slack);
        EXPECT_GE(kTop + top / px, kFrameTop + kMargin - slack);
        EXPECT_LE(kTop + bottom / px, kFrameBottom - kMargin + slack);
        // Stretched to fill what the margin leaves.
        EXPECT_GE((right - left) / px, kFrameRight - kFrameLeft - 2 * kMargin - 2 * slack);
    }
}

// A card of every frame kind turned at odd angles clips its display text
// with the letters alone, written once for the shadow and once for the
// face, without the turned frame and rectangle around them or a clip
// written over for each: a sheet of ten stays within its budget of path
// segments.
TEST(PrintPdfTool, OddAngledCardOfEveryFrameKindWritesEachClipOnce)
{
    TempDir dir;
    if (Shell(dir, "command -v python3 >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "python3 is not installed";
    // Its turned ZIP barcode crosses the card's edge where a ZIP has four
    // more digits: the job is whole, says so, and ends with 2.
    ASSERT_EQ(Shell(dir, "mkdir pics && \"$T\" card new-odd-a odd.lqx \"$PWD/pics\" >/dev/null && "
                         "\"$T\" db new people.dqx && \"$T\" db fill people.dqx 10 --seed 3 >/dev/null && "
                         "{ \"$T\" print-pdf odd.lqx people.dqx odd.pdf >/dev/null 2>&1; test $? -eq 2; }"),
              0);
    WriteFileBytes(dir.file("segments.py"), kPageSegments);
    EXPECT_EQ(Shell(dir, "test $(python3 segments.py odd.pdf) -le 9800"), 0);
}

}  // namespace

namespace {

std::string LinkTarget(const std::string& link)
{
    char named[4096];
    const ssize_t n = readlink(link.c_str(), named, sizeof named);
    return n < 0 ? std::string() : std::string(named, size_t(n));
}

}  // namespace

// An output named by a link is written through it, whole, into the file the
// link (or a chain of them, relative or not) names; the links stay links.
// Links that name each other in a loop are refused, saying so, and stay.
TEST(PrintPdfTool, AnOutputThatIsALinkIsWrittenThroughAndALoopIsRefused)
{
    TempDir dir;
    WriteFileBytes(dir.file("card.lqx"), ReadFileBytes(kSample));
    ASSERT_EQ(Shell(dir, "mkdir real sub && echo old > real/target.pdf && ln -s real/target.pdf link.pdf && "
                         "ln -s ../link.pdf sub/chain.pdf && ln -s loop2.pdf loop.pdf && ln -s loop.pdf loop2.pdf"),
              0);

    ASSERT_EQ(Shell(dir, "\"$T\" print-pdf card.lqx link.pdf > said"), 0);
    EXPECT_EQ(LinkTarget(dir.file("link.pdf")), "real/target.pdf");
    EXPECT_EQ(ReadFileBytes(dir.file("real/target.pdf")).rfind("%PDF-", 0), 0u);
    WriteFileBytes(dir.file("real/target.pdf"), "old");
    ASSERT_EQ(Shell(dir, "\"$T\" print-pdf card.lqx sub/chain.pdf > said"), 0);
    EXPECT_EQ(LinkTarget(dir.file("sub/chain.pdf")), "../link.pdf");
    EXPECT_EQ(ReadFileBytes(dir.file("real/target.pdf")).rfind("%PDF-", 0), 0u);
    WriteFileBytes(dir.file("real/target.pdf"), "old");
    ASSERT_EQ(Shell(dir, "ln -s \"$PWD/real/target.pdf\" sub/absolute.pdf && \"$T\" print-pdf card.lqx sub/absolute.pdf "
                         "> said"),
              0);
    EXPECT_EQ(ReadFileBytes(dir.file("real/target.pdf")).rfind("%PDF-", 0), 0u);
    // As long a chain as the system follows in a path: 40 links.
    WriteFileBytes(dir.file("real/target.pdf"), "old");
    ASSERT_EQ(Shell(dir, "ln -s real/target.pdf l40.pdf && for i in $(seq 39 -1 1); do ln -s l$((i + 1)).pdf l$i.pdf; "
                         "done && \"$T\" print-pdf card.lqx l1.pdf > said"),
              0);
    EXPECT_EQ(ReadFileBytes(dir.file("real/target.pdf")).rfind("%PDF-", 0), 0u);
    // Nothing of the write is left beside the link or the file.
    EXPECT_EQ(Shell(dir, "ls real sub | grep -q TMP"), 1);

    EXPECT_EQ(Shell(dir, "\"$T\" print-pdf card.lqx loop.pdf 2> said"), 1);
    EXPECT_EQ(ReadFileBytes(dir.file("said")),
              "tessaline-tool: Nothing was printed: \"loop.pdf\" is a link that leads back to itself (its links "
              "name each other in a loop).\n");
    EXPECT_EQ(LinkTarget(dir.file("loop.pdf")), "loop2.pdf");
    EXPECT_EQ(LinkTarget(dir.file("loop2.pdf")), "loop.pdf");
}

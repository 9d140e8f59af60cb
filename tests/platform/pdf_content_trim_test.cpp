// A page's content trimmed must draw what it drew: a label's clip, state
// and saves as Qt's PDF engine writes them come out shorter, and whatever
// might draw differently is kept.
#include <gtest/gtest.h>

#include <string>

#include <QByteArray>

#include "pdf/pdf_content_trim.h"

namespace {

std::string Trimmed(const char* content) { return TrimPageContent(QByteArray(content)).toStdString(); }

TEST(PdfContentTrim, ALabelSaysOnceWhatThePageHolds)
{
    // Two labels as the engine writes them: empty saves at the start, the
    // cell's clip as five points, the colour space, colour and graphics
    // state set again in a save around the text.
    const char* label =
        "Q q\n111 253 m\n1011 253 l\n1011 753 l\n111 753 l\n111 253 l\nh\nW* n\n"
        "q\nq\n/CSp cs 0 0 0 scn\n/GSa gs\nBT\n/F7 75 Tf 1 0 0 -1 0 0 Tm\n328 -519 Td <0001> Tj\nET\nQ\nQ\n";
    const std::string page = std::string("/GSa gs /CSp cs /CSp CS\n0.12 0 0 -0.12 0 842 cm\nq q\nQ\n") + label +
                             label + "Q\n";
    const std::string cell = "Q q\n111 253 900 500 re\nW n\n0 0 0 scn\nBT\n/F7 75 Tf 1 0 0 -1 0 0 Tm\n"
                             "328 -519 Td <0001> Tj\nET\n";
    EXPECT_EQ(Trimmed(page.c_str()), "/GSa gs /CSp cs /CSp CS\n0.12 0 0 -0.12 0 842 cm\nq\n" + cell.substr(4) + cell + "Q\n");

    // A clip drawn up first, its corners with more places, and without
    // the point back to the start.
    EXPECT_EQ(Trimmed("q\n1.5 2 m\n1.5 12.25 l\n11 12.25 l\n11 2 l\nh\nW n\n0 0 10 10 re\nf\nQ\n"),
              "q\n1.5 2 9.5 10.25 re\nW n\n0 0 10 10 re\nf\nQ\n");
    // A colour, width and dash set again within a save are left out; set
    // anew after a graphics state, which may set them too, they stay.
    EXPECT_EQ(Trimmed("1 0 0 rg 2 w []0 d\nq\n1 0 0 rg 2 w []0 d\n0 0 1 1 re f\n/GS1 gs 2 w\n0 0 1 1 re f\nQ\n"),
              "1 0 0 rg 2 w []0 d\nq\n0 0 1 1 re f\n/GS1 gs 2 w\n0 0 1 1 re f\nQ\n");
}

TEST(PdfContentTrim, LabelsThatSetTheSameShareOneSave)
{
    // Each label sets its colour and font in a save of its own: the
    // second is drawn in the first's, as it sets nothing else.
    const char* label = "q\n/CSp cs 0 0 0 scn\n/GSa gs\nBT\n/F7 75 Tf 1 0 0 -1 0 0 Tm\n%s Td <0001> Tj\nET\nQ\n";
    std::string page = "/GSa gs /CSp cs\n";
    for (const char* at : {"328 -519", "1305 -519"})
        page += QByteArray(label).replace("%s", at).toStdString();
    EXPECT_EQ(Trimmed(page.c_str()), "/GSa gs /CSp cs\nq\n0 0 0 scn\nBT\n/F7 75 Tf 1 0 0 -1 0 0 Tm\n"
                                     "328 -519 Td <0001> Tj\nET\nBT\n1 0 0 -1 0 0 Tm\n1305 -519 Td <0001> Tj\nET\nQ\n");
    // A second save that sets another colour, leaves the first one's
    // colour unset, or follows a save that moved or clipped: two saves.
    for (const char* content : {"q\n1 0 0 rg\n0 0 1 1 re f\nQ\nq\n0 0 1 rg\n0 0 1 1 re f\nQ\n",
                                "q\n1 0 0 rg\n0 0 1 1 re f\nQ\nq\n0 0 1 1 re f\nQ\n",
                                "q\n2 0 0 2 0 0 cm\n1 0 0 rg\n0 0 1 1 re f\nQ\nq\n1 0 0 rg\n0 0 1 1 re f\nQ\n",
                                "q\n0 0 5 5 re W n\n1 0 0 rg\n0 0 1 1 re f\nQ\nq\n1 0 0 rg\n0 0 1 1 re f\nQ\n"})
        EXPECT_EQ(Trimmed(content), content);
}

TEST(PdfContentTrim, LabelsInOneSaveAreOneTextObject)
{
    // The second label's text goes on in the first one's text object, its
    // line placed from the first one's: at 1305 -519 in the same matrix,
    // whether that matrix is written again or moved by 10 20.
    GlyphRunWidths runs;
    runs.widths = {560, 560, 560, 560};
    runs.counts = {2, 2};
    const std::string label = "q\n0 0 0 scn\nBT\n/F7 75 Tf %1 Tm\n%2 Td <0001> Tj\n42 0 Td <0001> Tj\nET\nQ\n";
    const auto page = [&](const char* matrix, const char* at, const char* before = "/GSa gs\n") {
        const QString first = QString::fromStdString(label).arg("1 0 0 -1 0 0", "328 -519");
        return TrimPageContent((before + first + QString::fromStdString(label).arg(matrix, at)).toUtf8(), &runs)
            .toStdString();
    };
    const std::string one = "/GSa gs\nq\n0 0 0 scn\nBT\n/F7 75 Tf 1 0 0 -1 0 0 Tm\n328 -519 Td [<0001>-.1<0001>]TJ\n"
                            "977 0 Td [<0001>-.1<0001>]TJ\nET\nQ\n";
    EXPECT_EQ(page("1 0 0 -1 0 0", "1305 -519"), one);
    EXPECT_EQ(page("1 0 0 -1 10 20", "1295 -499"), one);
    // Another scale, text drawn as a clip, glyphs that may show through
    // each other, or a line placed by more than 64 bits at its places: two
    // text objects.
    for (const std::string& apart : {page("2 0 0 -2 0 0", "652.5 -259.5"), page("1 0 0 -1 0 0", "1305 -519", "7 Tr\n"),
                                     page("1 0 0 -1 0 0", "1305 -519", "/GS1 gs\n"),
                                     page("1 0 0 -1 123456789012345 0", "0.123456789 -519")})
        EXPECT_NE(apart.find("ET\nBT\n"), std::string::npos) << apart;
}

TEST(PdfContentTrim, WhatMightDrawOtherwiseStays)
{
    // The same space set again resets its colour: kept when no colour
    // follows. A path that is not one rectangle stays a path, and so does
    // one whose size would take more than 64 bits at the places of its
    // corners.
    for (const char* content : {"/CSp cs 1 0 0 scn\n/CSp cs\n0 0 1 1 re f\n",
                                "q\n0 0 m\n10 0 l\n10 10 l\n0 11 l\nh\nW* n\n0 0 1 1 re f\nQ\n",
                                "q\n123456789012345 0 m\n0.123456789 0 l\n0.123456789 5 l\n123456789012345 5 l\nh\n"
                                "W n\n0 0 1 1 re f\nQ\n",
                                "q\n0 0 m\n10 0 l\n10 10 l\n0 10 l\nh\nS\nQ\n"})
        EXPECT_EQ(Trimmed(content), content);
    // Inline image data, strings or dictionaries that do not close: the
    // content as it is.
    for (const char* content : {"q Q\nBI /W 1 /H 1 ID \x01\x02 EI\n", "q Q\n(open Tj\n", "q Q\n<< /A 1 BDC\n"})
        EXPECT_EQ(Trimmed(content), content);
}

TEST(PdfContentTrim, BarsOfAnyLengthStayAndWhatIsSetAmongThemIsFollowed)
{
    // A bar code's bars, their numbers of every length so that they fall
    // across the blocks the numbers are passed in, are written as they
    // are, the page ending with one or not; a colour set again among them
    // goes, another stays.
    std::string bars;
    for (size_t digits = 1; digits < 40; ++digits) {
        const std::string number = digits < 4 ? std::string(digits, '7') : "-12." + std::string(digits - 4, '5');
        bars += number + " 1233 " + number.substr(number.size() / 2) + " 100 re\nf\n";
    }
    const std::string set = "0 0 0 scn\n";
    const std::string other = "1 0.5 0.25 scn\n";
    EXPECT_EQ(Trimmed(("q\n" + set + bars + set + bars + other + bars + other + bars + "Q\n").c_str()),
              "q\n" + set + bars + bars + other + bars + bars + "Q\n");
    const std::string last = set + bars.substr(0, bars.size() - 1);
    EXPECT_EQ(Trimmed(last.c_str()), last);

    // A run of glyphs of any length is one string where it has as many
    // lines as widths; a line more or fewer keeps its lines.
    for (int32_t count = 2; count < 70; ++count) {
        std::string run = "BT\n/F7 75 Tf 1 0 0 -1 0 0 Tm\n328 -519 Td <0001> Tj\n";
        for (int32_t k = 1; k < count; ++k)
            run += "42 0 Td <0001> Tj\n";
        run += "ET\n";
        for (const int32_t lines : {count, count + 1, count - 1}) {
            GlyphRunWidths runs;
            runs.widths.assign(size_t(lines), 560);
            runs.counts = {lines};
            const std::string out = TrimPageContent(QByteArray::fromStdString(run), &runs).toStdString();
            if (lines == count)
                EXPECT_EQ(out.find(" Tj"), std::string::npos) << out;
            else
                EXPECT_EQ(out, run);
        }
    }
}

}  // namespace

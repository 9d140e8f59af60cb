// A page's content written anew must draw what it drew: every point,
// matrix, text and picture of a part lands where it did once the part's
// origin is added back.
#include <gtest/gtest.h>

#include <string>

#include <QByteArray>

#include "pdf/pdf_local_origins.h"

namespace {

TEST(PdfLocalOrigins, EachPartIsDrawnFromItsFirstPointAndLandsWhereItDid)
{
    // A label's part: its clip, a filled shape, text with and without a
    // text matrix, a picture placed by a matrix and a shading painted where
    // the user space stands.
    const QByteArray page =
        "0.120000000 0 0 -0.120000000 0 792 cm\nq q\nQ\nQ q\n"
        "2550.5 300 m\n4650 300 l\n4650 1500 l\n2550.5 1500 l\nh\nW* n\nq\n"
        "/CSp cs 1 0.5 0 scn\n/GSa gs\n2600 400 50 50 re\nf\n"
        "BT\n/F1 9 Tf 1 0 0 -1 0 0 Tm\n600 -900 Td <0001> Tj\nET\n"
        "BT\n10 20 Td <0002> Tj\nET\n"
        "q 100 0 0 50 2700 600 cm /Im1 Do Q\n/Sh1 sh\nQ\n"
        // The next label: the same drawing one label further right, its
        // outline's points and a bar's width to hundredths (Qt writes nine
        // digits).
        "Q q\n4650.5 300 m\n4700.12345 350.004999 l\nS\n4660 310 4.16666666 116 re\nf\nQ\n";
    const QByteArray want =
        "0.120000000 0 0 -0.120000000 0 792 cm\nq q\nQ\nQ q\n"
        "1 0 0 1 2550.5 300 cm\n0 0 m\n2099.5 0 l\n2099.5 1200 l\n0 1200 l\nh\nW* n\nq\n"
        "/CSp cs 1 0.5 0 scn\n/GSa gs\n49.5 100 50 50 re\nf\n"
        "BT\n/F1 9 Tf 1 0 0 -1 -2550.5 -300 Tm\n600 -900 Td <0001> Tj\nET\n"
        "BT\n1 0 0 1 -2550.5 -300 Tm\n10 20 Td <0002> Tj\nET\n"
        "q 100 0 0 50 149.5 300 cm /Im1 Do Q\nq 1 0 0 1 -2550.5 -300 cm\n/Sh1 sh\nQ\nQ\n"
        "Q q\n1 0 0 1 4650.5 300 cm\n0 0 m\n49.62 50 l\nS\n9.5 10 4.17 116 re\nf\nQ\n";
    EXPECT_EQ(DrawFromLocalOrigins(page), want);

    // Drawn larger than the page's unit (under an enlarging matrix), a
    // hundredth would show: such points keep their digits, and those
    // after a matrix within a part stay in that matrix's space.
    EXPECT_EQ(DrawFromLocalOrigins("q\n1.23456 2 m\n100 0 0 100 5 5 cm\n1.23456 2 m\nQ\n"),
              "q\n1 0 0 1 1.23 2 cm\n0.00456 0 m\n100 0 0 100 3.77 3 cm\n1.23456 2 m\nQ\n");
}

TEST(PdfLocalOrigins, RoundingMovesNoPointFartherThanAThousandthOfAPoint)
{
    // Halves go away from zero, in a point and in a rectangle's size.
    EXPECT_EQ(DrawFromLocalOrigins("0.12 0 0 -0.12 0 792 cm\nq\n0 0 m\n11.005 -11.005 l\n1 1 2.005 3.015 re\nQ\n").toStdString(),
              "0.12 0 0 -0.12 0 792 cm\nq\n1 0 0 1 0 0 cm\n0 0 m\n11.01 -11.01 l\n1 1 2.01 3.02 re\nQ\n");
    // A page matrix shrinking both axes to a twenty-fifth lets points go
    // to hundredths; one shrinking a single axis as much shrinks the area
    // as much, but a hundredth along the other axis would move a point
    // 0.005 pt: there the points keep their digits.
    EXPECT_EQ(DrawFromLocalOrigins("0.04 0 0 0.04 0 0 cm\nq\n10.123 20.126 m\nQ\n").toStdString(),
              "0.04 0 0 0.04 0 0 cm\nq\n1 0 0 1 10.12 20.12 cm\n0 0.01 m\nQ\n");
    for (const char* matrix : {"1 0 0 0.04 0 0 cm\n", "0.04 0 0 1 0 0 cm\n", "0 0.04 -1 0 0 0 cm\n"})
        EXPECT_EQ(DrawFromLocalOrigins(QByteArray(matrix) + "q\n10.123 20.126 m\nQ\n").toStdString(),
                  std::string(matrix) + "q\n1 0 0 1 10.12 20.12 cm\n0.003 0.006 m\nQ\n")
            << matrix;
}

TEST(PdfLocalOrigins, BarsOfABarcodeLandWhereTheyDid)
{
    // Bars of two widths at moved x, then a bar whose height breaks the
    // run, one back in a width seen before, one whose x cannot be read
    // (its part keeps its content) and, in the next part, the same bars
    // under another origin: each bar as if drawn alone.
    const QByteArray bars =
        "1733 1233 4.16666666 100 re\nf\n1745.50000 1233 4.16666666 100 re\nf\n"
        "1753.83333 1233 8.33333333 100 re\nf\n1766.33333 1233 8.33333333 100 re\nf\n"
        "1778.83333 1233 8.33333333 120 re\nf\n1787.16666 1233 4.16666666 100 re\nf\n"
        "-1795.005 1233 4.16666666 100 re f\n";
    const QByteArray page = "0.12 0 0 -0.12 0 792 cm\nq\n" + bars + "Q\nq\n1700 1200 m\n" + bars + "Q\n";
    const QByteArray bar1 = "0 0 4.17 100 re\nf\n12.5 0 4.17 100 re\nf\n20.83 0 8.33 100 re\nf\n"
                            "33.33 0 8.33 100 re\nf\n45.83 0 8.33 120 re\nf\n54.17 0 4.17 100 re\nf\n";
    const QByteArray bar2 = "33 33 4.17 100 re\nf\n45.5 33 4.17 100 re\nf\n53.83 33 8.33 100 re\nf\n"
                            "66.33 33 8.33 100 re\nf\n78.83 33 8.33 120 re\nf\n87.17 33 4.17 100 re\nf\n";
    EXPECT_EQ(DrawFromLocalOrigins(page).toStdString(),
              ("0.12 0 0 -0.12 0 792 cm\nq\n1 0 0 1 1733 1233 cm\n" + bar1 + "-3528.01 0 4.17 100 re f\nQ\n"
               "q\n1 0 0 1 1700 1200 cm\n0 0 m\n" + bar2 + "-3495.01 33 4.17 100 re f\nQ\n")
                  .toStdString());
    // A bar whose x is no number, or too long to read quickly, and bars
    // where a hundredth would show, keep every digit.
    EXPECT_EQ(DrawFromLocalOrigins("0.12 0 0 -0.12 0 792 cm\nq\n1 1 2.5 3 re\nf\n12345678.5 1 2.5 3 re\nf\n1x 1 2.5 3 re\nf\nQ\n")
                  .toStdString(),
              "0.12 0 0 -0.12 0 792 cm\nq\n1 1 2.5 3 re\nf\n12345678.5 1 2.5 3 re\nf\n1x 1 2.5 3 re\nf\nQ\n");
    EXPECT_EQ(DrawFromLocalOrigins("q\n10.125 5 2.125 3 re\nf\n20.125 5 2.125 3 re\nf\nQ\n").toStdString(),
              "q\n1 0 0 1 10.12 5 cm\n0.005 0 2.125 3 re\nf\n10.005 0 2.125 3 re\nf\nQ\n");
}

TEST(PdfLocalOrigins, WhatCannotBeFollowedKeepsItsContent)
{
    // An operator the pass does not know keeps its part as it was; the
    // next part is still drawn from its origin.
    EXPECT_EQ(DrawFromLocalOrigins("q\n10 20 m\n/X unknown\n30 40 l\nS\nQ\nq\n5 5 m\nQ\n"),
              "q\n10 20 m\n/X unknown\n30 40 l\nS\nQ\nq\n1 0 0 1 5 5 cm\n0 0 m\nQ\n");
    // Inline image data, a string left open or closed without its start:
    // the page as it is, and no hang.
    for (const QByteArray& page : {QByteArray("q\n10 20 m\nBI /W 1 /H 1 ID \x01\x02 EI\nQ\n"),
                                  QByteArray("q\n10 20 m\n(open Tj\nQ\n"), QByteArray("q\n10 20 m\n) Tj\nQ\n")})
        EXPECT_EQ(DrawFromLocalOrigins(page), page);
}

}  // namespace

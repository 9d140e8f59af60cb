// A page's content with its numbers written shorter must draw the same: an
// outline's points move by no more than a hundredth of the job's unit, and
// only where that is far below a dot; everything else keeps its value.
#include <gtest/gtest.h>

#include <QByteArray>

#include "platform/pdf_path_numbers.h"

namespace {

TEST(PdfPathNumbers, OutlinesGoToHundredthsOfTheUnitAndNothingElseMoves)
{
    // The page's matrix takes a 600 dpi unit to 0.12 points: a turned bar,
    // filled, loses its line back to its start and its closing (filling
    // closes it); a stroked outline keeps both.
    const QByteArray page =
        "q\n0.120000000 0 0 -0.120000000 0 792 cm\n/CSp cs 0.705882370 0 0 scn\n"
        "1756.72921 1290.51746 m\n1737.19265 1244.49222 l\n1733.35721 1246.12027 l\n"
        "1756.72921 1290.51746 l\nh\nf\n"
        "10.50000 20 m\n30.12345 40 l\n10.50000 20 l\nh\nS\n"
        "1928.50000 1199 4.16666666 116 re\nf\n"
        "BT\n/F7 9.00000 Tf (1.23456 \\) 7.00000 l) Tj <3132> Tj ET\n"
        "[]0  d\n<< /MCID 3 >> BDC EMC\nQ\n";
    const QByteArray want =
        "q\n0.12 0 0 -0.12 0 792 cm\n/CSp cs 0.70588237 0 0 scn\n"
        "1756.73 1290.52 m\n1737.19 1244.49 l\n1733.36 1246.12 l\nf\n"
        "10.5 20 m\n30.12 40 l\n10.5 20 l\nh\nS\n"
        "1928.5 1199 4.17 116 re\nf\n"
        "BT\n/F7 9 Tf (1.23456 \\) 7.00000 l) Tj <3132> Tj ET\n"
        "[]0 d\n<< /MCID 3 >> BDC EMC\nQ\n";
    EXPECT_EQ(ShortenPathNumbers(page), want);

    // Drawn larger than the page's unit (before the page's matrix, or under
    // an enlarging one), a hundredth would show: the points keep theirs.
    const QByteArray large = "1.23456 2.5 m\n3.14159 4 l\nh\nf\n";
    EXPECT_EQ(ShortenPathNumbers(large), "1.23456 2.5 m\n3.14159 4 l\nf\n");
    const QByteArray enlarged = "0.12 0 0 0.12 0 0 cm\nq 100 0 0 100 0 0 cm\n1.23456 2 m\nQ\n1.23456 2 m\n";
    EXPECT_EQ(ShortenPathNumbers(enlarged), "0.12 0 0 0.12 0 0 cm\nq 100 0 0 100 0 0 cm\n1.23456 2 m\nQ\n1.23 2 m\n");

    // Operands parted by more than one space, or running on into a
    // delimiter or the content's end, are each followed by one space. A
    // point halfway between hundredths goes where its parsed value does
    // (1.005 reads as a little less, 0.125 exactly).
    const QByteArray runOn =
        "0.12 0 0 0.12 0 0 cm\n1.005 -0.004  2.675\n0.125 -0.125 c 12 13\nl[1.50 2]0 d 7 8/N 9.10";
    EXPECT_EQ(ShortenPathNumbers(runOn), "0.12 0 0 0.12 0 0 cm\n1 0 2.68 0.13 -0.13 c 12 13 l[1.5 2 ]0 d 7 8 /N 9.1 ");

    // Inline image data is not text, nor is a string's end without its
    // start: such a page passes as it is (rather than holding printing up).
    const QByteArray image = "0.12 0 0 0.12 0 0 cm\nBI /W 1 /H 1 ID \x01\x02 EI\n1.23456 2 m\n";
    EXPECT_EQ(ShortenPathNumbers(image), image);
    const QByteArray strayEnd = "0.12 0 0 0.12 0 0 cm\n1.23456 2 m\n) Tj\n";
    EXPECT_EQ(ShortenPathNumbers(strayEnd), strayEnd);
}

}  // namespace

// A page's content as Qt's PDF engine writes it, with each aslant run put
// in a span of its text: only runs turned by other than a quarter turn, in
// the order drawn, the matrix undone by "Q"; a page whose runs do not match
// the texts given stays as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QByteArray>

#include "platform/actual_text.h"
#include "pdf/pdf_content_spans.h"

namespace {

// A run of one glyph under its own matrix, inside the engine's q ... Q.
QByteArray GlyphRun(const char* matrix)
{
    return QByteArray("Q\nq\n") + matrix +
           " cm\nq\n/CSp cs 0 0 0 scn\nBT\n/F7 91 Tf 1 0 0 -1 0 0 Tm\n0 0 Td <0001> Tj\nET\nQ\n";
}

const char* const kPage = "/GSa gs /CSp cs /CSp CS\n0.24 0 0 -0.24 10.08 831.92 cm\nq q\n";

TEST(PdfContentSpans, SpansOnlyAslantRunsInTheOrderDrawn)
{
    const QByteArray content = kPage + GlyphRun("1 0 0 1 5 5") + GlyphRun("0 -1 1 0 9 9") +
                               GlyphRun("0.707106781 -0.707106781 0.707106781 0.707106781 4 4") +
                               GlyphRun("-1 0 0 -1 3 3") +
                               GlyphRun("0.956304755 0.292371704 -0.292371704 0.956304755 7 7") + "Q Q\n";
    QByteArray out;
    ASSERT_TRUE(SpanAslantText(content, {"Anne Ray", PdfTextString("Zo\xEB (\\)")}, &out));
    // The straight, quarter-turned and upside-down runs stay as they were.
    EXPECT_EQ(out.count("BDC"), 2);
    EXPECT_EQ(out.count("EMC"), 2);
    const qsizetype first = out.indexOf("/Span <</ActualText <416E6E6520526179>>> BDC\nBT");
    const qsizetype second =
        out.indexOf("/Span <</ActualText <FEFF005A006F00EB00200028005C0029>>> BDC\nBT");
    ASSERT_GE(first, 0) << out.constData();
    EXPECT_GT(second, first);
    EXPECT_EQ(out.mid(first).indexOf("ET\nEMC\nQ"), out.mid(first).indexOf("ET\n"));
    // Taking the spans out gives the content back.
    QByteArray back = out;
    back.replace("/Span <</ActualText <416E6E6520526179>>> BDC\n", "");
    back.replace("/Span <</ActualText <FEFF005A006F00EB00200028005C0029>>> BDC\n", "");
    back.replace("\nEMC", "");
    EXPECT_EQ(back, content);

    // A turn ends with its "Q": a straight run after it is not spanned.
    const QByteArray nested = QByteArray(kPage) + "q\n0.5 0.5 -0.5 0.5 0 0 cm\nQ\nBT\n<0001> Tj\nET\nQ Q\n";
    EXPECT_FALSE(SpanAslantText(nested, {"x"}, &out));
}

TEST(PdfContentSpans, TurnsThatUndoEachOtherLeaveARunLevel)
{
    // An eighth of a turn one way, then the other: the first run is level,
    // the second, turned by a third of a quarter, is the one text's.
    const QByteArray level = "q\n0.707106781 0.707106781 -0.707106781 0.707106781 0 0 cm\n"
                             "0.707106781 -0.707106781 0.707106781 0.707106781 4 4 cm\n"
                             "BT\n/F7 91 Tf\n0 0 Td <0001> Tj\nET\nQ\n";
    const QByteArray turned = GlyphRun("0.866025404 0.5 -0.5 0.866025404 1 1");
    QByteArray out;
    ASSERT_TRUE(SpanAslantText(kPage + level + turned + "Q Q\n", {"A"}, &out));
    EXPECT_EQ(out.count("BDC"), 1);
    EXPECT_TRUE(out.startsWith(kPage + level));
}

TEST(PdfContentSpans, APageWhoseRunsDoNotMatchTheTextsStaysAsItWas)
{
    const QByteArray content = kPage + GlyphRun("0.707106781 -0.707106781 0.707106781 0.707106781 4 4") + "Q Q\n";
    QByteArray out = "untouched";
    // A run drawn as outlines leaves one text over; none given, nothing to do.
    EXPECT_FALSE(SpanAslantText(content, {"one", "two"}, &out));
    EXPECT_FALSE(SpanAslantText(content, {}, &out));
    EXPECT_EQ(out, "untouched");
    EXPECT_TRUE(SpanAslantText(content, {"one"}, &out));
    // A run that says nothing keeps its place among the texts, unspanned.
    const QByteArray two = content + GlyphRun("0.5 0.8660254 -0.8660254 0.5 1 1");
    ASSERT_TRUE(SpanAslantText(two, {"", "two"}, &out));
    EXPECT_EQ(out.count("BDC"), 1);
    EXPECT_EQ(out.left(out.indexOf("<74776F>>> BDC")).count("<0001> Tj"), 1);
}

TEST(PdfContentSpans, ARunIsFoundWhereverItsLinesFallAndCommentsAreNotRead)
{
    // The page's lines are passed a block of bytes at a time: a line of
    // each length before the run moves its lines across the blocks' edges,
    // and the run may end the page. Comments that hold the operators the
    // spans follow change nothing, and the matrix's numbers are read
    // however they are written.
    const char* const matrices[] = {"0.707106781 -0.707106781 0.707106781 0.707106781 4 4",
                                    "0.70710678118654752 -0.70710678118654752 0.70710678118654752 0.70710678 4 4",
                                    "+.5 .5 -.5 +.5 0 0"};
    const std::string block = "BT\n/F7 91 Tf\n0 0 Td <0001> Tj\n%ET\n5 0 Td <0002> Tj\nET";
    for (const char* matrix : matrices) {
        for (size_t pad = 0; pad < 70; ++pad) {
            for (const char* tail : {"\nQ\nQ Q\n", ""}) {
                const std::string content = std::string(kPage) + std::string(pad, '1') +
                                            " w\n% q BT 1 0 0 1 0 0 cm\nq\n" + matrix +
                                            " cm % Q\nq 0 0 0 scn % BT\n" + block + tail;
                QByteArray out;
                ASSERT_TRUE(SpanAslantText(QByteArray::fromStdString(content), {"A"}, &out)) << content;
                const size_t at = content.find(block);
                EXPECT_EQ(out.toStdString(), content.substr(0, at) + "/Span <</ActualText <41>>> BDC\n" + block +
                                                 "\nEMC" + content.substr(at + block.size()))
                    << content;
            }
        }
    }
    // Written straight with "-0" and "1.": no run to span.
    QByteArray out;
    EXPECT_FALSE(SpanAslantText(QByteArray(kPage) + "q\n1. -0 0 1. 0 0 cm\nBT\n<0001> Tj\nET\nQ\n", {"A"}, &out));
}

}  // namespace

// A page's content made anew by the span filter changes its length, and
// with it the number of digits its length takes (999 bytes becoming
// 1,000 or more, 9,999 becoming 10,000, 10,000 becoming a few hundred):
// every object after it, and the cross-reference table, must still be
// found where the table says, or readers call the file damaged ("xref not
// found" on a large card).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <zlib.h>

#include "pdf/pdf_span_filter.h"
#include "support/needed_tools.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

// A run turned by 30 degrees, as the engine draws one, padded in front by
// `padding` (comments or drawing a reader ignores).
QByteArray SpannedPageContent(const QByteArray& padding)
{
    return "/CSp cs /CSp CS\n0.24 0 0 -0.24 10 190 cm\n" + padding +
           "q q\nQ\nq\n0.866025404 0.5 -0.5 0.866025404 20 20 cm\nq\nBT\n/F7 91 Tf 1 0 0 -1 0 0 Tm\n0 0 Td <0001> Tj\n"
           "ET\nQ\nQ Q\n";
}

// A comment of `n` bytes that barely compress.
QByteArray NoiseComment(int n)
{
    std::mt19937 noise{uint32_t(n)};
    QByteArray line = "%";
    for (int i = 0; i < n; ++i)
        line += char(0x80 + noise() % 0x80);
    return line + "\n";
}

QByteArray Compressed(const QByteArray& content, int level)
{
    QByteArray out(qsizetype(compressBound(uLong(content.size()))), '\0');
    uLongf size = uLongf(out.size());
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(content.constData()),
              uLong(content.size()), level);
    out.resize(qsizetype(size));
    return out;
}

// Content whose compressed form is a few bytes under `limit`: the text of
// its span then takes it past it.
QByteArray CompressedJustUnder(int limit)
{
    for (int n = limit * 8 / 7 - 300;; n += 4) {
        const QByteArray packed = Compressed(SpannedPageContent(NoiseComment(n)), 9);
        if (packed.size() >= limit - 40)
            return packed;
    }
}

// What the engine writes for one page, in its layout: the page, its
// content and the content's length, each "N 0 obj".
struct EnginePdf {
    QByteArray bytes = "%PDF-1.4\n";
    std::vector<qint64> offsets{0};

    void object(const QByteArray& body)
    {
        offsets.push_back(bytes.size());
        bytes += QByteArray::number(qsizetype(offsets.size() - 1)) + " 0 obj\n" + body + "endobj\n";
    }
    void page(const QByteArray& packed)
    {
        const qsizetype id = qsizetype(offsets.size());
        object("<<\n/Type /Page\n/Parent 2 0 R\n/Contents " + QByteArray::number(id + 1) +
               " 0 R\n/Resources << /Font << /F7 3 0 R >> >>\n/MediaBox [0 0 200 200]\n>>\n");
        object("<<\n/Length " + QByteArray::number(id + 2) + " 0 R\n/Filter /FlateDecode\n>>\nstream\n" + packed +
               "\nendstream\n");
        object(QByteArray::number(packed.size()) + "\n");
    }
    void xref()
    {
        const qint64 at = bytes.size();
        bytes += "xref\n0 " + QByteArray::number(qsizetype(offsets.size())) + "\n0000000000 65535 f \n";
        for (size_t i = 1; i < offsets.size(); ++i)
            bytes += QByteArray::number(offsets[i]).rightJustified(10, '0') + " 00000 n \n";
        bytes += "trailer\n<<\n/Size " + QByteArray::number(qsizetype(offsets.size())) +
                 "\n/Root 1 0 R\n>>\nstartxref\n" + QByteArray::number(at) + "\n%%EOF\n";
    }
};

// Every object in use where the file's table says (as qpdf reads the
// table: `xref`, its "N/0: uncompressed; offset = M" lines), and every
// stream as long as its length says (written in its dictionary or as an
// object of its own); the lengths the file gives its pages' content.
std::vector<qint64> ContentLengthsIfSound(const QByteArray& pdf, const std::string& xref, std::string* fault)
{
    std::vector<qint64> lengths;
    std::map<int, qint64> offsets;
    const std::regex entry("([0-9]+)/0: uncompressed; offset = ([0-9]+)");
    for (auto it = std::sregex_iterator(xref.begin(), xref.end(), entry); it != std::sregex_iterator(); ++it)
        offsets[std::stoi((*it)[1])] = std::stoll((*it)[2]);
    if (offsets.empty()) {
        *fault = "no table read: " + xref;
        return {};
    }
    for (const auto& [n, at] : offsets) {
        if (!pdf.mid(at).startsWith(QByteArray::number(n) + " 0 obj\n")) {
            *fault = "object " + std::to_string(n) + " is not at " + std::to_string(at);
            return {};
        }
    }
    for (const auto& [n, at] : offsets) {
        // The object's own dictionary, not the next one's.
        QByteArray head = pdf.mid(at, 200);
        head.truncate(std::min(head.indexOf("endobj") < 0 ? head.size() : head.indexOf("endobj"),
                               head.indexOf("stream\n") < 0 ? head.size() : head.indexOf("stream\n") + 7));
        // Only the pages' content: the file's own streams of objects and of
        // its table are read by qpdf's check.
        if (!head.contains("/Length ") || head.contains("/Type /ObjStm") || head.contains("/Type /XRef"))
            continue;
        const QByteArray named = head.mid(head.indexOf("/Length ") + 8);
        const qsizetype end = named.indexOf('\n');
        qint64 length = named.left(end).toLongLong();
        if (named.left(end).endsWith(" 0 R"))
            length = pdf.mid(offsets[named.split(' ')[0].toInt()]).split('\n')[1].toLongLong();
        const qint64 data = at + head.indexOf("stream\n") + 7;
        if (pdf.mid(data + length, 11) != "\nendstream\n") {
            *fault = "object " + std::to_string(n) + "'s stream is not " + std::to_string(length) + " bytes";
            return {};
        }
        lengths.push_back(length);
    }
    return lengths;
}

TEST(PdfSpanFilter, ALengthThatChangesItsDigitsMovesTheObjectsAfterItAndTheTable)
{
    EnginePdf engine;
    engine.object("<<\n/Type /Catalog\n/Pages 2 0 R\n>>\n");
    engine.object("<<\n/Type /Pages\n/Kids [4 0 R 7 0 R 10 0 R 13 0 R]\n/Count 4\n>>\n");
    engine.object("<<\n/Type /Font\n/Subtype /Type1\n/BaseFont /Helvetica\n>>\n");
    // Grows past 999 and past 9,999 bytes; shrinks from over 10,000 stored
    // bytes to a few hundred; and one that keeps its digits.
    QByteArray drawing;
    while (drawing.size() < 10100)
        drawing += "0 0 m 10 10 l S\n";
    const std::vector<QByteArray> packed = {CompressedJustUnder(1000), CompressedJustUnder(10000),
                                            Compressed(SpannedPageContent(drawing), 0),
                                            Compressed(SpannedPageContent("% short\n"), 9)};
    ASSERT_LT(packed[0].size(), 1000);
    ASSERT_LT(packed[1].size(), 10000);
    ASSERT_GE(packed[2].size(), 10000);
    // A text long enough to add a hundred bytes and more to a page.
    std::string text;
    std::mt19937 letters{7};
    for (int i = 0; i < 160; ++i)
        text += char('A' + letters() % 58);

    QByteArray written;
    QBuffer device(&written);
    ASSERT_TRUE(device.open(QIODevice::WriteOnly));
    {
        PdfSpanFilter filter(&device);
        filter.write(engine.bytes);
        qint64 sent = engine.bytes.size();
        for (const QByteArray& content : packed) {
            engine.page(content);
            filter.holdPage({text});
            filter.write(engine.bytes.mid(sent));
            filter.releasePage();
            sent = engine.bytes.size();
        }
        // The table comes with the last page's objects, as the engine ends.
        engine.xref();
        filter.holdPage({});
        filter.write(engine.bytes.mid(sent));
        filter.releasePage();
        ASSERT_TRUE(filter.finish());
    }
    ASSERT_NE(written, engine.bytes) << "no page was spanned";
    TempDir dir;
    WriteFileBytes(dir.file("spanned.pdf"), written.toStdString());
    if (!HaveTool("qpdf"))
        SKIP_FOR_MISSING_TOOL() << "qpdf is not installed";
    EXPECT_EQ(Shell(dir, "qpdf --check spanned.pdf > check.txt 2>&1 && ! grep -qi warning check.txt"), 0)
        << ReadFileBytes(dir.file("check.txt"));
    ASSERT_EQ(Shell(dir, "qpdf --show-xref spanned.pdf > xref.txt"), 0);
    std::string fault;
    const std::vector<qint64> lengths = ContentLengthsIfSound(written, ReadFileBytes(dir.file("xref.txt")), &fault);
    ASSERT_EQ(lengths.size(), 4u) << fault;
    EXPECT_GE(lengths[0], 1000);
    EXPECT_GE(lengths[1], 10000);
    EXPECT_LT(lengths[2], 1000);
    EXPECT_LT(lengths[3], 1000);
}

}  // namespace

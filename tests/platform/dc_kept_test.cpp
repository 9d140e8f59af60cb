// Drawing done again: a print job gives a repeated drawing's output again,
// and draws anew whatever differs in its key or in the context's state.
#include <gtest/gtest.h>

#include <string>

#include <QImage>
#include <QPrinter>

#include "support/needed_tools.h"
#include "pdf/pdf_print_job.h"
#include "platform/dc.h"
#include "support/shell.h"

namespace {

// Colour references are 0x00BBGGRR.
constexpr ColorRef kRed = 0x0000FF, kBlue = 0xFF0000;

// A square of one inch (at the printer's 1200 dpi) in the selected brush,
// twice as wide under key "wide". Leaves the current position at (5, 6).
// True when the output was given again instead of drawn.
bool Square(Dc* dc, const std::string& key)
{
    int32_t result = 0;
    if (dc->beginKept(key, &result)) {
        EXPECT_EQ(result, 7);
        return true;
    }
    const Pen old = dc->selectPen(Pen{PS_NULL, 0, kBlack});
    dc->rectangle(0, 0, key == "wide" ? 2400 : 1200, 1200);
    dc->selectPen(old);
    dc->moveTo(5, 6);
    dc->endKept(7);
    return false;
}

}  // namespace

TEST(DcKept, ADrawingGivenAgainLooksTheSameAndAnyChangeIsDrawnAnew)
{
    TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("kept.pdf")));
    printer.setResolution(1200);
    {
        auto dc = PdfPrintJobDc(&printer);
        ASSERT_TRUE(dc->beginOutput());
        struct Page {
            ColorRef brush;
            int32_t origin;
            const char* key;
            bool givenAgain;
        };
        // The same three times (noted, kept, given again: a key that comes
        // only once is not worth keeping), then another brush, another
        // place, another key.
        const Page pages[] = {{kRed, 0, "square", false},  {kRed, 0, "square", false},
                              {kRed, 0, "square", true},   {kBlue, 0, "square", false},
                              {kRed, 1200, "square", false}, {kRed, 0, "wide", false},
                              {kRed, 0, "square", true}};
        for (const Page& p : pages) {
            dc->selectBrush(Brush::Solid(p.brush));
            dc->setViewportOrg(p.origin, p.origin);
            dc->moveTo(0, 0);
            EXPECT_EQ(Square(dc.get(), p.key), p.givenAgain);
            // The state is as the drawing left it.
            EXPECT_EQ(dc->currentPosition().x, 5);
            EXPECT_EQ(dc->currentPosition().y, 6);
            EXPECT_TRUE(dc->newPage());
        }
        EXPECT_TRUE(dc->flush());
    }
    // An image keeps nothing: every drawing is drawn.
    QImage surface(40, 40, QImage::Format_RGB32);
    auto onImage = Dc::ForImage(&surface);
    EXPECT_FALSE(Square(onImage.get(), "square"));
    EXPECT_FALSE(Square(onImage.get(), "square"));

    if (Shell(dir, "command -v pdftoppm >/dev/null") != 0)
        SKIP_FOR_MISSING_TOOL() << "poppler-utils are not installed";
    ASSERT_EQ(Shell(dir, "pdftoppm -r 20 -png kept.pdf page"), 0);
    auto colourAt = [&](int page, int x, int y) {
        const QImage image(QString::fromStdString(dir.file("page-" + std::to_string(page) + ".png")));
        return image.isNull() ? QRgb(0) : image.pixel(x, y) & 0xFFFFFFu;
    };
    const QRgb red = 0xFF0000, blue = 0x0000FF, white = 0xFFFFFF;
    for (int page : {1, 2, 3, 7}) {
        EXPECT_EQ(colourAt(page, 10, 10), red) << page;
        EXPECT_EQ(colourAt(page, 30, 10), white) << page;
    }
    EXPECT_EQ(colourAt(4, 10, 10), blue);
    EXPECT_EQ(colourAt(5, 10, 10), white);
    EXPECT_EQ(colourAt(5, 30, 30), red);
    EXPECT_EQ(colourAt(6, 30, 10), red);
}

// An answer is kept the second time its key comes (a key that changes card
// by card is only noted) and recalled under an equal state only: not for
// another key, pen, clip or window, nor under a turn, where the same
// logical state lands elsewhere on the page; a job that remembers more than
// it keeps starts again and still answers right.
TEST(DcKept, AnAnswerIsRecalledOnlyUnderTheStateItWasFoundIn)
{
    TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("answers.pdf")));
    printer.setResolution(1200);
    auto dc = PdfPrintJobDc(&printer);
    ASSERT_TRUE(dc->beginOutput());
    int32_t answer = 0;
    EXPECT_FALSE(dc->recall("cut", &answer));
    dc->remember("cut", 5);
    EXPECT_FALSE(dc->recall("cut", &answer)) << "a key seen once is only noted";
    dc->remember("cut", 5);
    ASSERT_TRUE(dc->recall("cut", &answer));
    EXPECT_EQ(answer, 5);
    EXPECT_FALSE(dc->recall("other", &answer));

    const Pen old = dc->selectPen(Pen{PS_SOLID, 3, kRed});
    EXPECT_FALSE(dc->recall("cut", &answer));
    dc->remember("cut", 6);
    ASSERT_TRUE(dc->recall("cut", &answer));
    EXPECT_EQ(answer, 6);
    dc->selectPen(old);
    ASSERT_TRUE(dc->recall("cut", &answer));
    EXPECT_EQ(answer, 5);

    dc->intersectClipRect(0, 0, 600, 600);
    EXPECT_FALSE(dc->recall("cut", &answer));
    dc->remember("cut", 7);
    dc->setWindowOrg(100, 0);
    EXPECT_FALSE(dc->recall("cut", &answer));
    dc->setWindowOrg(0, 0);
    ASSERT_TRUE(dc->recall("cut", &answer));
    EXPECT_EQ(answer, 7);

    ASSERT_TRUE(dc->beginTurn(30.0, QPointF(0, 0), QPointF(0, 0)));
    EXPECT_FALSE(dc->recall("cut", &answer));
    dc->remember("turned", 8);
    dc->remember("turned", 8);
    dc->endTurn();
    EXPECT_FALSE(dc->recall("turned", &answer));

    for (int32_t i = 0; i < 3000; ++i) {
        dc->remember("many " + std::to_string(i), i);
        dc->remember("many " + std::to_string(i), i);
    }
    ASSERT_TRUE(dc->recall("many 2999", &answer));
    EXPECT_EQ(answer, 2999);
    EXPECT_FALSE(dc->recall("many 1", &answer));
}

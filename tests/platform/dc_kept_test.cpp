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

// Every hatch and pattern bitmap prints as the card view shows it: a card
// of a square of each, seen at 400% and printed from the window to a PDF
// file and to a PostScript file, each drawn at 600 dots an inch. On the
// screen a pixel of a pattern is a pixel; on paper it is blown up by the
// printer's resolution / 72 (8 x 8 dots at 600), so that a hatch line on
// the screen is a line on paper and a dot stays a dot.
#include <array>
#include <cstdlib>
#include <optional>
#include <string>

#include <QImage>
#include <QImageReader>
#include <QProcess>

#include "carddoc/labels_doc.h"
#include "dialogs/value_dialogs.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "journey_fixture.h"
#include "support/needed_tools.h"

namespace {

constexpr int kDpi = 600;
// The dots a pattern's pixel takes at kDpi: the resolution / 72, even.
constexpr int kBlowUp = (kDpi / 72) & ~1;

using Bits = std::array<std::array<bool, 8>, 8>;

bool Inked(const QImage& picture, int x, int y) { return qGray(picture.pixel(x, y)) < 128; }

// The 8 x 8 pattern the screen shows from `at` on, one pixel a bit.
Bits ScreenBits(const QImage& view, QPoint at)
{
    Bits bits{};
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u)
            bits[v][u] = Inked(view, at.x() + u, at.y() + v);
    return bits;
}

// The 8 x 8 pattern the paper shows from about `at` on, each bit a square
// of kBlowUp dots: none when the dots are not such squares (a hatch of
// lines one dot wide, or of broken lines, is not).
std::optional<Bits> PaperBits(const QImage& paper, QPoint at)
{
    for (int oy = 0; oy < kBlowUp; ++oy) {
        for (int ox = 0; ox < kBlowUp; ++ox) {
            Bits bits{};
            bool squares = true;
            for (int v = 0; v < 8 && squares; ++v) {
                for (int u = 0; u < 8 && squares; ++u) {
                    const int x0 = at.x() + ox + u * kBlowUp, y0 = at.y() + oy + v * kBlowUp;
                    bits[v][u] = Inked(paper, x0, y0);
                    for (int y = y0; y < y0 + kBlowUp && squares; ++y)
                        for (int x = x0; x < x0 + kBlowUp && squares; ++x)
                            squares = Inked(paper, x, y) == bits[v][u];
                }
            }
            if (squares)
                return bits;
        }
    }
    return std::nullopt;
}

// Whether b is a moved by whole pixels, its tiles meeting as they do.
bool SamePattern(const Bits& a, const Bits& b)
{
    for (int dy = 0; dy < 8; ++dy) {
        for (int dx = 0; dx < 8; ++dx) {
            bool same = true;
            for (int v = 0; v < 8 && same; ++v)
                for (int u = 0; u < 8 && same; ++u)
                    same = a[v][u] == b[(v + dy) % 8][(u + dx) % 8];
            if (same)
                return true;
        }
    }
    return false;
}

std::string Text(const Bits& bits)
{
    std::string text;
    for (const auto& row : bits) {
        for (bool ink : row)
            text += ink ? '#' : '.';
        text += '\n';
    }
    return text;
}

// Page 1 of a file as a program draws it at kDpi without smoothing edges.
QImage Drawn(const QString& program, const QStringList& arguments, const std::string& png)
{
    QProcess run;
    run.start(program, arguments);
    if (!run.waitForFinished(120000) || run.exitCode() != 0)
        return {};
    // A page at 600 dots an inch is more than the reader takes by default.
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(0);
    QImage drawn(QString::fromStdString(png));
    QImageReader::setAllocationLimit(limit);
    return drawn;
}

class FillPatternPrintJourney : public JourneyTest {};

TEST_F(FillPatternPrintJourney, EveryHatchAndPatternPrintsAsTheViewShowsItBlownUp)
{
    if (!HaveTool("pdftoppm") || !HaveTool("gs"))
        SKIP_FOR_MISSING_TOOL() << "poppler-utils and Ghostscript are needed";
    const std::string card = TempFile("patterns.lqx");
    Tool("card new-patterns '" + card + "'");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    OnNextDialog([](QWidget* dialog) {
        auto* zoom = dynamic_cast<CDlgZoom*>(dialog);
        ASSERT_NE(zoom, nullptr);
        zoom->Percent()->setText("400");
        zoom->accept();
    });
    ASSERT_TRUE(Trigger("View > View Size > Other..."));
    const QImage view = ViewPixels();

    const std::string pdf = TempFile("patterns.pdf"), ps = TempFile("patterns.ps");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle();
    OnNextDialog(PrintToPostScriptFile(ps));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // The first card of the sheet, as Poppler and Ghostscript draw it.
    const IntRect slot = CardDocument()->PageGeometry().slots[0];
    IntRect cell;
    CardDocument()->GetCellRect(&cell, 0, 0);
    const QPoint corner(cell.left * kDpi / 72, cell.top * kDpi / 72);
    const QString dpi = QString::number(kDpi);
    const std::string fromPdf = TempFile("pdf");
    const QImage pdfCard =
        Drawn("pdftoppm", {"-r", dpi, "-f", "1", "-l", "1", "-singlefile", "-png", "-aa", "no", "-aaVector", "no",
                           "-x", QString::number(corner.x()), "-y", QString::number(corner.y()), "-W",
                           QString::number(260 * kDpi / 72), "-H", QString::number(150 * kDpi / 72),
                           QString::fromStdString(pdf), QString::fromStdString(fromPdf)},
              fromPdf + ".png");
    const std::string fromPs = TempFile("ps.png");
    const QImage psPage = Drawn("gs", {"-dSAFER", "-dBATCH", "-dNOPAUSE", "-q", "-sDEVICE=pnggray", "-r" + dpi,
                                       "-dFirstPage=1", "-dLastPage=1",
                                       QString::fromStdString("-sOutputFile=" + fromPs), QString::fromStdString(ps)},
                                fromPs);
    ASSERT_FALSE(pdfCard.isNull());
    ASSERT_FALSE(psPage.isNull());
    const QImage psCard = psPage.copy(QRect(corner, pdfCard.size()));
    if (const char* keep = std::getenv("TESSALINE_KEEP_SHOTS")) {
        view.save(QString::fromLatin1(keep) + "/view-400.png");
        pdfCard.save(QString::fromLatin1(keep) + "/pdf-600.png");
        psCard.save(QString::fromLatin1(keep) + "/ps-600.png");
    }

    // Each square's pattern, from a little inside its top left corner.
    CurrPageMng* pages = CardDocument()->PageManager();
    ASSERT_EQ(pages->FrameCount(), 26);
    for (int16_t i = 0; i < pages->FrameCount(); ++i) {
        IntRect r;
        pages->FrameAt(i)->GetBounds(&r, kGeometryCurrent);
        const int x = r.left - slot.left + 4, y = r.top - slot.top + 4;
        const Bits screen = ScreenBits(view, CardPoint(x, y));
        const QPoint onPaper(x * kDpi / 72, y * kDpi / 72);
        for (const auto& [name, paper] : {std::pair{"PDF", &pdfCard}, std::pair{"PostScript", &psCard}}) {
            const std::optional<Bits> printed = PaperBits(*paper, onPaper);
            ASSERT_TRUE(printed) << "fill pattern " << i + 2 << " in the " << name << " file is not the screen's "
                                 << "pixels blown up " << kBlowUp << " times; the screen shows\n"
                                 << Text(screen);
            EXPECT_TRUE(SamePattern(screen, *printed)) << "fill pattern " << i + 2 << ": the screen shows\n"
                                                       << Text(screen) << "the " << name << " file prints\n"
                                                       << Text(*printed);
        }
    }
}

}  // namespace

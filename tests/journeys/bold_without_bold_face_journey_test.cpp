// Bold asked of a family that has no bold face of its own (Z003 has only
// its medium italic) is made by striking each glyph twice, a little apart,
// and carries as much ink in the window as on paper, through a PDF file
// and a PostScript file alike.
#include <string>

#include <QImage>
#include <QLineEdit>

#include "app/main_frame.h"
#include "app/tool_bar_draw.h"
#include "carddoc/labels_doc.h"
#include "sample_card_journey.h"
#include "support/needed_tools.h"
#include "support/run_program.h"
#include "typography/font_combo_box.h"
#include "typography/font_size_combo_box.h"

namespace {

struct InkSeen {
    double area = 0;    // square points
    double middle = 0;  // points from the area's left edge to the ink's middle
};

// The ink in the rectangle of a picture of `perPoint` pixels a point. Each
// pixel counts by how dark it is: the printed files are drawn smoothed,
// their edges partly inked.
InkSeen InkIn(const QImage& picture, const QRect& area, double perPoint)
{
    double dark = 0, moment = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const double ink = (255 - qGray(picture.pixel(x, y))) / 255.0;
            dark += ink;
            moment += ink * (x - area.left() + 0.5);
        }
    }
    return {dark / (perPoint * perPoint), dark > 0 ? moment / dark / perPoint : 0};
}

class BoldWithoutBoldFaceJourney : public SampleCardJourney {};

TEST_F(BoldWithoutBoldFaceJourney, BoldOfAFamilyWithoutABoldFaceIsAsBoldOnScreenAsOnPaper)
{
    constexpr uint32_t kSelectionTool = 33284;
    constexpr uint32_t kTextTool = 33285;
    constexpr uint32_t kFrameTextTool = 33286;
    constexpr int kPaperDpi = 300;
    if (!HaveTool("pdftoppm") || !HaveTool("ps2pdf"))
        SKIP_FOR_MISSING_TOOL() << "poppler-utils and Ghostscript draw the printed files";
    CToolBarDraw* bar = MainWindow()->TextBar();
    // The family is listed by its foundries ("Z003 [urw]").
    const int z003 = bar->NameCombo()->findText("Z003", Qt::MatchStartsWith);
    if (z003 < 0)
        SKIP_FOR_MISSING_TOOL() << "the Z003 font (fonts-urw-base35) is needed";

    // A card of one line of text in Z003 at 36 points, seen at 100%: a
    // size whose glyphs the window takes from the face's hints, were they
    // not struck twice.
    ASSERT_TRUE(Trigger("Edit > Select All"));
    ASSERT_TRUE(Trigger("Edit > Clear"));
    alerts.clear();
    ASSERT_TRUE(Trigger(kFrameTextTool));
    const QRect frame(8, 8, 236, 128);
    Drag(CardPoint(frame.left(), frame.top()), {CardPoint(120, 70), CardPoint(frame.right(), frame.bottom())});
    Type("handgloves");
    Key(Qt::Key_A, Qt::ControlModifier);
    bar->NameCombo()->setCurrentIndex(z003);
    Q_EMIT bar->NameCombo()->activated(z003);
    FontSizeComboBox* size = bar->SizeCombo();
    Click(size->lineEdit()->geometry().center(), Qt::NoModifier, size);
    size->lineEdit()->selectAll();
    Type("36");
    Key(Qt::Key_Return);
    // Ink within the frame's edges, with no frame selected and no caret.
    const auto shown = [&] {
        EXPECT_TRUE(Trigger(kSelectionTool));
        Key(Qt::Key_Escape);
        const QRect inside = CardRect(frame.left() + 3, frame.top() + 3, frame.width() - 6, frame.height() - 6);
        return InkIn(ViewPixels(), inside, inside.width() / double(frame.width() - 6));
    };
    const InkSeen plain = shown();

    ASSERT_TRUE(Trigger(kTextTool));
    Click(CardPoint(60, 40));
    Key(Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(Trigger("Text > Style > Bold"));
    const InkSeen screen = shown();
    EXPECT_GT(screen.area, plain.area * 1.1)
        << "bold looks plain in the window: " << plain.area << " then " << screen.area;

    // Each file printed from the window drawn by Poppler, smoothed, at 300
    // dots an inch; the PostScript made a PDF first, as a PDF-making print
    // queue does.
    IntRect cell;
    CardDocument()->GetCellRect(&cell, 0, 0);
    const double dotsPerPoint = kPaperDpi / 72.0;
    const QRect onPaper(int((cell.left + frame.left() + 3) * dotsPerPoint),
                        int((cell.top + frame.top() + 3) * dotsPerPoint), int((frame.width() - 6) * dotsPerPoint),
                        int((frame.height() - 6) * dotsPerPoint));
    InkSeen printed[2];
    for (const bool postScript : {false, true}) {
        const std::string name = postScript ? "PostScript" : "PDF";
        const std::string file = TempFile(postScript ? "bold.ps" : "bold.pdf");
        OnNextDialog(postScript ? PrintToPostScriptFile(file) : PrintToPdfFile(file));
        ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        Settle();
        std::string pdf = file;
        if (postScript) {
            pdf = TempFile("ps.pdf");
            const ProgramRun made = RunProgramFor("ps2pdf", {file, pdf});
            ASSERT_TRUE(made.ok) << made.failure;
        }
        const std::string page = TempFile(name);
        const ProgramRun drawn = RunProgramFor(
            "pdftoppm", {"-r", std::to_string(kPaperDpi), "-f", "1", "-l", "1", "-singlefile", "-gray", pdf, page});
        ASSERT_TRUE(drawn.ok) << drawn.failure;
        const QImage paper(QString::fromStdString(page + ".pgm"));
        ASSERT_FALSE(paper.isNull()) << name;
        printed[postScript] = InkIn(paper, onPaper, dotsPerPoint);
        EXPECT_NEAR(printed[postScript].area / screen.area, 1.0, 0.05)
            << "the " << name << " file prints " << printed[postScript].area
            << " square points of ink, the window shows " << screen.area << " (plain: " << plain.area << ")";
    }
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    // The second strike lies on the same side of the glyphs in both.
    EXPECT_NEAR(printed[1].middle, printed[0].middle, 0.3);
}

}  // namespace

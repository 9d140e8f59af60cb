// A full-sheet label on the paper it names: a rectangle as large as the card
// prints whole, on one sheet, although the paper's size in whole points
// comes out a point narrower than the card; and Object Info's 0, 0 is the
// card's corner, where the rulers read 0.
#include <QComboBox>
#include <QImage>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "carddoc/ruler.h"
#include "dialogs/color_combo_box.h"
#include "dialogs/fill_info_dialog.h"
#include "dialogs/numeric_edit.h"
#include "dialogs/object_info_dialog.h"
#include "dialogs/style_list_box.h"
#include "dialogs/label_type_list.h"
#include "dialogs/label_type_list_dlg.h"
#include "foundation/cp1252.h"
#include "support/needed_tools.h"
#include "support/run_program.h"
#include "journey_fixture.h"

namespace {

class FullSheetJourney : public JourneyTest {
protected:
    // File > New > Label... with the row whose name starts with the text.
    void NewLabelOf(const QString& name)
    {
        OnNextDialog([name](QWidget* dialog) {
            auto* list = dynamic_cast<CDlgListOfLabels*>(dialog);
            ASSERT_NE(list, nullptr);
            for (int i = 0; i < list->List()->count(); ++i) {
                LabelTypeRecord record;
                if (list->List()->GetLabel(i, &record) && Cp1252ToQString(record.name).startsWith(name)) {
                    list->List()->scrollToItem(list->List()->item(i));
                    QTest::mouseClick(list->List()->viewport(), Qt::LeftButton, Qt::NoModifier,
                                      list->List()->visualItemRect(list->List()->item(i)).center());
                    list->OkButton()->click();
                    return;
                }
            }
            ADD_FAILURE() << "no label " << name.toStdString();
            list->reject();
        });
        ASSERT_TRUE(Trigger("File > New > Label..."));
    }
};

TEST_F(FullSheetJourney, ACardAsLargeAsItsPaperPrintsWholeOnOneSheet)
{
    if (!HaveTool("pdfinfo") || !HaveTool("pdftoppm"))
        SKIP_FOR_MISSING_TOOL() << "poppler-utils read the printed sheets back";
    NewLabelOf(QString::fromUtf8("Full-sheet label, 210"));
    ASSERT_NE(CardDocument(), nullptr);
    MaximizeCardWindow();
    // A rectangle from the card's corner, made as large as the card.
    ASSERT_TRUE(DrawRectangleFromTheCorner(CardPoint(40, 40), CardPoint(100, 100)));
    Settle();
    SizeSelectedFrameInPoints(595, 842);
    Settle();

    const std::string pdf = TempFile("full.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle(100);
    const std::string info = RunProgramFor("pdfinfo", {pdf}).out;
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    // The rectangle's border stands at the sheet's four edges.
    const std::string page = TempFile("sheet");
    ASSERT_TRUE(RunProgramFor("pdftoppm", {"-r", "36", "-f", "1", "-l", "1", "-singlefile", "-gray", pdf, page}).ok);
    const QImage sheet(QString::fromStdString(page + ".pgm"));
    ASSERT_FALSE(sheet.isNull());
    const int w = sheet.width(), h = sheet.height();
    for (const QRect& edge : {QRect(0, h / 2 - 5, 3, 10), QRect(w - 3, h / 2 - 5, 3, 10), QRect(w / 2 - 5, 0, 10, 3),
                              QRect(w / 2 - 5, h - 3, 10, 3)})
        EXPECT_GT(Ink(sheet, edge, 200), 0) << edge.x() << "," << edge.y();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(FullSheetJourney, ObjectInfosZeroIsTheCardsCornerAndTheWholeCardPrintsGrey)
{
    if (!HaveTool("pdfinfo") || !HaveTool("pdftoppm"))
        SKIP_FOR_MISSING_TOOL() << "poppler-utils read the printed sheets back";
    NewLabelOf(QString::fromUtf8("Full-sheet label, 210"));
    CLabelsDoc* card = CardDocument();
    ASSERT_NE(card, nullptr);
    MaximizeCardWindow();
    // The rulers read 0 at the card's corner, not at the pasteboard's.
    const IntRect slot = card->PageGeometry().slots[0];
    ASSERT_GT(slot.left, 0);
    EXPECT_EQ(CardView()->HorizontalRuler()->Zero(), slot.left);
    EXPECT_EQ(CardView()->VerticalRuler()->Zero(), slot.top);

    // A rectangle drawn 100 pt across and 120 pt down the card; Object Info
    // says so, and 0, 0 with the card's size in inches puts it over the card.
    QToolButton* rectangle = ToolButton("Draw a rectangle");
    ASSERT_NE(rectangle, nullptr);
    rectangle->click();
    Drag(CardPoint(100, 120), {CardPoint(150, 170), CardPoint(200, 220)});
    Settle();
    double shownAcross = -1, shownDown = -1;
    OnNextDialog([&](QWidget* dialog) {
        auto* info = dynamic_cast<CDlgObjectInfo*>(dialog);
        ASSERT_NE(info, nullptr);
        const int points = info->Units()->findText("Points");
        info->Units()->setCurrentIndex(points);
        Q_EMIT info->Units()->activated(points);
        shownAcross = info->OriginAcross()->text().toDouble();
        shownDown = info->OriginDown()->text().toDouble();
        const int inches = info->Units()->findText("Inches");
        info->Units()->setCurrentIndex(inches);
        Q_EMIT info->Units()->activated(inches);
        for (const auto& [edit, value] : {std::pair{info->OriginAcross(), "0"},
                                          {info->OriginDown(), "0"},
                                          {info->WidthEdit(), "8.27"},
                                          {info->HeightEdit(), "11.70"}}) {
            edit->selectAll();
            QTest::keyClicks(edit, value);
        }
        info->accept();
    });
    ASSERT_TRUE(Trigger("Object > Object Info..."));
    EXPECT_NEAR(shownAcross, 100, 1);
    EXPECT_NEAR(shownDown, 120, 1);
    OnNextDialog([](QWidget* dialog) {
        auto* fill = dynamic_cast<CDlgFillInfo*>(dialog);
        ASSERT_NE(fill, nullptr);
        fill->Opaque()->click();
        fill->Patterns()->setCurrentRow(0);  // solid
        const int black = fill->Colour()->count() - 1;
        fill->Colour()->setCurrentIndex(black);
        Q_EMIT fill->Colour()->activated(black);
        const int half = fill->Shade()->findText("50", Qt::MatchStartsWith);
        ASSERT_GE(half, 0);
        fill->Shade()->setCurrentIndex(half);
        Q_EMIT fill->Shade()->activated(half);
        fill->accept();
    });
    ASSERT_TRUE(Trigger("Object > Fill Info..."));
    Settle();

    // The window: grey at the middle of each quarter of the card.
    const QImage view = ViewPixels();
    for (const QPoint at : {CardPoint(150, 210), CardPoint(445, 210), CardPoint(150, 630), CardPoint(445, 630)}) {
        if (view.rect().contains(at)) {
            EXPECT_LT(qGray(view.pixel(at)), 200) << at.x() << "," << at.y();
        }
    }

    // The paper: one sheet, grey in each quarter, the border (darker than
    // the grey) on each edge.
    const std::string pdf = TempFile("grey.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle(100);
    const std::string info = RunProgramFor("pdfinfo", {pdf}).out;
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    const std::string page = TempFile("grey");
    ASSERT_TRUE(RunProgramFor("pdftoppm", {"-r", "36", "-f", "1", "-l", "1", "-singlefile", "-gray", pdf, page}).ok);
    const QImage sheet(QString::fromStdString(page + ".pgm"));
    ASSERT_FALSE(sheet.isNull());
    const int w = sheet.width(), h = sheet.height();
    for (const QPoint at : {QPoint(w / 4, h / 4), QPoint(3 * w / 4, h / 4), QPoint(w / 4, 3 * h / 4),
                            QPoint(3 * w / 4, 3 * h / 4)}) {
        const int grey = qGray(sheet.pixel(at));
        EXPECT_TRUE(grey > 100 && grey < 200) << at.x() << "," << at.y() << ": " << grey;
    }
    for (const QRect& edge : {QRect(0, h / 2 - 5, 2, 10), QRect(w - 2, h / 2 - 5, 2, 10), QRect(w / 2 - 5, 0, 10, 2),
                              QRect(w / 2 - 5, h - 2, 10, 2)})
        EXPECT_GT(Ink(sheet, edge, 100), 0) << edge.x() << "," << edge.y();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace

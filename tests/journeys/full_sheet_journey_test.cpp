// A full-sheet label on the paper it names: a rectangle as large as the card
// prints whole, on one sheet, although the paper's size in whole points
// comes out a point narrower than the card.
#include <QImage>
#include <QTest>

#include "carddoc/labels_doc.h"
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

}  // namespace

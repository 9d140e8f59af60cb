// File > New > Label...: the List of Labels dialog offers the label stock
// the program ships; OK opens a card laid out for the sheet chosen, whose
// name the status bar shows, and a sheet that fixes its paper and
// orientation leaves nothing to Page Setup and Print Setup.
#include <QTest>

#include "app/main_frame.h"
#include "app/main_status_bar.h"
#include "carddoc/labels_doc.h"
#include "dialogs/label_type_list.h"
#include "dialogs/label_type_list_dlg.h"
#include "foundation/cp1252.h"
#include "records/command_ids.h"
#include "journey_fixture.h"

namespace {

class LabelStockJourney : public JourneyTest {
protected:
    // The driver picks the row whose text starts with name and presses OK.
    static DialogDriver ChooseLabel(const QString& name, QStringList* listed)
    {
        return [name, listed](QWidget* dialog) {
            auto* list = dynamic_cast<CDlgListOfLabels*>(dialog);
            if (!list) {
                ADD_FAILURE() << "the List of Labels dialog was expected, not " << dialog->windowTitle().toStdString();
                Reject()(dialog);
                return;
            }
            EXPECT_FALSE(list->OkButton()->isEnabled()) << "OK before the user chose";
            int row = -1;
            // The rows draw the names of the table's records.
            for (int i = 0; i < list->List()->count(); ++i) {
                LabelTypeRecord record;
                if (!list->List()->GetLabel(i, &record))
                    continue;
                *listed << Cp1252ToQString(record.name);
                if (row < 0 && listed->back().startsWith(name))
                    row = i;
            }
            if (row < 0) {
                list->reject();
                return;
            }
            list->List()->scrollToItem(list->List()->item(row));
            QTest::mouseClick(list->List()->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->List()->visualItemRect(list->List()->item(row)).center());
            EXPECT_TRUE(list->OkButton()->isEnabled()) << "row " << row;
            list->OkButton()->click();
        };
    }

    QString Pane(uint32_t id)
    {
        Settle(300);
        CMainStatusBar* bar = MainWindow()->MainStatusBar();
        return bar->PaneText(bar->CommandToIndex(id));
    }
};

TEST_F(LabelStockJourney, TheChosenSheetBecomesTheNewCardsLayout)
{
    // Cancel opens nothing.
    OnNextDialog(Reject());
    ASSERT_TRUE(Trigger("File > New > Label..."));
    EXPECT_EQ(CardDocument(), nullptr);

    QStringList listed;
    OnNextDialog(ChooseLabel("Address labels 3×10", &listed));
    ASSERT_TRUE(Trigger("File > New > Label..."));
    EXPECT_GE(listed.size(), 10) << listed.join(", ").toStdString();
    CLabelsDoc* card = CardDocument();
    ASSERT_NE(card, nullptr) << alerts.lastText();
    EXPECT_EQ(card->DocumentNameText(), "Address labels 3\xD7" "10, 2.625\xD7" "1 in, Letter");
    EXPECT_EQ(card->PageGeometry().cardWidth, 189.0);
    EXPECT_EQ(card->PageGeometry().cardHeight, 72.0);
    EXPECT_EQ(Pane(kPaneDocument), QString::fromUtf8("Address labels 3×10, 2.625×1 in, Letter"));
    // The sheet names its paper and orientation: there is nothing to set up.
    EXPECT_FALSE(Enabled(kCmdPageSetup));
    EXPECT_FALSE(Enabled(kCmdFilePrintSetup));

    // A sheet that leaves them open keeps both commands. It is the first
    // row, selected from the start: a click on it chooses it.
    listed.clear();
    OnNextDialog(ChooseLabel("Laser Tessaline #5371", &listed));
    ASSERT_TRUE(Trigger("File > New > Label..."));
    ASSERT_NE(CardDocument(), card);
    EXPECT_EQ(Pane(kPaneDocument), "Laser Tessaline #5371");
    EXPECT_TRUE(Enabled(kCmdPageSetup));
    EXPECT_TRUE(Enabled(kCmdFilePrintSetup));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace

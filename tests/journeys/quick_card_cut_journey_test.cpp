// A Quick Card on an address label: while its lines fit the label nothing
// is said; grown past the label's edge, the window marks the frame where
// the edge cuts it and a print from the database says how many labels
// lost lines of it, as it says of a text frame's text.
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "app/child_frame.h"
#include "app/main_frame.h"
#include "carddoc/labels_doc.h"
#include "dialogs/label_type_list.h"
#include "dialogs/label_type_list_dlg.h"
#include "dialogs/quick_card_layout_dialog.h"
#include "foundation/cp1252.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "records/command_ids.h"
#include "journey_fixture.h"

namespace {

constexpr const char* kLostText = "printed without all of their text";

class QuickCardCutJourney : public JourneyTest {
protected:
    void NewAddressLabels()
    {
        OnNextDialog([](QWidget* dialog) {
            auto* list = dynamic_cast<CDlgListOfLabels*>(dialog);
            ASSERT_NE(list, nullptr);
            for (int i = 0; i < list->List()->count(); ++i) {
                LabelTypeRecord record;
                if (list->List()->GetLabel(i, &record) &&
                    Cp1252ToQString(record.name).startsWith(QString::fromUtf8("Address labels 3×10"))) {
                    list->List()->scrollToItem(list->List()->item(i));
                    QTest::mouseClick(list->List()->viewport(), Qt::LeftButton, Qt::NoModifier,
                                      list->List()->visualItemRect(list->List()->item(i)).center());
                    list->OkButton()->click();
                    return;
                }
            }
            ADD_FAILURE() << "no 3x10 address labels";
            list->reject();
        });
        ASSERT_TRUE(Trigger("File > New > Label..."));
    }
    // Object > Place Quick Card... with the fields added, each after the
    // first two on a line of its own (a double-click on its row).
    void PlaceQuickCard(const std::vector<const char*>& fields)
    {
        OnNextDialog([fields](QWidget* dialog) {
            auto* layout = dynamic_cast<CDlgQuickCardLayout*>(dialog);
            ASSERT_NE(layout, nullptr);
            QComboBox* combo = layout->FieldCombo();
            for (const char* field : fields) {
                combo->setCurrentIndex(combo->findText(field));
                Q_EMIT combo->activated(combo->currentIndex());
                layout->InsertButton()->click();
                const int row = layout->List()->count() - 1;
                if (row >= 2 && !layout->List()->RowStartsLine(row))
                    QTest::mouseDClick(layout->List()->viewport(), Qt::LeftButton, Qt::NoModifier,
                                       layout->List()->visualItemRect(layout->List()->item(row)).center());
            }
            Accept()(dialog);
        });
        ASSERT_TRUE(Trigger(kCmdPlaceQuickCard));
        Settle();
    }
    void PrintEveryRecord()
    {
        OnNextDialog(PrintToPdfFile(TempFile("labels.pdf")));
        ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
        Settle(100);
    }
    // The overflow mark's pixels at the inner corner of the card's part of
    // the frame, given in the card's points.
    int Mark(const QRect& part)
    {
        const QRect shown = CardRect(part.x(), part.y(), part.width(), part.height());
        return Ink(ViewPixels(), QRect(shown.right() - 11, shown.bottom() - 11, 8, 8));
    }
};

TEST_F(QuickCardCutJourney, LinesTheLabelCutsAreMarkedAndSaid)
{
    NewAddressLabels();
    ASSERT_NE(CardDocument(), nullptr);
    const QString title = MainWindow()->ActiveChildFrame()->windowTitle();
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_TRUE(ChooseWindow(title.left(8)));
    MaximizeCardWindow();

    // Name and company fit the 1 in label.
    PlaceQuickCard({"FirstName", "LastName", "Company"});
    Click(CardPoint(6, 6));
    Settle();
    CurrPageMng* pages = CardDocument()->PageManager();
    ASSERT_GE(pages->FrameCount(), 1);
    FrameObj* card = pages->FrameAt(int16_t(pages->FrameCount() - 1));
    ASSERT_EQ(card->GetType(), kFrameBarcode18);
    FramePlacement g = card->Block().attr.geometry;
    const IntRect slot = CardDocument()->PageGeometry().slots[0];
    QRect part(g.x - slot.left, g.y - slot.top, g.width, g.height);
    ASSERT_LT(part.bottom(), 72);
    EXPECT_EQ(Mark(part), 0);
    PrintEveryRecord();
    EXPECT_EQ(alerts.lastText().find(kLostText), std::string::npos) << alerts.lastText();

    // The frame still chosen, six more fields: it grows past the label.
    alerts.clear();
    pages = CardDocument()->PageManager();
    card = pages->FrameAt(int16_t(pages->FrameCount() - 1));
    Click(CardPoint(g.x - slot.left + 4, g.y - slot.top + 4));
    PlaceQuickCard({"Address1", "City", "ZipCode", "Phone1", "E-Mail", "Title"});
    g = card->Block().attr.geometry;
    ASSERT_GT(g.y - slot.top + g.height, 72) << "the Quick Card did not grow past its label";
    part = QRect(g.x - slot.left, g.y - slot.top, g.width, 72 - (g.y - slot.top));
    EXPECT_GT(Mark(part), 20);
    PrintEveryRecord();
    ASSERT_FALSE(alerts.boxes().empty());
    const std::string said = alerts.lastText();
    EXPECT_NE(said.find(kLostText), std::string::npos) << said;
    EXPECT_NE(said.find("The first is the card of record 1."), std::string::npos) << said;
    // Said as what it is: the user finds no text frame on this card.
    EXPECT_NE(said.find("each label's edge cut lines of its Quick Card"), std::string::npos) << said;
    EXPECT_EQ(said.find("text frame"), std::string::npos) << said;
    // A sheet of the card alone names no record.
    alerts.clear();
    OnNextDialog(PrintToPdfFile(TempFile("sheet.pdf")));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    Settle(100);
    EXPECT_NE(alerts.lastText().find("label's edge cut lines of its Quick Card."), std::string::npos)
        << alerts.lastText();
    EXPECT_EQ(alerts.lastText().find("record"), std::string::npos) << alerts.lastText();
}

}  // namespace

// File > New > Label...: the List of Labels dialog offers the label stock
// the program ships; OK opens a card laid out for the sheet chosen, whose
// name the status bar shows, and a sheet that fixes its paper and
// orientation leaves nothing to Page Setup and Print Setup. A sheet the
// user defines there takes the paper and orientation chosen for it, with
// or without a printer.
#include <cstdio>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "app/main_frame.h"
#include "app/main_status_bar.h"
#include "carddoc/labels_doc.h"
#include "carddoc/print_preview_dialog.h"
#include "dialogs/label_type_dlg.h"
#include "dialogs/label_type_list.h"
#include "dialogs/label_type_list_dlg.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "foundation/paper_table.h"
#include "records/command_ids.h"
#include "journey_fixture.h"
#include "records/label_stock_format.h"
#include "support/fake_printer_caps.h"
#include "support/shell.h"

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

TEST_F(LabelStockJourney, ASheetDefinedOnA4WithoutAPrinterPrintsOnA4)
{
    FakePrinterCaps none;
    none.installed = false;
    const QString name = QString::fromUtf8("Address labels 3×8, 70×37 mm, A4");

    // List of Labels > New..: the sheet as sold, typed in centimetres, on
    // A4 upright; the Label Type dialog's preview shows the A4 sheet.
    IntSize preview;
    OnNextDialog([](QWidget* dialog) {
        auto* list = dynamic_cast<CDlgListOfLabels*>(dialog);
        if (!list) {
            ADD_FAILURE() << "the List of Labels dialog was expected";
            Reject()(dialog);
            return;
        }
        // Pressed from the dialog's own loop, where the next dialog is
        // answered.
        QTimer::singleShot(0, list->NewButton(), &QPushButton::click);
    });
    OnNextDialog([&](QWidget* dialog) {
        auto* type = dynamic_cast<CDlgLabelType*>(dialog);
        if (!type) {
            ADD_FAILURE() << "the Label Type dialog was expected";
            Reject()(dialog);
            return;
        }
        type->NameEdit()->setText(name);
        type->UnitsCombo()->setCurrentIndex(2);  // Cm
        type->WidthEdit()->setValue(7);
        type->HeightEdit()->setValue(3.7);
        type->TopEdit()->setValue(0.05);
        type->LeftEdit()->setValue(0);
        type->HorizontalEdit()->setValue(0);
        type->VerticalEdit()->setValue(0);
        type->AcrossEdit()->setValue(3);
        type->DownEdit()->setValue(8);
        const int a4 = type->PaperCombo()->findText("A4", Qt::MatchStartsWith);
        EXPECT_EQ(a4, kPaperEntryA4);
        type->PaperCombo()->setCurrentIndex(a4);
        type->OrientationButton(1)->click();
        preview = type->Page();
        type->OkButton()->click();
    });
    // Back in the list, the new sheet is the one chosen.
    QString chosen;
    OnNextDialog([&chosen](QWidget* dialog) {
        auto* list = dynamic_cast<CDlgListOfLabels*>(dialog);
        if (!list) {
            ADD_FAILURE() << "the List of Labels dialog was expected";
            Reject()(dialog);
            return;
        }
        LabelTypeRecord record;
        if (list->List()->GetCurLabel(&record) >= 0)
            chosen = Cp1252ToQString(record.name);
        list->OkButton()->click();
    });
    ASSERT_TRUE(Trigger("File > New > Label..."));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_EQ(chosen, name);
    EXPECT_EQ(preview.width, 595);
    EXPECT_EQ(preview.height, 841);
    CLabelsDoc* card = CardDocument();
    ASSERT_NE(card, nullptr) << alerts.lastText();
    EXPECT_EQ(GetU32LE(card->LabelLayout() + kLabelTypePaperOffset), uint32_t(kPaperEntryA4));
    EXPECT_EQ(GetU32LE(card->LabelLayout() + kLabelTypeOrientationOffset), 1u);
    EXPECT_NEAR(card->PageGeometry().cardWidth, 70 * 72 / 25.4, 0.01);

    // Print Preview shows it on A4, and the sheet prints on A4.
    IntSize sheet;
    OnNextDialog([&sheet](QWidget* dialog) {
        if (auto* preview = dynamic_cast<CDlgPrintPreview*>(dialog))
            sheet = preview->Paper();
        Reject()(dialog);
    });
    ASSERT_TRUE(Trigger("File > Print Preview..."));
    EXPECT_EQ(sheet.width, 595);
    EXPECT_EQ(sheet.height, 842);
    const std::string pdf = TempFile("a4.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    bool ran = false;
    const std::string info = CommandOutput("pdfinfo '" + pdf + "' 2>/dev/null", &ran);
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(LabelStockJourney, LengthsKeepEveryDigitTypedAndShowTheDecimalsTheyNeed)
{
    // List of Labels > Edit... on the shipped 2.625×1 in sheet shows its
    // width as sold; then New.. takes a Legal 3×14 sheet typed in
    // sixteenths of an inch, which the print puts exactly where it belongs.
    const QString legal = QStringLiteral("Legal 3x14");
    QStringList shown;
    OnNextDialog([&legal](QWidget* dialog) {
        auto* list = dynamic_cast<CDlgListOfLabels*>(dialog);
        if (!list) {
            ADD_FAILURE() << "the List of Labels dialog was expected";
            Reject()(dialog);
            return;
        }
        QTimer::singleShot(0, list, [list, legal] {
            for (int i = 0; i < list->List()->count(); ++i) {
                LabelTypeRecord record;
                if (list->List()->GetLabel(i, &record) &&
                    Cp1252ToQString(record.name).startsWith(QString::fromUtf8("Address labels 3×10"))) {
                    list->List()->setCurrentRow(i);
                    break;
                }
            }
            list->EditButton()->click();
            list->NewButton()->click();
            LabelTypeRecord record;
            if (list->List()->GetCurLabel(&record) >= 0 && Cp1252ToQString(record.name) == legal)
                list->OkButton()->click();
            else
                list->reject();
        });
    });
    OnNextDialog([&shown](QWidget* dialog) {
        auto* type = dynamic_cast<CDlgLabelType*>(dialog);
        if (type)
            for (QDoubleSpinBox* edit : {type->WidthEdit(), type->HeightEdit(), type->LeftEdit()})
                shown << edit->text();
        Reject()(dialog);
    });
    OnNextDialog([&legal](QWidget* dialog) {
        auto* type = dynamic_cast<CDlgLabelType*>(dialog);
        if (!type) {
            ADD_FAILURE() << "the Label Type dialog was expected";
            Reject()(dialog);
            return;
        }
        type->NameEdit()->setText(legal);
        type->UnitsCombo()->setCurrentIndex(1);  // Inch
        const std::pair<QAbstractSpinBox*, const char*> typed[] = {
            {type->WidthEdit(), "2.625"}, {type->HeightEdit(), "1"},     {type->TopEdit(), "0.5"},
            {type->LeftEdit(), "0.1875"}, {type->HorizontalEdit(), "0.125"}, {type->VerticalEdit(), "0"},
            {type->AcrossEdit(), "3"},    {type->DownEdit(), "14"},
        };
        for (const auto& [edit, text] : typed) {
            QLineEdit* line = edit->findChild<QLineEdit*>();
            line->selectAll();
            QTest::keyClicks(line, QString::fromLatin1(text));
            QTest::keyClick(line, Qt::Key_Tab);
        }
        type->PaperCombo()->setCurrentIndex(type->PaperCombo()->findText("Legal", Qt::MatchStartsWith));
        type->OkButton()->click();
    });
    ASSERT_TRUE(Trigger("File > New > Label..."));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_EQ(shown, (QStringList{"2.625", "1", "0.1875"}));
    CLabelsDoc* card = CardDocument();
    ASSERT_NE(card, nullptr) << alerts.lastText();
    EXPECT_EQ(card->PageGeometry().cardWidth, 189.0);
    double x = 0, y = 0;
    card->GetCellOrigin(&x, &y, 2, 13);
    EXPECT_EQ(x, 0.1875 * 72 + 2 * (2.625 + 0.125) * 72);
    EXPECT_EQ(y, 0.5 * 72 + 13 * 72);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace

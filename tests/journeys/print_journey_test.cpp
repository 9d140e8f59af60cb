// Printing a card filled from the sample database: the preview's sheets and
// pages, the Print dialog's printers and labels, and the PDF it writes.
#include <algorithm>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QToolButton>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>

#include "app/print_dialog.h"
#include "dialogs/print_preview_dialog.h"
#include "journey_fixture.h"

namespace {

// The pages of a PDF's text: pdftotext ends each with a form feed.
qsizetype PagesOf(const std::string& text)
{
    return qsizetype(std::count(text.begin(), text.end(), '\f'));
}

class PrintJourney : public JourneyTest {
protected:
    // The sample card over the sample database of 24 people.
    void OpenCardAndDatabase()
    {
        OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
        ASSERT_TRUE(Trigger("File > Open > Database..."));
        ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    }

    // Answers the Print dialog: a PDF file, the records given (0 and 0 for
    // all). The labels it showed go to *labels.
    DialogDriver PrintToPdf(const std::string& pdf, QStringList* labels, QStringList* printers)
    {
        return [=](QWidget* dialog) {
            auto* print = dynamic_cast<CDlgPrint*>(dialog);
            ASSERT_NE(print, nullptr);
            for (QLabel* label : print->findChildren<QLabel*>()) {
                // A label with a key shows it underlined, which needs the
                // edit it leads to; without one the ampersand shows.
                if (label->text().contains('&') && !label->buddy())
                    labels->append(label->text());
            }
            for (int i = 0; i < print->PrinterList()->count(); ++i)
                printers->append(print->PrinterList()->itemText(i));
            print->PrinterList()->setCurrentIndex(print->PdfEntry());
            print->FileEdit()->setText(QString::fromStdString(pdf));
            print->accept();
        };
    }
};

TEST_F(PrintJourney, ThePrintDialogListsThePrintersAndPrintsTheRecordsToPdf)
{
    OpenCardAndDatabase();
    const std::string pdf = TempFile("cards.pdf");
    QStringList bareAmpersands, printers;
    OnNextDialog(PrintToPdf(pdf, &bareAmpersands, &printers));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_TRUE(bareAmpersands.isEmpty()) << bareAmpersands.join(", ").toStdString();
    QStringList expected = QPrinterInfo::availablePrinterNames();
    expected << "Print to PDF file";
    EXPECT_EQ(printers, expected);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    const std::string text = PdfText(pdf);
    if (text.empty())
        GTEST_SKIP() << "pdftotext is needed";
    // 24 people, ten to a sheet: three sheets of the card's front.
    EXPECT_EQ(PagesOf(text), 3) << text;
    for (const char* name : {"Abbott Bakery", "Harbor Supply", "Bosphorus"})
        EXPECT_NE(text.find(name), std::string::npos) << name;
}

TEST_F(PrintJourney, ThePreviewShowsTheSheetsTheJobPrints)
{
    OpenCardAndDatabase();
    QStringList ranges;
    QString sides;
    bool pagesShown = false;
    const std::string pdf = TempFile("from-preview.pdf");
    QStringList bareAmpersands, printers;
    OnNextDialog([&](QWidget* dialog) {
        auto* preview = dynamic_cast<CDlgPrintPreview*>(dialog);
        ASSERT_NE(preview, nullptr);
        // The card's front and back are the design's two pages.
        sides = preview->PageCountValue()->text();
        pagesShown = !preview->PagesGroup()->isHidden();
        for (int step = 0; step < 10; ++step) {
            if (preview->Page() == 1)
                ranges << preview->FromValue()->text() + "-" + preview->ToValue()->text();
            if (!preview->NextButton()->isEnabled())
                break;
            preview->NextButton()->click();
        }
        preview->accept();
    });
    OnNextDialog(PrintToPdf(pdf, &bareAmpersands, &printers));
    ASSERT_TRUE(Trigger("File > Print Preview..."));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_TRUE(pagesShown);
    EXPECT_EQ(sides, "2");
    EXPECT_EQ(ranges, QStringList({"1-10", "11-20", "21-24"}));

    const std::string text = PdfText(pdf);
    if (text.empty())
        GTEST_SKIP() << "pdftotext is needed";
    EXPECT_EQ(PagesOf(text), ranges.size());
}

TEST_F(PrintJourney, TheCardStaysOnTheScreenBehindThePrintAndPreviewDialogs)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    // The logo: the star over its disc, 40 x 40 at (14, 14).
    const QRect logo = CardRect(14, 14, 40, 40);
    for (const char* command : {"File > Print > Sheet of Active Document...", "File > Print Preview..."}) {
        SCOPED_TRACE(command);
        // The star selected: the dialog's command lets go of it.
        Click(CardPoint(34, 34));
        const int selected = Ink(ViewPixels(), logo);
        ASSERT_GT(selected, 300);
        int behind = -1;
        OnNextDialog([this, &logo, &behind](QWidget* dialog) {
            behind = Ink(ViewPixels(), logo);
            Reject()(dialog);
        });
        ASSERT_TRUE(Trigger(command));
        EXPECT_GT(behind, selected * 3 / 4) << "the logo was wiped off while the dialog was up";
        EXPECT_GT(Ink(ViewPixels(), logo), selected * 3 / 4);
    }
}

}  // namespace

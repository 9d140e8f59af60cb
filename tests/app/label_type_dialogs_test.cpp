// The Label Type and List of Labels dialogs, driven as a user would, over a
// label-type file in a program folder of the test's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "dialogs/label_type_dlg.h"
#include "dialogs/label_type_list.h"
#include "dialogs/label_type_list_dlg.h"
#include "dialogs/label_type_page.h"
#include "dialogs/sheet_preview_wnd.h"
#include "foundation/paper_table.h"
#include "foundation/program_folder.h"
#include "platform/printer_handles.h"
#include "platform/printer_paper.h"
#include "records/label_stock.h"
#include "records/label_stock_file.h"
#include "support/alert_capture.h"
#include "support/fake_printer_caps.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

LabelTypeRecord Named(const char* name, double width = 180)
{
    LabelTypeRecord r;
    GetBuiltinLabelType(&r, 1);
    LabelTypeSetName(&r, name);
    r.cardWidth = width;
    return r;
}

std::string Bytes(const std::vector<LabelTypeRecord>& records)
{
    const std::vector<uint8_t> b = LabelFileEncode(records);
    return std::string(b.begin(), b.end());
}

std::vector<LabelTypeRecord> Parse(const std::string& bytes)
{
    std::vector<LabelTypeRecord> out;
    EXPECT_EQ(LabelFileDecode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &out),
              LabelFileStatus::kOk);
    return out;
}

// A program folder of the test's own, and a page reader that asks no
// printer.
class LabelDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolderForTesting(dir.path());
        SetLabelPageReader([](IntSize* paper, IntRect* printable) {
            *paper = IntSize{612, 792};
            *printable = IntRect{18, 18, 594, 774};
            return true;
        });
    }
    void TearDown() override
    {
        SetLabelPageReader(nullptr);
        SetLabelDocFormatSource(nullptr);
        SetProgramFolderForTesting("");
    }
    std::string File() const { return dir.file("Tessaline.dat"); }

    TempDir dir;
    AlertCapture alerts;
};

// List of Labels whose Label Type dialog is a scripted edit.
class ScriptedList : public CDlgListOfLabels {
public:
    bool takeEdit = true;
    LabelTypeRecord seen;
    std::function<void(LabelTypeRecord*)> edit = [](LabelTypeRecord*) {};

protected:
    bool EditLabelType(LabelTypeRecord* record) override
    {
        seen = *record;
        if (!takeEdit)
            return false;
        edit(record);
        return true;
    }
};

SheetLabelLayout Shown(CSheetPreviewWnd* preview)
{
    SheetLabelLayout layout;
    preview->GetLabelType(&layout);
    return layout;
}

void Type(QAbstractSpinBox* spin, const char* text)
{
    QLineEdit* line = spin->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    line->selectAll();
    QTest::keyClicks(line, QString::fromLatin1(text));
}

}  // namespace

TEST_F(LabelDialogs, ListOfLabelsOffersToCreateAMissingFile)
{
    {
        alerts.answer(kIdNo);
        ScriptedList dialog;
        dialog.show();
        ASSERT_EQ(alerts.boxes().size(), 1u);
        EXPECT_EQ(alerts.lastText(), "File not Found " + File() + ". Create it? ");
        // A question answered Yes or No.
        EXPECT_EQ(alerts.boxes()[0].style & 0x0F, uint32_t(kMbYesNo));
        EXPECT_EQ(dialog.List()->count(), 0);
        for (QPushButton* b : {dialog.EditButton(), dialog.DeleteButton(), dialog.SortButton(), dialog.OkButton()})
            EXPECT_FALSE(b->isEnabled());
        // Nothing can be kept: a new label type is not taken, and OK
        // writes no file.
        QTest::mouseClick(dialog.NewButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.List()->count(), 0);
        dialog.accept();
        EXPECT_FALSE(QFile::exists(QString::fromStdString(File())));
    }
    alerts.clear();
    alerts.answer(kIdYes);
    ScriptedList dialog;
    dialog.edit = [](LabelTypeRecord* r) { LabelTypeSetName(r, "Made here"); };
    dialog.show();
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(File())));
    EXPECT_EQ(dialog.List()->count(), 0);
    QTest::mouseClick(dialog.NewButton(), Qt::LeftButton);
    EXPECT_EQ(LabelTypeName(dialog.seen), "New Name");
    EXPECT_EQ(dialog.seen.cardWidth, 0);
    EXPECT_EQ(dialog.seen.columns, 1);  // the one card across and down the dialog shows
    EXPECT_EQ(dialog.seen.rows, 1);
    ASSERT_EQ(dialog.List()->count(), 1);
    EXPECT_EQ(dialog.List()->currentRow(), 0);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    const std::vector<LabelTypeRecord> saved = Parse(ReadFileBytes(File()));
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(LabelTypeName(saved[0]), "Made here");
    LabelTypeRecord chosen;
    EXPECT_EQ(dialog.GetCurLabel(&chosen), 0);
    EXPECT_EQ(LabelTypeName(chosen), "Made here");
}

TEST_F(LabelDialogs, ListOfLabelsEditsDeletesSortsAndSavesOnOkOnly)
{
    const std::string stored = Bytes({Named("Pear", 100), Named("Apple", 110), Named("Fig", 120)});
    WriteFileBytes(File(), stored);
    {
        ScriptedList dialog;
        dialog.show();
        EXPECT_TRUE(alerts.boxes().empty());
        ASSERT_EQ(dialog.List()->count(), 3);
        EXPECT_EQ(dialog.List()->currentRow(), 0);
        EXPECT_EQ(Shown(dialog.Preview()).cardWidth, 100);
        EXPECT_FALSE(dialog.OkButton()->isEnabled());  // until the user picks one
        EXPECT_TRUE(dialog.EditButton()->isEnabled());
        EXPECT_EQ(dialog.Page().width, 612);

        dialog.List()->setCurrentRow(2);
        EXPECT_TRUE(dialog.OkButton()->isEnabled());
        EXPECT_EQ(Shown(dialog.Preview()).cardWidth, 120);

        // Edit, cancelled and then taken.
        dialog.takeEdit = false;
        QTest::mouseClick(dialog.EditButton(), Qt::LeftButton);
        EXPECT_EQ(LabelTypeName(dialog.seen), "Fig");
        dialog.takeEdit = true;
        dialog.edit = [](LabelTypeRecord* r) { r->cardWidth = 144; };
        QTest::mouseClick(dialog.EditButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.Table().GetLabelType(2)->cardWidth, 144);
        EXPECT_EQ(Shown(dialog.Preview()).cardWidth, 144);

        // Sorting keeps Fig chosen.
        QTest::mouseClick(dialog.SortButton(), Qt::LeftButton);
        EXPECT_EQ(LabelTypeName(*dialog.Table().GetLabelType(0)), "Apple");
        EXPECT_EQ(dialog.List()->currentRow(), 1);
        EXPECT_EQ(LabelTypeName(*dialog.Table().GetLabelType(1)), "Fig");

        // Deleting asks first; No keeps it.
        alerts.answer(kIdCancel);
        QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);
        EXPECT_EQ(alerts.lastText(), kLabelDeleteQuestionText);
        EXPECT_EQ(dialog.List()->count(), 3);
        alerts.answer(kIdOk);
        dialog.List()->setCurrentRow(2);
        QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);  // Pear, the last: the one before is chosen
        EXPECT_EQ(dialog.List()->count(), 2);
        EXPECT_EQ(dialog.List()->currentRow(), 1);
        dialog.List()->setCurrentRow(0);
        QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);  // Apple: Fig moves into its place
        EXPECT_EQ(dialog.List()->currentRow(), 0);
        EXPECT_EQ(LabelTypeName(*dialog.Table().GetLabelType(0)), "Fig");

        dialog.reject();  // Cancel: the file is as it was
    }
    EXPECT_EQ(ReadFileBytes(File()), stored);

    ScriptedList dialog;
    dialog.show();
    alerts.answer(kIdOk);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.List()->count(), 0);
    for (QPushButton* b : {dialog.EditButton(), dialog.DeleteButton(), dialog.SortButton(), dialog.OkButton()})
        EXPECT_FALSE(b->isEnabled());
    dialog.accept();
    EXPECT_EQ(ReadFileBytes(File()), "");
    EXPECT_EQ(dialog.GetCurLabel(nullptr), -1);
}

TEST_F(LabelDialogs, ListOfLabelsReportsADamagedFileAndLeavesIt)
{
    LabelTypeRecord wild = Named("wild");
    wild.rows = -4;
    const std::string stored = Bytes({Named("fine"), wild});
    WriteFileBytes(File(), stored);
    ScriptedList dialog;
    dialog.show();
    EXPECT_EQ(alerts.lastText(), kLabelFileOpenErrorText);
    EXPECT_EQ(dialog.List()->count(), 0);
    QTest::mouseClick(dialog.NewButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.List()->count(), 0);
    dialog.accept();
    EXPECT_EQ(ReadFileBytes(File()), stored);
}

TEST_F(LabelDialogs, LabelTypeShowsLengthsInTheChosenUnitAndTakesOnlyWhatTheUserChanged)
{
    LabelTypeRecord laser;
    GetBuiltinLabelType(&laser, 0);
    laser.unit = 2;  // centimetres: 252 points (3.5 in) show as 8.89
    CDlgLabelType dialog;
    dialog.SetLabelType(laser);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Label Type");
    EXPECT_FALSE(dialog.FormatCombo()->isVisible());
    EXPECT_FALSE(dialog.CenteringCheck()->isVisible());
    EXPECT_EQ(dialog.NameEdit()->text(), "Laser Tessaline #5371");
    EXPECT_EQ(dialog.UnitsCombo()->currentText(), "Cm");
    EXPECT_EQ(dialog.WidthEdit()->text(), "8.89");
    EXPECT_TRUE(LabelTypeSame(dialog.Record(), laser));

    dialog.UnitsCombo()->setCurrentIndex(1);
    EXPECT_DOUBLE_EQ(dialog.WidthEdit()->value(), 3.5);
    dialog.UnitsCombo()->setCurrentIndex(0);
    EXPECT_DOUBLE_EQ(dialog.WidthEdit()->value(), 252);
    EXPECT_TRUE(LabelTypeSame(dialog.Record(), laser));  // the unit word too stays

    Type(dialog.HeightEdit(), "150");
    EXPECT_EQ(dialog.Record().cardHeight, 150);
    EXPECT_EQ(dialog.Record().cardWidth, 252);
    EXPECT_EQ(Shown(dialog.Preview()).cardHeight, 150);
    dialog.UnitsCombo()->setCurrentIndex(1);
    Type(dialog.LeftEdit(), "0.5");
    EXPECT_EQ(dialog.Record().leftMargin, 36);
    dialog.AcrossEdit()->stepBy(1);
    EXPECT_EQ(dialog.Record().columns, 3);
    dialog.TopEdit()->stepBy(-100);  // a hundred steps of 0.01 inch
    EXPECT_NEAR(dialog.Record().topMargin, 36 - 72, 1e-9);
}

TEST_F(LabelDialogs, LabelTypeRefusesSizesOutsideItsLimits)
{
    LabelTypeRecord laser;
    GetBuiltinLabelType(&laser, 0);
    CDlgLabelType dialog;
    dialog.SetLabelType(laser);
    dialog.show();
    Type(dialog.WidthEdit(), "20000");
    EXPECT_LE(dialog.Record().cardWidth, 10000 * 72.0);
    Type(dialog.HeightEdit(), "0");
    EXPECT_EQ(dialog.Record().cardHeight, 144);  // 0 is no card height
    Type(dialog.TopEdit(), "-20000");
    EXPECT_GE(dialog.Record().topMargin, -10000 * 72.0);
    Type(dialog.AcrossEdit(), "0");
    EXPECT_EQ(dialog.Record().columns, 2);
    Type(dialog.DownEdit(), "101");
    EXPECT_LE(dialog.Record().rows, 100);
    EXPECT_GE(dialog.Record().rows, 1);
    dialog.DownEdit()->stepBy(500);
    EXPECT_EQ(dialog.Record().rows, 100);
    EXPECT_TRUE(LabelTypeIsSane(dialog.Record()));
}

TEST_F(LabelDialogs, ADamagedLayoutShowsNoCardsUntilItIsMended)
{
    LabelTypeRecord wild = Named("From a damaged document");
    wild.columns = 30000;
    wild.rows = 30000;
    CDlgLabelType dialog;
    dialog.SetMode(kLabelTypeModeDocument);
    dialog.SetLabelType(wild);
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(Shown(dialog.Preview()).columns, 0);
    Type(dialog.AcrossEdit(), "3");
    Type(dialog.DownEdit(), "4");
    EXPECT_EQ(Shown(dialog.Preview()).columns, 3);
    EXPECT_EQ(Shown(dialog.Preview()).rows, 4);
}

TEST_F(LabelDialogs, LabelTypeNameMustNotBeEmptyAndIsCutTo63Characters)
{
    CDlgLabelType dialog;
    LabelTypeRecord r = Named("x");
    dialog.SetLabelType(r);
    dialog.show();
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.NameEdit()->clear();
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClicks(dialog.NameEdit(), QString(70, QLatin1Char('w')));
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    LabelTypeRecord out;
    dialog.GetLabelType(&out);
    EXPECT_EQ(LabelTypeName(out), std::string(63, 'w'));

    // A name with a character outside the code page keeps the rest.
    CDlgLabelType other;
    other.SetLabelType(r);
    other.show();
    other.NameEdit()->setText(QStringLiteral("Caf\u00e9 \u20ac"));
    other.accept();
    other.GetLabelType(&out);
    EXPECT_EQ(LabelTypeName(out), "Caf\xE9 \x80");
}

TEST_F(LabelDialogs, ChoosingFromTheFileLoadsTheLabelType)
{
    WriteFileBytes(File(), Bytes({Named("One", 100), Named("Two", 200)}));
    CDlgLabelType dialog;
    dialog.SetMode(kLabelTypeModeChoose);
    dialog.SetLabelType(Named("Current", 50));
    dialog.show();
    EXPECT_FALSE(dialog.NameEdit()->isVisible());
    EXPECT_FALSE(dialog.CenteringCheck()->isVisible());
    ASSERT_EQ(dialog.FormatCombo()->count(), 2);
    EXPECT_EQ(dialog.FormatCombo()->currentText(), "Current");
    EXPECT_EQ(dialog.FormatCombo()->itemText(1), "Two");
    LabelTypeRecord r;
    EXPECT_EQ(dialog.FormatCombo()->GetCurLabel(&r), -1);
    dialog.FormatCombo()->setCurrentIndex(1);
    EXPECT_EQ(dialog.FormatCombo()->GetCurLabel(&r), 1);
    EXPECT_EQ(dialog.Record().cardWidth, 200);
    EXPECT_EQ(dialog.WidthEdit()->text(), "2.7778");  // 200 points in inches, to four places
    dialog.FormatCombo()->setEditText(QString());
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    dialog.FormatCombo()->setEditText(QStringLiteral("Two, renamed"));
    dialog.accept();
    dialog.GetLabelType(&r);
    EXPECT_EQ(LabelTypeName(r), "Two, renamed");
    EXPECT_EQ(r.cardWidth, 200);
}

TEST_F(LabelDialogs, DocumentSettingsPutsTheChosenLayoutsPaperIntoThePrinter)
{
    FakePrinterCaps printer;
    printer.defaults.dmFields = DM_ORIENTATION | DM_PAPERSIZE;
    printer.defaults.dmOrientation = DMORIENT_LANDSCAPE;
    printer.defaults.dmPaperSize = 9;  // A4
    printer.papers = {1, 5, 9};
    SetLabelPageReader(nullptr);  // the page comes from the fake printer's settings
    LabelTypeRecord wizard = Named("Wizard format", 300);
    wizard.orientation = 2;
    wizard.paper = 3;  // A4 of the paper table
    SetLabelDocFormatSource([wizard] { return std::vector<LabelTypeRecord>{wizard}; });

    LabelTypeRecord current = Named("Document's own");
    current.centering = 1;
    CDlgLabelType dialog;
    dialog.SetMode(kLabelTypeModeDocument);
    dialog.SetLabelType(current);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Document Settings");
    EXPECT_TRUE(dialog.CenteringCheck()->isVisible());
    EXPECT_TRUE(dialog.CenteringCheck()->isChecked());
    ASSERT_EQ(dialog.FormatCombo()->count(), 3);
    EXPECT_EQ(dialog.FormatCombo()->itemText(0), "Laser Tessaline #5371");
    EXPECT_EQ(dialog.FormatCombo()->itemText(1), "InkJet Tessaline #8371");
    EXPECT_EQ(dialog.FormatCombo()->itemText(2), "Wizard format");

    dialog.FormatCombo()->setCurrentIndex(1);
    EXPECT_EQ(LabelTypeName(dialog.Record()), "InkJet Tessaline #8371");
    EXPECT_EQ(dialog.Record().orientation, 1);
    EXPECT_EQ(dialog.Record().paper, 1);
    EXPECT_EQ(dialog.Record().centering, 0);
    EXPECT_FALSE(dialog.CenteringCheck()->isChecked());
    int32_t portrait = -1, paper = -1;
    EXPECT_EQ(GetPrinterPortrait(&portrait), 0);
    EXPECT_EQ(portrait, 1);
    EXPECT_EQ(GetPrinterPaperIndex(&paper), 0);
    EXPECT_EQ(paper, kPaperEntryLetter);
    EXPECT_EQ(dialog.Page().width, 612);
    EXPECT_EQ(dialog.Page().height, 792);

    dialog.FormatCombo()->setCurrentIndex(2);
    EXPECT_EQ(dialog.Record().cardWidth, 300);
    EXPECT_EQ(GetPrinterPortrait(&portrait), 0);
    EXPECT_EQ(portrait, 0);
    EXPECT_EQ(dialog.Page().width, 841);  // A4, landscape

    QTest::mouseClick(dialog.CenteringCheck(), Qt::LeftButton);
    EXPECT_EQ(dialog.Record().centering, 1);
    EXPECT_EQ(Shown(dialog.Preview()).centred, 1);
    dialog.accept();
    LabelTypeRecord out;
    dialog.GetLabelType(&out);
    EXPECT_EQ(LabelTypeName(out), "Wizard format");
    EXPECT_EQ(out.centering, 1);
}

TEST_F(LabelDialogs, TheDialogsPictureIsWritten)
{
    ASSERT_EQ(Shell(dir, "\"$T\" label-type-shot shot.png"), 0);
    QImage shot(QString::fromStdString(dir.file("shot.png")));
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(shot.width(), 400);
    // Green card frames on the preview.
    bool green = false;
    for (int y = 0; y < shot.height() && !green; ++y)
        for (int x = 0; x < shot.width() && !green; ++x)
            green = shot.pixel(x, y) == qRgb(0, 255, 0);
    EXPECT_TRUE(green);
    EXPECT_NE(Shell(dir, "\"$T\" label-type-shot 2>/dev/null"), 0);
}

// A database field made a barcode: the ZIP code field chosen on the
// database tool bar and placed on the sample card, Object > Make Object a
// Barcode, Code 39 chosen in its Barcode Info, then every record printed to
// a PDF file; each card must carry bars that read back as its record's ZIP
// code.
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>

#include "app/main_frame.h"
#include "app/tool_bar_db.h"
#include "carddoc/labels_doc.h"
#include "app/child_frame.h"
#include "dialogs/barcode_info_dialog.h"
#include "dialogs/label_type_dlg.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "records/command_ids.h"
#include "support/needed_tools.h"
#include "support/run_program.h"
#include "support/shell.h"
#include "journey_fixture.h"

namespace {

class FieldBarcodeJourney : public JourneyTest {
protected:
    // The ZIP code field placed by a click at the card point; the new frame.
    FrameObj* PlaceZipField(int x, int y)
    {
        QComboBox* fields = MainWindow()->DatabaseBar()->InsertFieldCombo();
        const int entry = fields->findText("ZipCode");
        EXPECT_GE(entry, 0);
        fields->setCurrentIndex(entry);
        Q_EMIT fields->activated(entry);
        Settle();
        CurrPageMng* pages = CardDocument()->PageManager();
        const int16_t before = pages->FrameCount();
        Click(CardPoint(x, y));
        Settle();
        if (pages->FrameCount() <= before)
            return nullptr;
        return pages->FrameAt(int16_t(pages->FrameCount() - 1));
    }

    // What zbarimg reads on the PDF's pages at 300 dots an inch, one code a
    // line.
    std::string Decoded(const std::string& pdf)
    {
        const std::string prefix = TempFile("page");
        const ProgramRun render = RunProgramFor("pdftoppm", {"-r", "300", "-png", pdf, prefix});
        EXPECT_TRUE(render.ok) << render.failure;
        std::vector<std::string> pages;
        for (const QString& name : QDir(QString::fromStdString(TempFile(""))).entryList({"page*.png"}, QDir::Files))
            pages.push_back(TempFile(name.toStdString()));
        std::vector<std::string> arguments{"-q", "--raw"};
        arguments.insert(arguments.end(), pages.begin(), pages.end());
        return RunProgramFor("zbarimg", arguments).out;
    }
};

TEST_F(FieldBarcodeJourney, AFieldMadeABarcodePrintsBarsOfEachRecord)
{
    if (!HaveTool("pdftoppm") || !HaveTool("zbarimg"))
        SKIP_FOR_MISSING_TOOL() << "pdftoppm and zbarimg read the printed bars back";
    // Blank 3.5 x 2 in cards, eight to the page, filled from the contacts.
    ASSERT_NE(NewLabelSheet([](CDlgLabelType* type) {
                  type->NameEdit()->setText("Plain cards");
                  type->UnitsCombo()->setCurrentIndex(1);  // Inch
                  type->WidthEdit()->setValue(3.5);
                  type->HeightEdit()->setValue(2);
                  type->AcrossEdit()->setValue(2);
                  type->DownEdit()->setValue(4);
              }),
              nullptr)
        << alerts.lastText();
    const QString title = MainWindow()->ActiveChildFrame()->windowTitle();
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_TRUE(ChooseWindow(title.left(8)));
    MaximizeCardWindow();

    FrameObj* zip = PlaceZipField(16, 16);
    ASSERT_NE(zip, nullptr) << "no field was placed";
    ASSERT_EQ(zip->GetType(), kFrameFieldBarcode);
    ASSERT_TRUE(Trigger(kCmdBarcodeMark));
    EXPECT_TRUE(Checked(kCmdBarcodeMark));
    OnNextDialog([](QWidget* dialog) {
        auto* info = dynamic_cast<CDlgBarcodeInfo*>(dialog);
        ASSERT_NE(info, nullptr);
        info->TypeCombo()->setCurrentIndex(info->TypeCombo()->findText("Code39"));
        Accept()(dialog);
    });
    ASSERT_TRUE(Trigger(kCmdPlaceBarcode));
    Settle();

    // On the card the frame still shows what it holds, at a size that can
    // be seen and picked.
    const FramePlacement shown = zip->Block().attr.geometry;
    EXPECT_GE(shown.width, 40);
    EXPECT_GE(shown.height, 9);

    const std::string pdf = TempFile("zip.pdf");
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
    Settle(100);
    const std::string codes = Decoded(pdf);
    for (const char* code : {"62701", "04101", "53703", "69001", "78701"})
        EXPECT_NE(codes.find(code), std::string::npos) << code << " not among:\n" << codes;
    EXPECT_EQ(codes.find("Barcoded"), std::string::npos) << codes;
}

}  // namespace

// The keys held down while the mouse works, and the abort keys of long
// passes: the program follows them as a person presses them.
#include <QDialog>
#include <QFile>
#include <QTest>

#include "carddoc/labels_doc.h"
#include "carddoc/labels_view.h"
#include "dialogs/object_info_dialog.h"
#include "dialogs/star_info_dialog.h"
#include "sample_card_journey.h"

namespace {

class KeysJourney : public SampleCardJourney {};

TEST_F(KeysJourney, ShiftWithADoubleClickOnTheStarOpensObjectInfoInsteadOfStarInfo)
{
    // The first click (with Shift) adds the star to the empty selection;
    // the second opens its information.
    const char* opened = "";
    OnNextDialog([&opened](QWidget* dialog) {
        opened = dynamic_cast<CDlgObjectInfo*>(dialog) ? "Object Info"
                 : dynamic_cast<CDlgStarInfo*>(dialog) ? "Star Info"
                                                        : "another dialog";
        static_cast<QDialog*>(dialog)->reject();
    });
    DoubleClick(Star(), Qt::ShiftModifier);
    EXPECT_STREQ(opened, "Object Info");
}

TEST_F(KeysJourney, ShiftAddsAFrameToTheSelection)
{
    Click(Star());
    EXPECT_FALSE(Enabled("Object > Align Object...")) << "one frame selected";
    // The rule under the company line, with Shift: two frames.
    Click(CardPoint(150, 43), Qt::ShiftModifier);
    EXPECT_TRUE(Enabled("Object > Align Object...")) << "Shift did not add the rule to the selection";
    // A plain click on the empty card lets both go.
    Click(CardPoint(215, 75));
    EXPECT_FALSE(Enabled("Object > Align Object..."));
    EXPECT_FALSE(Enabled("Object > Duplicate"));
}

TEST_F(KeysJourney, HoldingEscapeOrControlPeriodStopsAPrintAndLeavesNoFile)
{
    const std::string pdf = TempFile("sheet.pdf");
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Period}) {
        SCOPED_TRACE(key == Qt::Key_Escape ? "Esc" : "Ctrl+.");
        const Qt::KeyboardModifiers modifiers = key == Qt::Key_Period ? Qt::ControlModifier : Qt::NoModifier;
        if (modifiers)
            QTest::keyPress(CardView(), Qt::Key_Control);
        QTest::keyPress(CardView(), key, modifiers);
        OnNextDialog(PrintToPdfFile(pdf));
        ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        QTest::keyRelease(CardView(), key, modifiers);
        if (modifiers)
            QTest::keyRelease(CardView(), Qt::Key_Control);
        Settle();
        EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf))) << "the print was not stopped";
    }

    // With the keys let go the same print runs to its end.
    OnNextDialog(PrintToPdfFile(pdf));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
    // The card's own text; its merge fields print empty without a
    // database or sample texts.
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Tel."), std::string::npos) << text.substr(0, 300);
}

}  // namespace

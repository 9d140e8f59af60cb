#include <gtest/gtest.h>

#include <cstring>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs/create_color_dialog.h"
#include "typography/color_pane.h"

namespace {

// The colour chooser answers what the test says instead of opening.
class TestCreateColor : public CDlgCreateColor {
public:
    bool chooserOk = true;
    ColorRef chosen = 0x123456;
    ColorRef offered = 0;
    int chooserRuns = 0;

protected:
    bool ChooseColor(ColorRef* colour) override
    {
        ++chooserRuns;
        offered = *colour;
        if (chooserOk)
            *colour = chosen;
        return chooserOk;
    }
};

ColorTable DocumentTable()
{
    ColorTable t;
    t.SetColor(2, 0x0000FF);
    t.SetName(2, "Brick");
    t.SetColor(5, 0x00FF00);
    t.SetName(5, "Lime");
    return t;
}

std::string Name(const ColorTable& t, int i)
{
    char name[kColorNameSize] = {};
    t.GetName(i, name);
    return name;
}

QRgb PaneCentre(ColorPane* pane)
{
    const QImage image = pane->grab().toImage();
    return image.pixel(image.width() / 2, image.height() / 2) & 0xFFFFFF;
}

class CreateColorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.SetColorTable(document);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    void Pick(int i)
    {
        QTest::mouseClick(dialog.Pane(i), Qt::LeftButton);
        QApplication::processEvents();
    }
    void TypeName(const char* text)
    {
        dialog.NameEdit()->setFocus();
        dialog.NameEdit()->selectAll();
        QTest::keyClicks(dialog.NameEdit(), QString::fromLatin1(text));
    }

    ColorTable document = DocumentTable();
    TestCreateColor dialog;
};

TEST_F(CreateColorTest, PickingAPaneShowsItsNameAndTypedNamesReachTheEntry)
{
    EXPECT_EQ(dialog.Current(), 0);
    Pick(2);
    EXPECT_EQ(dialog.Current(), 2);
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("Brick"));
    // The name is taken when the field is left, here for another pane.
    TypeName("Terracotta");
    Pick(5);
    EXPECT_EQ(dialog.Current(), 5);
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("Lime"));
    EXPECT_EQ(Name(dialog.Table(), 2), "Terracotta");
    // Names are cut where the record ends.
    TypeName("A name far longer than thirty-one characters");
    QTest::mouseClick(dialog.SetColorButton(), Qt::LeftButton);
    EXPECT_EQ(Name(dialog.Table(), 5), "A name far longer than thirty-o");
}

TEST_F(CreateColorTest, SetColorChangesTheCurrentEntryAndItsPane)
{
    Pick(5);
    dialog.chooserOk = false;
    QTest::mouseClick(dialog.SetColorButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.offered, 0x00FF00u);
    EXPECT_EQ(dialog.Table().GetColor(5), 0x00FF00u);
    dialog.chooserOk = true;
    dialog.chosen = 0xFF0000;  // blue
    QTest::mouseClick(dialog.SetColorButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.Table().GetColor(5), 0xFF0000u);
    EXPECT_EQ(dialog.Pane(5)->Color(), 0xFF0000u);
    EXPECT_EQ(PaneCentre(dialog.Pane(5)), 0x0000FFu);  // QRgb is 0xRRGGBB
    // OK hands back exactly the edited table; the caller's stays as it was.
    dialog.accept();
    EXPECT_EQ(dialog.Table().GetColor(5), 0xFF0000u);
    EXPECT_EQ(dialog.Table().GetColor(2), 0x0000FFu);
    EXPECT_EQ(document.GetColor(5), 0x00FF00u);
}

TEST_F(CreateColorTest, ResetsRestoreWhatTheDialogOpenedWith)
{
    Pick(2);
    QTest::mouseClick(dialog.SetColorButton(), Qt::LeftButton);
    TypeName("Rust");
    Pick(5);
    QTest::mouseClick(dialog.SetColorButton(), Qt::LeftButton);
    Pick(2);
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("Rust"));

    // One entry: its colour and name, no other.
    QTest::mouseClick(dialog.ResetColorButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.Table().GetColor(2), 0x0000FFu);
    EXPECT_EQ(Name(dialog.Table(), 2), "Brick");
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("Brick"));
    EXPECT_EQ(dialog.Pane(2)->Color(), 0x0000FFu);
    EXPECT_EQ(dialog.Table().GetColor(5), 0x123456u);

    // All entries, the current one kept.
    Pick(7);
    TypeName("Mine");
    Pick(5);
    QTest::mouseClick(dialog.ResetAllButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.Current(), 5);
    for (int i = 0; i < kColorCount; ++i) {
        EXPECT_EQ(dialog.Table().GetColor(i), document.GetColor(i)) << i;
        EXPECT_EQ(Name(dialog.Table(), i), Name(document, i)) << i;
        EXPECT_EQ(dialog.Pane(i)->Color(), document.GetColor(i)) << i;
    }
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("Lime"));
}

}  // namespace

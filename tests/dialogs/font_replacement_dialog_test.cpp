#include <gtest/gtest.h>

#include <cstring>

#include <QPushButton>
#include <QTest>

#include "dialogs/font_replacement_dialog.h"
#include "typography/fake_font_source.h"
#include "typography/font_combo_box.h"

namespace {

FontSpec Spec(const char* face, uint8_t charSet = 0)
{
    FontSpec s;
    s.type = kFontTypeTrueType;
    s.charSet = charSet;
    s.pitchAndFamily = 0x22;
    std::strncpy(s.faceName, face, sizeof(s.faceName) - 1);
    return s;
}

std::string Face(const FontTable& t, int32_t id, bool own)
{
    FontSpec s;
    if (!t.LookupIn(id, &s, own))
        return "(none)";
    return s.faceName;
}

class FontReplacementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        source.faces.push_back({"Arial", TRUETYPE_FONTTYPE, 0x22, 2048, {0, 238}, {}});
        source.faces.push_back({"Georgia", TRUETYPE_FONTTYPE, 0x12, 2048, {0}, {}});
        source.faces.push_back({"Times New Roman", TRUETYPE_FONTTYPE, 0x12, 2048, {0}, {}});
        source.fallback = "Times New Roman";
        LogFont all;
        all.charSet = DEFAULT_CHARSET;
        ASSERT_TRUE(GetGlobalFontList()->Build(&all));
    }
    void TearDown() override { GetGlobalFontList()->RemoveAll(); }

    // A document with Arial and three fonts that are not installed.
    void MissingFonts()
    {
        const FontSpec arial = Spec("Arial");
        document.AddFont(&arial);
        for (const char* face : {"Gone One", "Gone Two", "Gone Three"}) {
            const FontSpec s = Spec(face, 238);
            document.AddFont(&s);
        }
        document.CheckInstalledFonts();
        ASSERT_EQ(document.Substitutes().GetCount(), 3);
    }
    // Moves a combo's selection as the keyboard does, which reports it
    // as the user's choice.
    static void Step(QComboBox* combo, Qt::Key key, int times = 1)
    {
        combo->setFocus();
        for (int i = 0; i < times; ++i)
            QTest::keyClick(combo, key);
    }

    FakeFontSource source;
    FontTable document;
};

TEST_F(FontReplacementTest, ADocumentWithoutReplacedFontsDisablesEverything)
{
    const FontSpec arial = Spec("Arial");
    document.AddFont(&arial);
    document.CheckInstalledFonts();
    CDlgFontReplacement dialog;
    dialog.SetDocument(&document);
    EXPECT_EQ(dialog.ReplacedCombo()->count(), 0);
    EXPECT_FALSE(dialog.ReplacedCombo()->isEnabled());
    EXPECT_FALSE(dialog.ReplacingCombo()->isEnabled());
    EXPECT_FALSE(dialog.MakePermanentButton()->isEnabled());
    EXPECT_EQ(dialog.ReplacingCombo()->count(), 3);
}

TEST_F(FontReplacementTest, ReplacedFontsShowTheirReplacementAndTakeAnother)
{
    MissingFonts();
    CDlgFontReplacement dialog;
    dialog.SetDocument(&document);
    const std::vector<int32_t>& ids = dialog.ReplacedIds();
    ASSERT_EQ(ids.size(), 3u);
    std::vector<int32_t> order;
    document.Substitutes().ForEach([&order](int32_t id, const FontEntry&) { order.push_back(id); });
    EXPECT_EQ(ids, order);
    EXPECT_EQ(dialog.ReplacedCombo()->itemText(0).toStdString(), Face(document, ids[0], true));
    EXPECT_EQ(dialog.ReplacedCombo()->currentIndex(), 0);
    EXPECT_EQ(dialog.ReplacingCombo()->currentText(), QStringLiteral("Times New Roman"));

    // Georgia replaces the second font, in the character set of the
    // document's own font where the installed font has it.
    dialog.show();
    Step(dialog.ReplacedCombo(), Qt::Key_Down);
    ASSERT_EQ(dialog.ReplacedCombo()->currentIndex(), 1);
    Step(dialog.ReplacingCombo(), Qt::Key_Up);
    EXPECT_EQ(dialog.ReplacingCombo()->currentText(), QStringLiteral("Georgia"));
    FontSpec s;
    ASSERT_TRUE(dialog.WorkingTable().LookupIn(ids[1], &s, false));
    EXPECT_STREQ(s.faceName, "Georgia");
    EXPECT_EQ(s.charSet, 0);  // Georgia has no set 238
    Step(dialog.ReplacingCombo(), Qt::Key_Up);
    ASSERT_TRUE(dialog.WorkingTable().LookupIn(ids[1], &s, false));
    EXPECT_STREQ(s.faceName, "Arial");
    EXPECT_EQ(s.charSet, 238);

    // Going back to the first replaced font shows its own replacement.
    Step(dialog.ReplacedCombo(), Qt::Key_Up);
    EXPECT_EQ(dialog.ReplacingCombo()->currentText(), QStringLiteral("Times New Roman"));

    // Cancel: the document keeps its substitutes.
    dialog.reject();
    EXPECT_EQ(Face(document, ids[1], false), "Times New Roman");
}

TEST_F(FontReplacementTest, MakePermanentRemovesFontsFromTheList)
{
    MissingFonts();
    CDlgFontReplacement dialog;
    dialog.SetDocument(&document);
    const std::vector<int32_t> ids = dialog.ReplacedIds();
    dialog.show();
    Step(dialog.ReplacedCombo(), Qt::Key_Down, 2);
    ASSERT_EQ(dialog.ReplacedCombo()->currentIndex(), 2);
    QTest::mouseClick(dialog.MakePermanentButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.ReplacedIds().size(), 2u);
    EXPECT_EQ(dialog.ReplacedCombo()->currentIndex(), 1);  // the new last entry
    EXPECT_EQ(Face(dialog.WorkingTable(), ids[2], true), "Times New Roman");
    EXPECT_EQ(Face(dialog.WorkingTable(), ids[2], false), "(none)");

    QTest::mouseClick(dialog.MakePermanentButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.MakePermanentButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.ReplacedIds().empty());
    EXPECT_EQ(dialog.ReplacedCombo()->count(), 0);
    EXPECT_FALSE(dialog.MakePermanentButton()->isEnabled());
    EXPECT_FALSE(dialog.ReplacingCombo()->isEnabled());

    // OK hands the result to the document.
    EXPECT_EQ(document.Substitutes().GetCount(), 3);
    dialog.accept();
    EXPECT_EQ(document.Substitutes().GetCount(), 0);
    EXPECT_EQ(Face(document, ids[0], true), "Times New Roman");
}

}  // namespace

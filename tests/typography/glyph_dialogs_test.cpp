#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/program_folder.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"
#include "typography/glyph_effects_sheet.h"
#include "typography/glyph_preview.h"
#include "typography/power_text_styles.h"
#include "typography/power_text_styles_dlg.h"

namespace {

FontSpec Font(const char* face, uint32_t type, uint8_t charSet = 0)
{
    FontSpec s;
    s.type = type;
    s.charSet = charSet;
    s.pitchAndFamily = 0x22;
    s.emSize = type == kFontTypeTrueType ? 2048 : 0;
    std::strcpy(s.faceName, face);
    return s;
}

class FakeFontList : public GlyphFontList {
public:
    FakeFontList() : previous_(SetGlyphFontList(this)) {}
    ~FakeFontList() override { SetGlyphFontList(previous_); }
    int32_t Count() const override { return int32_t(fonts.size()); }
    bool GetFontSpec(int32_t index, uint8_t, FontSpec* face) const override
    {
        if (fonts.empty())
            return false;
        *face = fonts[index >= 0 && index < Count() ? size_t(index) : 0];
        return true;
    }
    int32_t FindFont(const char* face, uint32_t type) const override
    {
        for (size_t i = 0; i < fonts.size(); ++i)
            if (fonts[i].type == type && (!*face || std::strcmp(fonts[i].faceName, face) == 0))
                return int32_t(i);
        return -1;
    }
    std::vector<FontSpec> fonts = {Font("Courier", kFontTypeDevice), Font("Arial", kFontTypeTrueType),
                                   Font("Times New Roman", kFontTypeTrueType)};

private:
    GlyphFontList* previous_;
};

class FakeFontTable : public GlyphFontTable {
public:
    bool Lookup(int32_t id, FontSpec* face) const override
    {
        auto it = fonts.find(id);
        if (it == fonts.end())
            return false;
        *face = it->second;
        return true;
    }
    int32_t GetFontId(const FontSpec& face) override
    {
        for (const auto& [id, f] : fonts)
            if (f == face)
                return id;
        const int32_t id = fonts.empty() ? 0 : fonts.rbegin()->first + 1;
        fonts[id] = face;
        return id;
    }
    std::map<int32_t, FontSpec> fonts = {{0, Font("Arial", kFontTypeTrueType)}, {4, Font("Gone", 4)}};
};

template <class T>
T* Child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// How many of the preview's pixels differ from its background.
int Ink(CGlyphPreviewWnd* preview)
{
    const QImage image = preview->grab().toImage();
    const QRgb background = image.pixel(0, 0);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != background;
    return n;
}

GlyphEffect Effect(const char* line1, int16_t fontIndex = 1)
{
    GlyphEffect e;
    SetGlyphLine(e.line1, line1);
    e.fontId = fontIndex;
    e.shape = 1;
    e.alignment = 1;
    e.orientation = kGlyphHorizontal;
    e.style = GlyphStyle{2, 15, 100, 1, 3, 100, 0, 100, 1, 1, 1, 13, 100, 1, 100};
    return e;
}

TEST(GlyphEffectsSheet, AZeroRecordOpensOnTheFirstItems)
{
    FakeFontList fonts;
    DefaultGlyphTints tints;
    GlyphEffect zero;
    CDlgGlyphEffects sheet(QStringLiteral("Glyph Effects"));
    sheet.SetEffect(&zero, &tints);
    sheet.Prepare();
    sheet.show();
    ASSERT_EQ(sheet.Tabs()->count(), 3);
    EXPECT_EQ(sheet.Tabs()->tabText(2), "Shade");
    CPgGE* outline = sheet.PageAt(0);
    EXPECT_EQ(Child<QComboBox>(outline, "Style")->currentIndex(), 0);
    EXPECT_EQ(Child<QComboBox>(outline, "Color")->currentIndex(), 0);
    EXPECT_EQ(Child<QComboBox>(outline, "Shade")->currentText(), "   0%");
    // No Outline: colour and tint are off.
    EXPECT_FALSE(Child<QComboBox>(outline, "Color")->isEnabled());

    GlyphEffect out;
    sheet.GetEffect(&out);
    EXPECT_EQ(out.style.outlineStyle, 1);
    // Pages not shown yet keep their fields as they were.
    EXPECT_FALSE(sheet.PageAt(2)->IsInitialised());
    EXPECT_EQ(out.style.shadowStyle, 0);
    sheet.Tabs()->setCurrentIndex(2);
    sheet.GetEffect(&out);
    EXPECT_EQ(out.style.shadowStyle, 1);
    EXPECT_EQ(out.style.shadowPosition, 1);
    EXPECT_EQ(out.style.shadowFill, 1);
    // The caller's record changes only through GetEffect.
    EXPECT_EQ(zero.style.shadowStyle, 0);
}

TEST(GlyphEffectsSheet, ListsStoreTheirFieldsAndEnableTheirNeighbours)
{
    FakeFontList fonts;
    DefaultGlyphTints tints;
    GlyphEffect e = Effect("Ab");
    e.style.outlineTint = 250;  // out of range: becomes 0
    CDlgGlyphEffects sheet(QStringLiteral("Custom Style"), nullptr, CDlgGlyphEffects::kShadePage);
    sheet.SetEffect(&e, &tints);
    sheet.Prepare();
    sheet.show();
    CPgGE* shade = sheet.PageAt(2);
    ASSERT_TRUE(shade->IsInitialised());
    EXPECT_TRUE(shade->Preview()->isVisible());
    for (const char* name : {"Position", "Fill", "Color", "Shade", "Blend Color", "Blend Shade"})
        EXPECT_FALSE(Child<QComboBox>(shade, name)->isEnabled()) << name;
    Child<QComboBox>(shade, "Style")->setCurrentIndex(3);  // Silhouette
    EXPECT_FALSE(Child<QComboBox>(shade, "Position")->isEnabled());
    EXPECT_TRUE(Child<QComboBox>(shade, "Color")->isEnabled());
    EXPECT_FALSE(Child<QComboBox>(shade, "Blend Color")->isEnabled());
    Child<QComboBox>(shade, "Fill")->setCurrentIndex(5);
    EXPECT_TRUE(Child<QComboBox>(shade, "Blend Color")->isEnabled());
    Child<QComboBox>(shade, "Blend Shade")->setCurrentIndex(7);
    Child<QComboBox>(shade, "Color")->setCurrentIndex(9);

    sheet.Tabs()->setCurrentIndex(1);
    CPgGE* interior = sheet.PageAt(1);
    EXPECT_FALSE(Child<QComboBox>(interior, "Blend Color")->isEnabled());
    Child<QComboBox>(interior, "Fill")->setCurrentIndex(1);
    EXPECT_TRUE(Child<QComboBox>(interior, "Blend Shade")->isEnabled());

    sheet.Tabs()->setCurrentIndex(0);
    GlyphEffect out;
    sheet.GetEffect(&out);
    EXPECT_EQ(out.style.shadowStyle, kShadowSilhouette);
    EXPECT_EQ(out.style.shadowFill, kFillRadiant);
    EXPECT_EQ(out.style.shadowBlendTint, 70);
    EXPECT_EQ(out.style.shadowColor, 9);
    EXPECT_EQ(out.style.fillStyle, kFillBlendAcross);
    EXPECT_EQ(out.style.outlineTint, 0);
    EXPECT_GT(Ink(sheet.PageAt(0)->Preview()), 100);
}

TEST(GlyphPreview, ShowsTheEffectTheMessageOrNothing)
{
    FakeFontList fonts;
    DefaultGlyphTints tints;
    QWidget parent;
    CGlyphPreviewWnd preview(&parent);
    preview.resize(240, 100);
    GlyphEffect e = Effect("Ab");
    preview.SetEffect(&e, &tints);
    const int drawn = Ink(&preview);
    EXPECT_GT(drawn, 1000);

    // A device font cannot be drawn: only the message shows, centred.
    e.fontId = 0;
    const QImage message = preview.grab().toImage();
    int left = message.width(), right = 0;
    for (int y = 0; y < message.height(); ++y)
        for (int x = 0; x < message.width(); ++x)
            if (message.pixel(x, y) != message.pixel(0, 0)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_LT(right - left, 200);
    EXPECT_NEAR(left + right, message.width(), 6);

    // An empty first line shows nothing, whatever the second holds.
    e = Effect("");
    SetGlyphLine(e.line2, "Second");
    EXPECT_EQ(Ink(&preview), 0);
}

class StylesDialog : public ::testing::Test {
protected:
    StylesDialog()
    {
        SetProgramFolderForTesting(dir_.path());
        EXPECT_EQ(PowerTextStylesPath(&path_), 0);
    }
    ~StylesDialog() override { SetProgramFolderForTesting(""); }

    std::string File() const { return dir_.file(kPowerTextStylesFile); }
    std::vector<uint8_t> FileBytes() const
    {
        std::ifstream in(File(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Open(PowerTextStylesDlg* dialog, const GlyphEffect& e)
    {
        dialog->SetEffect(&e, styles_.get(), GlyphDocument{&table_, &tints_});
        dialog->show();
    }
    QString Label(QWidget* dialog) { return Child<QLabel>(dialog, "StyleLabel")->text(); }
    bool Enabled(QWidget* dialog, const char* name) { return Child<QPushButton>(dialog, name)->isEnabled(); }

    TempDir dir_;
    PathRecord path_{};
    FakeFontList fonts_;
    FakeFontTable table_;
    DefaultGlyphTints tints_;
    HandleOwner styles_{HandleNew(0)};
    AlertCapture alerts_;
};

TEST_F(StylesDialog, FirstRunWritesTheBuiltInStyles)
{
    GlyphEffect e = Effect("Ab", 0);
    e.style = GlyphStyle{1, 15, 100, 1, 15, 100, 1, 100, 1, 1, 1, 13, 100, 1, 100};
    PowerTextStylesDlg dialog;
    Open(&dialog, e);
    EXPECT_EQ(FileBytes(), BuiltInPowerTextStyles());
    EXPECT_EQ(Label(&dialog), "1 of 21");
    CGlyphPreviewWnd* preview = dialog.findChild<CGlyphPreviewWnd*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_GT(preview->width(), 100);
    EXPECT_GT(Ink(preview), 500);
    EXPECT_TRUE(Enabled(&dialog, "Delete Style"));
    EXPECT_FALSE(Enabled(&dialog, "Add Style"));
    EXPECT_FALSE(Enabled(&dialog, "L"));
    EXPECT_TRUE(Enabled(&dialog, "R"));
    // Document font 0 (Arial) is shown as the font list's Arial.
    EXPECT_EQ(Child<QComboBox>(&dialog, "Font")->currentText(), "Arial");
    EXPECT_EQ(dialog.Record().fontId, 1);

    QTest::mouseClick(Child<QPushButton>(&dialog, "R"), Qt::LeftButton);
    EXPECT_EQ(Label(&dialog), "2 of 21");
    EXPECT_EQ(dialog.Record().style.outlineStyle, 2);
    EXPECT_EQ(dialog.Record().style.fillColor, 4);
    QTest::mouseClick(Child<QPushButton>(&dialog, "L"), Qt::LeftButton);
    EXPECT_EQ(Label(&dialog), "1 of 21");
    EXPECT_TRUE(alerts_.boxes().empty());
}

TEST_F(StylesDialog, CustomStylesAreAddedAndDeleted)
{
    PowerTextStylesDlg dialog;
    GlyphEffect e = Effect("Ab");
    e.style.fillColor = 12;
    Open(&dialog, e);
    EXPECT_EQ(Label(&dialog), "Custom");
    EXPECT_TRUE(Enabled(&dialog, "Add Style"));
    for (const char* name : {"Delete Style", "L", "R"})
        EXPECT_FALSE(Enabled(&dialog, name)) << name;
    QTest::mouseClick(Child<QPushButton>(&dialog, "Add Style"), Qt::LeftButton);
    EXPECT_EQ(Label(&dialog), "22 of 22");
    EXPECT_FALSE(Enabled(&dialog, "Add Style"));

    // Deleting the last makes the one before it current.
    QTest::mouseClick(Child<QPushButton>(&dialog, "Delete Style"), Qt::LeftButton);
    EXPECT_EQ(Label(&dialog), "21 of 21");
    EXPECT_EQ(dialog.Record().style.outlineStyle, 4);
    // Deleting another shows the next in its place.
    QTest::mouseClick(Child<QPushButton>(&dialog, "L"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(&dialog, "Delete Style"), Qt::LeftButton);
    EXPECT_EQ(Label(&dialog), "20 of 20");
    EXPECT_EQ(dialog.StyleCount(), 20);
    EXPECT_EQ(HandleGetSize(styles_.get()), 600u);
    EXPECT_EQ(dialog.Record().style.fillStyle, 2);
    EXPECT_EQ(dialog.Record().style.blendColor, 14);
}

TEST_F(StylesDialog, AnEmptyListIsSavedAsAnEmptyFile)
{
    std::ofstream(File(), std::ios::binary).write("\0\0\0\0", 4);
    PowerTextStylesDlg dialog;
    Open(&dialog, Effect("Ab"));
    EXPECT_EQ(Label(&dialog), "Custom");
    QTest::mouseClick(Child<QPushButton>(&dialog, "Add Style"), Qt::LeftButton);
    EXPECT_EQ(Label(&dialog), "1 of 1");
    QTest::mouseClick(Child<QPushButton>(&dialog, "Delete Style"), Qt::LeftButton);
    EXPECT_EQ(Label(&dialog), "0 of 0");
    EXPECT_FALSE(Enabled(&dialog, "Delete Style"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(std::filesystem::exists(File()));
    EXPECT_TRUE(FileBytes().empty());

    // The empty file stays the user's empty list.
    HandleOwner again(HandleNew(0));
    PowerTextStylesDlg next;
    next.SetEffect(nullptr, again.get(), GlyphDocument{&table_, &tints_});
    next.show();
    EXPECT_EQ(next.StyleCount(), 0);
    EXPECT_TRUE(alerts_.boxes().empty());
}

TEST_F(StylesDialog, OkHandsBackLinesAndADocumentFont)
{
    PowerTextStylesDlg dialog;
    GlyphEffect e = Effect("Old", 4);  // a document font the list lacks
    Open(&dialog, e);
    EXPECT_EQ(Child<QComboBox>(&dialog, "Font")->currentText(), "Arial");
    Child<QLineEdit>(&dialog, "Line1")->setText(QString(70, QChar(0xE9)));
    Child<QLineEdit>(&dialog, "Line2")->setText(QStringLiteral("two"));
    // Vertical text has no envelope.
    Child<QComboBox>(&dialog, "Shape")->setCurrentIndex(5);
    EXPECT_EQ(dialog.Record().shape, 6);
    Child<QRadioButton>(&dialog, "Vertical")->setChecked(true);
    EXPECT_EQ(dialog.Record().shape, 1);
    EXPECT_FALSE(Child<QComboBox>(&dialog, "Shape")->isEnabled());
    EXPECT_EQ(dialog.Record().orientation & kGlyphHorizontal, 0);

    Child<QComboBox>(&dialog, "Font")->setCurrentIndex(2);  // Times New Roman
    dialog.accept();
    GlyphEffect out;
    dialog.GetEffect(&out);
    EXPECT_EQ(GlyphLineText(out.line1), std::string(61, '\xE9'));
    EXPECT_EQ(GlyphLineText(out.line2), "two");
    FontSpec face;
    ASSERT_TRUE(table_.Lookup(out.fontId, &face));
    EXPECT_STREQ(face.faceName, "Times New Roman");
    EXPECT_EQ(FileBytes(), BuiltInPowerTextStyles());

    // A document font the list lacks stays unless another is chosen.
    PowerTextStylesDlg untouched;
    Open(&untouched, Effect("x", 4));
    untouched.accept();
    untouched.GetEffect(&out);
    EXPECT_EQ(out.fontId, 4);

    // With nothing the font list can give, the record keeps its font.
    fonts_.fonts.clear();
    PowerTextStylesDlg bare;
    Open(&bare, Effect("x", 4));
    bare.accept();
    bare.GetEffect(&out);
    EXPECT_EQ(out.fontId, 4);
}

// A styles file held by another open cannot be read; OK must not put
// the empty list read in its place.
TEST_F(StylesDialog, AFileThatCannotBeReadIsNotOverwritten)
{
    ASSERT_EQ(EnsurePowerTextStylesFile(path_), 0);
    FileHandle held = kNoFile;
    ASSERT_EQ(FileOpen(&path_, kFileRead, &held), 0);
    PowerTextStylesDlg dialog;
    Open(&dialog, Effect("Ab"));
    FileClose(held);
    ASSERT_EQ(alerts_.boxes().size(), 1u);
    EXPECT_EQ(alerts_.lastText(), kStylesFileErrorText);
    EXPECT_EQ(Label(&dialog), "Custom");
    QTest::mouseClick(Child<QPushButton>(&dialog, "Add Style"), Qt::LeftButton);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(FileBytes(), BuiltInPowerTextStyles());
}

// The sheet stands in for the user: the custom style is accepted.
class ScriptedStylesDlg : public PowerTextStylesDlg {
protected:
    bool EditCustomStyle(GlyphEffect* effect) override
    {
        effect->style.shadowStyle = kShadowDrop;
        effect->line1[0] = 0;  // only the style part is taken
        return true;
    }
};

TEST_F(StylesDialog, CustomStyleTakesOnlyTheStylePart)
{
    ScriptedStylesDlg dialog;
    GlyphEffect e = Effect("Ab", 0);
    e.style = GlyphStyle{1, 15, 100, 1, 15, 100, 1, 100, 1, 1, 1, 13, 100, 1, 100};
    Open(&dialog, e);
    QTest::mouseClick(Child<QPushButton>(&dialog, "Custom Style..."), Qt::LeftButton);
    EXPECT_EQ(dialog.Record().style.shadowStyle, kShadowDrop);
    EXPECT_EQ(GlyphLineText(dialog.Record().line1), "Ab");
    EXPECT_EQ(Label(&dialog), "Custom");
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "dialog_test_util.h"
#include "dialogs/preferences_dialog.h"
#include "foundation/byte_order.h"
#include "foundation/program_folder.h"
#include "platform/dc.h"
#include "records/preferences.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

namespace {

struct Block {
    uint8_t bytes[kGeneralPrefsSize] = {};
    Block()
    {
        DefPrefGeneralDefaults(bytes);
        for (size_t at : {size_t(0), size_t(36), size_t(40), size_t(92), size_t(120), size_t(144)})
            PutU32LE(bytes + at, 0x5A5A0000u + uint32_t(at));
        PutU32LE(bytes + kPrefSmartQuotes, 0);
        PutU32LE(bytes + kPrefQuoteStyle, 5);
        PutU32LE(bytes + kPrefAutoSaveOn, 1);
        PutU32LE(bytes + kPrefTextWrap, 1);
        PutU32LE(bytes + kPrefHyphenation, 0);
        PutU32LE(bytes + kPrefScrollSpeed, 12);
    }
};

void Click(QRadioButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }

TEST(PreferencesDialog, ReturnsExactlyWhatWasSetAndKeepsTheUnnamedWords)
{
    Block in;
    CDlgPreferences dialog;
    dialog.SetRecord(in.bytes);
    dialog.SetColourChooser([](ColorRef* c) {
        *c = MakeRgb(10, 200, 30);
        return true;
    });
    Open(dialog);
    EXPECT_EQ(dialog.ScrollSpeed()->value(), 12);
    EXPECT_EQ(dialog.QuoteStyle()->currentIndex(), 5);
    // Smart quotes off: the style is kept but cannot be changed.
    EXPECT_FALSE(dialog.QuoteStyle()->isEnabled());
    EXPECT_TRUE(dialog.AutoSaveMinutes()->isEnabled());
    EXPECT_TRUE(dialog.TextWrap()->isChecked());

    dialog.ScrollSpeed()->setValue(30);
    dialog.AutoSave()->click();
    EXPECT_FALSE(dialog.AutoSaveMinutes()->isEnabled());
    dialog.SmartQuotes()->click();
    EXPECT_TRUE(dialog.QuoteStyle()->isEnabled());
    ChooseItem(dialog.QuoteStyle(), 2);
    TypeInto(dialog.SmallCaps(), QStringLiteral("70"));
    TypeInto(dialog.TabsWidth(), QStringLiteral("36"));
    ChooseItem(dialog.VerticalUnit(), 2);
    Click(dialog.Hyphenation());
    Click(dialog.ForceJustify());
    dialog.GuidesInBack()->click();
    dialog.GuideColour()->click();
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);

    Block want;
    PutU32LE(want.bytes + kPrefScrollSpeed, 30);
    PutU32LE(want.bytes + kPrefAutoSaveOn, 0);
    PutU32LE(want.bytes + kPrefSmartQuotes, 1);
    PutU32LE(want.bytes + kPrefQuoteStyle, 2);
    PutU32LE(want.bytes + kPrefSmallCaps, 70);
    PutU32LE(want.bytes + kPrefTabWidth, 36);
    PutU32LE(want.bytes + kPrefVerticalUnit, 2);
    PutU32LE(want.bytes + kPrefTextWrap, 0);
    PutU32LE(want.bytes + kPrefHyphenation, 1);
    PutU32LE(want.bytes + kPrefJustify, 0);
    PutU32LE(want.bytes + kPrefGuidesInBack, GetU32LE(in.bytes + kPrefGuidesInBack) ? 0 : 1);
    PutU32LE(want.bytes + kPrefGuideColour, MakeRgb(10, 200, 30));
    for (size_t at = 0; at < kGeneralPrefsSize; at += 4)
        EXPECT_EQ(GetU32LE(dialog.Record() + at), GetU32LE(want.bytes + at)) << "offset " << at;
}

TEST(PreferencesDialog, MakeDefaultWritesTheFileAndCancelLeavesTheRecord)
{
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    SetProgramFolderForTesting(dir.path());
    Block in;
    CDlgPreferences dialog;
    dialog.SetRecord(in.bytes);
    Open(dialog);
    TypeInto(dialog.PasteboardWidth(), QStringLiteral("250"));
    dialog.MakeDefault()->click();
    EXPECT_TRUE(dialog.isVisible());
    uint8_t stored[kGeneralPrefsSize] = {};
    ASSERT_EQ(ReadDefPrefGeneral(stored), 0);
    EXPECT_EQ(GetI32LE(stored + kPrefPasteboardWidth), 250);

    {
        AlertCapture alerts;
        TypeInto(dialog.Superscript(), QStringLiteral("-"));
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(alerts.lastText(), "Please enter an integer.");
    }
    dialog.reject();
    EXPECT_EQ(std::memcmp(dialog.Record(), in.bytes, kGeneralPrefsSize), 0);
    SetProgramFolderForTesting(std::string());
}

TEST(PreferencesDialog, QuoteItemsAreSlicesOfTheStrip)
{
    const QImage strip = QuoteStyleStrip();
    ASSERT_EQ(strip.size(), QSize(34, 19 * kQuoteStyleCount));
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
    for (bool selected : {false, true}) {
        QImage item(60, 19, QImage::Format_RGB32);
        {
            std::unique_ptr<Dc> dc = Dc::ForImage(&item);
            DrawBitmapComboItem(dc.get(), IntRect{0, 0, 60, 19}, strip, 6, 34, 19, selected, true, false, palette);
        }
        // The slice stands 5 pixels in: black ink on white, or white ink
        // on the highlight.
        int ink = 0;
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 34; ++x) {
                const bool dark = qGray(strip.pixel(x, 6 * 19 + y)) < 128;
                const QRgb p = item.pixel(x + 5, y);
                if (dark) {
                    ++ink;
                    EXPECT_EQ(p & 0xFFFFFF, selected ? 0xFFFFFFu : 0u);
                }
            }
        EXPECT_GT(ink, 10);
        EXPECT_EQ(item.pixel(2, 2) & 0xFFFFFF, selected ? 0x000080u : 0xFFFFFFu);
    }
}

}  // namespace

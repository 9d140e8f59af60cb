// The text choices of Edit > Preferences... as the printed card shows them:
// how a word too long for its column breaks, and what a typed apostrophe
// becomes with Smart Quotes on.
#include <QCheckBox>
#include <QRadioButton>

#include "dialogs/preferences_dialog.h"
#include "sample_card_journey.h"

namespace {

constexpr uint32_t kFrameTextTool = 33286;

class TextPreferencesJourney : public SampleCardJourney {
protected:
    // Edit > Preferences... with choose run on the dialog before OK.
    void ChangePreferences(std::function<void(CDlgPreferences*)> choose)
    {
        OnNextDialog([choose](QWidget* dialog) {
            auto* preferences = dynamic_cast<CDlgPreferences*>(dialog);
            ASSERT_NE(preferences, nullptr) << dialog->windowTitle().toStdString();
            choose(preferences);
            Accept()(dialog);
        });
        ASSERT_TRUE(Trigger("Edit > Preferences..."));
    }

    // A text frame drawn on the card's free right middle, 55 points wide.
    void DrawNarrowFrame() { Drag(CardPoint(188, 50), {CardPoint(210, 70), CardPoint(243, 98)}); }

    std::string PrintedText(const std::string& name)
    {
        const std::string pdf = TempFile(name);
        OnNextDialog(PrintToPdfFile(pdf));
        EXPECT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        return PdfText(pdf);
    }
};

TEST_F(TextPreferencesJourney, HyphenationHyphenatesALongWordAndTextWrapCutsIt)
{
    ChangePreferences([](CDlgPreferences* p) { p->Hyphenation()->click(); });
    ASSERT_TRUE(Trigger(kFrameTextTool));
    DrawNarrowFrame();
    Type("Characteristically");
    ASSERT_TRUE(Trigger("Text > Alignment > Justified"));
    const std::string hyphenated = PrintedText("hyphenation.pdf");
    EXPECT_NE(hyphenated.find("-\n"), std::string::npos) << "no line ends with a hyphen:\n" << hyphenated;

    // Text Wrap breaks the word where the column ends, without a hyphen.
    ChangePreferences([](CDlgPreferences* p) { p->TextWrap()->click(); });
    // Justified, the letters of a word alone on its line are spread apart.
    std::string wrapped = PrintedText("wrap.pdf");
    std::erase(wrapped, ' ');
    EXPECT_EQ(wrapped.find("-\n"), std::string::npos) << wrapped;
    EXPECT_EQ(wrapped.find("Characteristically"), std::string::npos) << "the word was not broken:\n" << wrapped;
    EXPECT_NE(wrapped.find("Charac"), std::string::npos) << wrapped;
    // The narrow frame holds two of the word's lines: each job says, and
    // says nothing else.
    ASSERT_EQ(alerts.boxes().size(), 2u) << alerts.lastText();
    for (const auto& box : alerts.boxes())
        EXPECT_NE(box.text.find("without all of their text: it did not fit its frame. The first is in the text frame "
                                "beginning \"Characteristically\""),
                  std::string::npos)
            << box.text;
}

TEST_F(TextPreferencesJourney, SmartQuotesTypeARightSingleQuoteForAnApostrophe)
{
    ChangePreferences([](CDlgPreferences* p) {
        if (!p->SmartQuotes()->isChecked())
            p->SmartQuotes()->click();
    });
    ASSERT_TRUE(Trigger(kFrameTextTool));
    DrawNarrowFrame();
    Type("Chef's");
    const std::string printed = PrintedText("quote.pdf");
    EXPECT_NE(printed.find("Chef\u2019s"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("\u00B4"), std::string::npos) << "an acute accent was typed:\n" << printed;
}

}  // namespace

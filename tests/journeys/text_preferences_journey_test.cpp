// The text choices of Edit > Preferences... as the printed card shows them:
// how a word too long for its column breaks, and what a typed apostrophe
// becomes with Smart Quotes on.
#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <vector>

#include <QCheckBox>
#include <QRadioButton>

#include "dialogs/preferences_dialog.h"
#include "sample_card_journey.h"
#include "support/needed_tools.h"
#include "support/run_program.h"

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

// Justified with hyphenation, a line that breaks between words reaches the
// frame's right edge as it does with text wrap: only a line that ends in
// a hyphen keeps room for it.
TEST_F(TextPreferencesJourney, AJustifiedLineReachesTheEdgeWithHyphenationAsWithTextWrap)
{
    ASSERT_TRUE(Trigger(kFrameTextTool));
    Drag(CardPoint(100, 50), {CardPoint(150, 70), CardPoint(243, 138)});
    Type("The quick brown fox jumps over the lazy dog and then the cat sat on the mat with a hat and a bat.");
    ASSERT_TRUE(Trigger("Text > Alignment > Justified"));
    // Where each line of the first card ends on paper, top to bottom.
    const auto lineEnds = [this](const std::string& name) {
        const std::string pdf = TempFile(name);
        OnNextDialog(PrintToPdfFile(pdf));
        EXPECT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        const ProgramRun run = RunProgramFor("pdftotext", {"-f", "1", "-l", "1", "-bbox", pdf, "-"});
        std::map<double, std::pair<double, double>> rows;
        const std::regex word(R"re(xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)"[^>]*>([^<]*)<)re");
        double left = -1, top = -1;
        for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), word); it != std::sregex_iterator(); ++it) {
            const double x = std::stod((*it)[1]), y = std::stod((*it)[2]), right = std::stod((*it)[3]);
            if (left < 0 && (*it)[4] == "The") {
                left = x;
                top = y;
            }
            if (left < 0 || x < left - 1 || x >= left + 150 || y < top - 1 || y >= top + 100)
                continue;
            auto [row, added] = rows.try_emplace(y, x, right);
            row->second = {std::min(row->second.first, x), std::max(row->second.second, right)};
        }
        // The paragraph's lines: those that start at the frame's left.
        std::vector<double> out;
        for (const auto& [y, span] : rows) {
            if (std::abs(span.first - left) < 0.5)
                out.push_back(span.second);
        }
        return out;
    };
    ChangePreferences([](CDlgPreferences* p) { p->Hyphenation()->click(); });
    const std::vector<double> hyphenated = lineEnds("hyphenation.pdf");
    ChangePreferences([](CDlgPreferences* p) { p->TextWrap()->click(); });
    const std::vector<double> wrapped = lineEnds("wrap.pdf");
    if (wrapped.empty())
        SKIP_FOR_MISSING_TOOL() << "pdftotext is needed";
    ASSERT_GE(wrapped.size(), 3u);
    ASSERT_GE(hyphenated.size(), 3u);
    const double edge = wrapped.front();
    for (size_t i = 0; i + 1 < wrapped.size(); ++i)
        ASSERT_NEAR(wrapped[i], edge, 0.5) << "line " << i << " with text wrap";
    for (size_t i = 0; i + 1 < hyphenated.size(); ++i)
        EXPECT_NEAR(hyphenated[i], edge, 0.5) << "line " << i << " with hyphenation";
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

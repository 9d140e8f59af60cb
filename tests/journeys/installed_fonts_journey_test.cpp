// A font installed while the program runs joins the font list, the text
// bar's font box and the font menus without a restart, and leaves them when
// it is removed; the text bar keeps the font it showed.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <fontconfig/fontconfig.h>


#include "app/main_frame.h"
#include "app/tool_bar_draw.h"
#include "journey_fixture.h"
#include "typography/font_combo_box.h"
#include "typography/font_list.h"

namespace {

// A face no computer has: the DejaVu Sans file with its family renamed (a
// name of the same length, so nothing else in the file moves).
constexpr char kNewFamily[] = "Quokka Sans";
constexpr char kOldFamily[] = "DejaVu Sans";

std::string FontFileOf(const char* family)
{
    std::string path;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            path = reinterpret_cast<const char*>(file);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return path;
}

void ReplaceAll(std::string* bytes, const std::string& from, const std::string& to)
{
    for (size_t at = bytes->find(from); at != std::string::npos; at = bytes->find(from, at + to.size()))
        bytes->replace(at, from.size(), to);
}

std::string Utf16Be(const char* text)
{
    std::string out;
    for (const char* c = text; *c; ++c) {
        out += '\0';
        out += *c;
    }
    return out;
}

bool FontconfigKnows(const char* family)
{
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    const bool found = set && set->nfont > 0;
    if (set)
        FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

class InstalledFontsJourney : public JourneyTest {
protected:
    // The font configuration of this computer plus a font folder of the
    // test's own, read before the program starts, as a user's is.
    void SetUp() override
    {
        JourneyTest::SetUp();
        Stop();
        fonts_ = TempFile("fonts");
        std::filesystem::create_directories(fonts_);
        const std::string conf = TempFile("fonts.conf");
        std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                            << "<fontconfig><include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>"
                            << "<dir>" << fonts_ << "</dir><cachedir>" << TempFile("fc-cache")
                            << "</cachedir></fontconfig>\n";
        setenv("FONTCONFIG_FILE", conf.c_str(), 1);
        FcInitReinitialize();
        Start();
    }
    void TearDown() override
    {
        JourneyTest::TearDown();
        unsetenv("FONTCONFIG_FILE");
        FcInitReinitialize();
    }

    // Waits until the font list has the family or not, as wanted.
    bool WaitForFamily(bool wanted)
    {
        return SettleUntil(
            [wanted] { return (GetGlobalFontList()->FindFont(kNewFamily, kFontTypeTrueType) >= 0) == wanted; });
    }

    bool BarOffers(const char* family)
    {
        return MainWindow()->TextBar()->NameCombo()->findText(family) >= 0;
    }

    std::string fonts_;
};

TEST_F(InstalledFontsJourney, ANewFontJoinsTheListsAndLeavesThemWhenRemoved)
{
    const std::string original = FontFileOf(kOldFamily);
    ASSERT_FALSE(original.empty());
    std::ifstream in(original, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1000u);
    ReplaceAll(&bytes, kOldFamily, kNewFamily);
    ReplaceAll(&bytes, Utf16Be(kOldFamily), Utf16Be(kNewFamily));

    ASSERT_LT(GetGlobalFontList()->FindFont(kNewFamily, kFontTypeTrueType), 0);
    ASSERT_FALSE(BarOffers(kNewFamily));
    CToolBarDraw* bar = MainWindow()->TextBar();
    const int shownBefore = bar->NameCombo()->findText("Liberation Serif");
    ASSERT_GE(shownBefore, 0);
    bar->NameCombo()->setCurrentIndex(shownBefore);

    // Installed as a person does: the file lands in a font folder.
    std::ofstream(fonts_ + "/Quokka.ttf", std::ios::binary) << bytes;
    ASSERT_TRUE(WaitForFamily(true)) << "the new font never reached the font list";
    EXPECT_TRUE(BarOffers(kNewFamily));
    EXPECT_EQ(bar->NameCombo()->currentText(), "Liberation Serif");
    EXPECT_TRUE(FontconfigKnows(kNewFamily)) << "font matching does not know the new face";

    // A card's Text > Font list offers it: the program's font list.
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    EXPECT_GE(GetGlobalFontList()->FindFont(kNewFamily, kFontTypeTrueType), 0);

    std::filesystem::remove(fonts_ + "/Quokka.ttf");
    ASSERT_TRUE(WaitForFamily(false)) << "the removed font stayed in the font list";
    EXPECT_FALSE(BarOffers(kNewFamily));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace

// File > Export > Export As Picture...: the dialog offers only the formats
// the program writes, and the file written holds the format its name says.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>

#include "journey_fixture.h"
#include "support/shell.h"

namespace {

bool FileExists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

class ExportPictureJourney : public JourneyTest {};

TEST_F(ExportPictureJourney, TheFileHoldsTheFormatItsNameSays)
{
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    auto exportAs = [&](const QString& filter, const std::string& name, QStringList* offered) {
        OnNextDialog([=](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(files, nullptr);
            if (offered)
                *offered = files->nameFilters();
            files->selectNameFilter(filter);
            Q_EMIT files->filterSelected(filter);
            ChooseFile(name)(dialog);
        });
        ASSERT_TRUE(Trigger("File > Export > Export As Picture..."));
        Settle();
        ASSERT_EQ(PendingDialogs(), 0u);
    };

    // A name with an extension no format has keeps it, and the chosen
    // format's extension follows: card.png is never a GIF.
    QStringList offered;
    exportAs(QStringLiteral("GIF (*.gif)"), TempFile("card.png"), &offered);
    EXPECT_FALSE(FileExists(TempFile("card.png")));
    EXPECT_EQ(ReadFileBytes(TempFile("card.png.gif")).substr(0, 4), "GIF8");
    EXPECT_TRUE(offered.contains(QStringLiteral("CALS (*.cal)")));
    EXPECT_TRUE(offered.contains(QStringLiteral("IBM IOCA (*.ica)")));
    for (const char* none : {"WinFax", "LEAD"})
        EXPECT_TRUE(offered.filter(QString::fromLatin1(none)).isEmpty()) << none;

    // The extension typed decides the format, whatever filter is chosen.
    exportAs(QStringLiteral("GIF (*.gif)"), TempFile("card.cal"), nullptr);
    EXPECT_EQ(ReadFileBytes(TempFile("card.cal")).substr(0, 9), "srcdocid:");
    EXPECT_FALSE(FileExists(TempFile("card.cal.gif")));

    // IOCA: an image segment of the card in black and white, as many
    // pixels as the CALS file of the same export, with some ink.
    exportAs(QStringLiteral("IBM IOCA (*.ica)"), TempFile("card"), nullptr);
    const std::string ioca = ReadFileBytes(TempFile("card.ica"));
    ASSERT_GT(ioca.size(), 20u);
    EXPECT_EQ(ioca.substr(0, 7), std::string("\x70\x00\x91\x01\xFF\x94\x09", 7));
    const std::string cals = ReadFileBytes(TempFile("card.cal"));
    const auto u16 = [&](size_t at) { return int(uint8_t(ioca[at])) << 8 | uint8_t(ioca[at + 1]); };
    EXPECT_NE(cals.find(QString::asprintf("rpelcnt: %06d,%06d", u16(12), u16(14)).toStdString()), std::string::npos);
    EXPECT_LT(ioca.find_first_not_of('\0', 28), ioca.size() - 4);  // some ink
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

// A card of more colours than a GIF's palette holds (photos, shades) keeps
// its white paper and its flat colours exactly.
TEST_F(ExportPictureJourney, AManyColouredCardKeepsItsWhiteInAGif)
{
    const std::string pictures = TempFile("pictures"), card = TempFile("every.lqx");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(pictures)));
    Tool("card new-everything '" + card + "' '" + pictures + "'");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    OnNextDialog([this](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        files->selectNameFilter(QStringLiteral("GIF (*.gif)"));
        ChooseFile(TempFile("every.gif"))(dialog);
    });
    ASSERT_TRUE(Trigger("File > Export > Export As Picture..."));
    Settle();
    const QImage gif(QString::fromStdString(TempFile("every.gif")));
    ASSERT_FALSE(gif.isNull());
    EXPECT_EQ(gif.pixel(1, 1), qRgb(255, 128, 64));  // the orange rule on top
    int white = 0;
    for (int y = 0; y < gif.height(); ++y)
        for (int x = 0; x < gif.width(); ++x)
            white += gif.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, gif.width() * gif.height() / 2);
}

}  // namespace

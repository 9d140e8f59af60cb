// Saving the card as a template, as whoever keeps the wizard's stock does
// (master mode): the template's picture shows the merge fields by their
// bracketed names, the card on the screen goes on showing them as before.
#include <QFileInfo>
#include <QSettings>

#include "catalog/template_file.h"
#include "catalog/template_file_format.h"
#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "graphics/metafile_format.h"
#include "journey_fixture.h"

namespace {

class TemplatesJourney : public JourneyTest {
protected:
    // Master mode is the profile's "Wizard" value; the program reads it
    // as it starts.
    void RestartInMasterMode()
    {
        Stop();
        QSettings().setValue("Wizard/MasterMode", 1);
        Start();
    }

    // The texts the template file's picture draws, in order: an enhanced
    // metafile, whose text records hold UTF-16 (the card's texts go into
    // it a character at a time). Empty when the file holds no picture.
    static std::string PictureTexts(const std::string& path)
    {
        PathRecord record{};
        if (PathRecordFromPosix(path, &record) != 0)
            return {};
        uint8_t header[kTemplateHeaderSize];
        HandleOwner picture(HandleNew(0));
        if (!picture || LoadTemplateFile(&record, header, picture.get(), kTemplatePreviewBlock) != 0)
            return {};
        const auto* bytes = HandleData<const uint8_t>(picture.get());
        const uint32_t size = HandleGetSize(picture.get());
        std::string texts;
        for (uint32_t at = 0; at + 8 <= size;) {
            const uint32_t type = GetU32LE(bytes + at);
            const uint32_t length = GetU32LE(bytes + at + 4);
            if (length < 8 || length > size - at)
                break;
            if (type == EMR_EXTTEXTOUTW && length >= kEmrExtTextOutText + 16) {
                const uint32_t count = GetU32LE(bytes + at + kEmrExtTextOutText + 8);
                const uint32_t offset = GetU32LE(bytes + at + kEmrExtTextOutText + 12);
                for (uint32_t i = 0; i < count && offset + 2 * i + 1 < length; ++i)
                    texts += char(bytes[at + offset + 2 * i]);
            }
            at += length;
        }
        return texts;
    }
};

TEST_F(TemplatesJourney, TheTemplatesPictureShowsTheFieldsByNameAndTheCardKeepsItsValues)
{
    RestartInMasterMode();
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    MaximizeCardWindow();
    const QRect card = CardRect(0, 0, 252, 144);
    const QImage before = ViewPixels();

    // The sample holds a barcode among its text frames: the template takes
    // every frame.
    const std::string path = TempFile("Business.tp");
    OnNextDialog(ChooseFile(path));
    ASSERT_TRUE(Trigger("File > Templates > Save Template to File..."));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_GT(QFileInfo(QString::fromStdString(path)).size(), 1000);
    // While the picture was drawn the program showed field names: each
    // field by its bracketed name, where the card shows what it holds.
    const std::string texts = PictureTexts(path);
    EXPECT_NE(texts.find("[Company]"), std::string::npos) << texts;
    EXPECT_NE(texts.find("[Title]"), std::string::npos) << texts;
    EXPECT_EQ(Changed(before, ViewPixels(), card), 0) << "the card took the names the template's picture shows";
}

}  // namespace

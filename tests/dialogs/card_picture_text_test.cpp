#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QTimer>

#include "support/modal_answer.h"
#include "carddoc/card_test_support.h"
#include "carddoc/card_view_image.h"
#include "carddoc/picture_export.h"
#include "dialogs/file_choosers.h"
#include "frames/frame_obj_text.h"
#include "graphics/dib_handle.h"
#include "graphics/imaging_image.h"
#include "text/text_tool.h"

namespace {

const std::string kSample = std::string(TESSALINE_TEST_DATA_DIR) + "/../../data/Samples/Business Card.lqx";

// Chooses the file in the file dialog once it is open.
void ChooseWhenOpen(const std::string& path, std::function<void(QFileDialog*)> before = {})
{
    AnswerNextModal([path, before](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        if (before)
            before(dialog);
        AnswerFileDialog(dialog, QString::fromStdString(path));
    });
}

QImage ImageOf(DibHandle h)
{
    const DibRecord* r = DibHandleBlockSlot(h);
    int32_t depth = 0;
    return r ? ImageFromPackedDib(r->block, r->byteSize, &depth) : QImage();
}

int Ink(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 128;
    return n;
}

class CardPictureText : public CardDocTest {
protected:
    std::unique_ptr<CLabelsDoc> OpenSample()
    {
        WriteFileBytes(docs_.file("card.lqx"), ReadFileBytes(kSample));
        auto doc = OpenCardDocument(DocPath("card.lqx"));
        if (doc) {
            doc->SetView(&view_);
            doc->InitialUpdate();
        }
        return doc;
    }
    ImageCardView view_{600, 400};
};

TEST_F(CardPictureText, ThePageRendersAtTheAskedScaleOrItsOwnSize)
{
    auto doc = OpenSample();
    ASSERT_NE(doc, nullptr) << alerts_.lastText();
    Handle h = nullptr;
    ASSERT_EQ(doc->RenderPicture(504, 288, kRenderBitmap, false, &h), 0);
    EXPECT_NEAR(DibHandleWidth(h), 504, 2);
    EXPECT_NEAR(DibHandleHeight(h), 288, 2);
    const int doubled = Ink(ImageOf(h));
    // Smaller than the card: reduced to fit, or the card's own size.
    ASSERT_EQ(doc->RenderPicture(126, 72, kRenderMonochrome, false, &h), 0);
    EXPECT_NEAR(DibHandleWidth(h), 126, 2);
    EXPECT_EQ(DibHandleBitCount(h), 1);
    ASSERT_EQ(doc->RenderPicture(126, 72, kRenderBitmap, true, &h), 0);
    EXPECT_NEAR(DibHandleWidth(h), 252, 2);
    const int plain = Ink(ImageOf(h));
    EXPECT_GT(plain, 1000);
    EXPECT_GT(doubled, 3 * plain);
    DibHandleFree(&h);
    // The view is as it was: the same page at its own zoom.
    EXPECT_EQ(doc->GetCurrentPage(), 1);
    EXPECT_EQ(doc->PageManager()->FrameCount(), 7);

    CLabelsDoc bare;
    Handle none = nullptr;
    EXPECT_EQ(bare.RenderPicture(100, 100, kRenderBitmap, false, &none), 1);
    EXPECT_EQ(none, nullptr);
}

TEST_F(CardPictureText, ExportWritesThePictureTheDialogAsksFor)
{
    auto doc = OpenSample();
    ASSERT_NE(doc, nullptr);
    // Typed without an extension: the format's is added.
    ChooseWhenOpen(docs_.file("exported"));
    doc->ExportAsPicture();
    const QImage image(QString::fromStdString(docs_.file("exported.bmp")));
    ASSERT_FALSE(image.isNull()) << alerts_.lastText();
    EXPECT_NEAR(image.width(), 252, 2);
    EXPECT_NEAR(image.height(), 144, 2);
    EXPECT_GT(Ink(image), 1000);
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();

    // A black-and-white format: a Macintosh picture, after its 512-byte
    // application header.
    ChooseWhenOpen(docs_.file("exported.pct"), [](QFileDialog* d) { d->selectNameFilter(d->nameFilters()[8]); });
    doc->ExportAsPicture();
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
    QFile pict(QString::fromStdString(docs_.file("exported.pct")));
    ASSERT_TRUE(pict.open(QIODevice::ReadOnly));
    EXPECT_EQ(pict.read(512), QByteArray(512, '\0'));
}

TEST_F(CardPictureText, ImportTextGoesIntoTheFrameInEdit)
{
    auto doc = OpenSample();
    ASSERT_NE(doc, nullptr);
    // Not with the object tool.
    EXPECT_EQ(doc->ImportText(), 1);

    doc->SelectTool(kToolText);
    auto* tool = static_cast<TextTool*>(doc->ToolOfKind(kToolText));
    auto* company = static_cast<FrameObjText*>(doc->Frames()->GetLoadedFrame(4));
    ASSERT_NE(company, nullptr);
    tool->SetEditFrame(company, 1);
    StoryStore* stories = doc->Stories();
    auto storyText = [&] {
        EXPECT_EQ(stories->BindStory(uint16_t(company->Block().storyId)), 0);
        Handle plain = nullptr;
        EXPECT_EQ(stories->Buffer().GetPlainText(&plain), 0);
        const std::string text(reinterpret_cast<char*>(HandleData(plain)), HandleGetSize(plain));
        HandleFree(plain);
        return text;
    };
    const std::string before = storyText();
    ASSERT_FALSE(before.empty());

    WriteFileBytes(docs_.file("empty.txt"), "");
    ChooseWhenOpen(docs_.file("empty.txt"));
    EXPECT_EQ(doc->ImportText(), 0);
    EXPECT_TRUE(alerts_.boxes().empty());
    EXPECT_EQ(storyText(), before);

    WriteFileBytes(docs_.file("note.txt"), "Imported words\r");
    ChooseWhenOpen(docs_.file("note.txt"));
    EXPECT_EQ(doc->ImportText(), 0);
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
    EXPECT_TRUE(doc->IsModified());
    // The file's text takes the place of the story's; nothing of the old
    // text stays.
    EXPECT_EQ(storyText(), "Imported words");

    // A second import replaces the first, paragraphs and all; the editor
    // goes on at the start of the new text.
    WriteFileBytes(docs_.file("two.txt"), "First line\rSecond\nline\r");
    ChooseWhenOpen(docs_.file("two.txt"));
    EXPECT_EQ(doc->ImportText(), 0);
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
    EXPECT_EQ(storyText(), "First line\rSecond line");
    EXPECT_EQ(stories->Buffer().Count(), 2);

    Handle read = nullptr;
    PathRecord missing{};
    PathRecordFromPosix(docs_.file("missing.txt"), &missing);
    EXPECT_NE(ReadWholeFile(missing, &read), 0);
    EXPECT_EQ(read, nullptr);
}

}  // namespace

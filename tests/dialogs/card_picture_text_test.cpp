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
#include "support/refusing_disk.h"
#include "support/pixel_match.h"

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

    // Each file declares the size chosen (the card's, 252 x 144 points):
    // 72 pixels an inch in the bitmaps, a frame of 3.5 x 2 inches in the
    // metafiles.
    const auto bytesOf = [](const std::string& path) {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const auto u16 = [](const QByteArray& b, int at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); };
    const auto i32 = [&](const QByteArray& b, int at) { return int32_t(u16(b, at) | uint32_t(u16(b, at + 2)) << 16); };
    const QByteArray bmp = bytesOf(docs_.file("exported.bmp"));
    ASSERT_GE(bmp.size(), 54);
    EXPECT_NEAR(i32(bmp, 38), 2835, 1) << "pixels a metre across";
    EXPECT_NEAR(i32(bmp, 42), 2835, 1) << "pixels a metre down";
    const struct {
        int filter;
        const char* name;
    } sized[] = {{4, "sized.tif"}, {5, "sized.wmf"}, {6, "sized.emf"}};
    for (const auto& f : sized) {
        ChooseWhenOpen(docs_.file(f.name), [f](QFileDialog* d) { d->selectNameFilter(d->nameFilters()[f.filter]); });
        doc->ExportAsPicture();
        EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
    }
    const QImage tif(QString::fromStdString(docs_.file("sized.tif")));
    ASSERT_FALSE(tif.isNull());
    EXPECT_NEAR(tif.width() / (tif.dotsPerMeterX() * 0.0254), 3.5, 0.02);
    EXPECT_NEAR(tif.height() / (tif.dotsPerMeterY() * 0.0254), 2.0, 0.02);
    // The placeable header's box in its units an inch.
    const QByteArray wmf = bytesOf(docs_.file("sized.wmf"));
    ASSERT_GE(wmf.size(), 22);
    const double inch = u16(wmf, 14);
    ASSERT_GT(inch, 0);
    EXPECT_NEAR((int16_t(u16(wmf, 10)) - int16_t(u16(wmf, 6))) / inch, 3.5, 0.02);
    EXPECT_NEAR((int16_t(u16(wmf, 12)) - int16_t(u16(wmf, 8))) / inch, 2.0, 0.02);
    // The enhanced header's frame in hundredths of a millimetre.
    const QByteArray emf = bytesOf(docs_.file("sized.emf"));
    ASSERT_GE(emf.size(), 88);
    EXPECT_NEAR((i32(emf, 32) - i32(emf, 24)) / 2540.0, 3.5, 0.02);
    EXPECT_NEAR((i32(emf, 36) - i32(emf, 28)) / 2540.0, 2.0, 0.02);

    // On a full disk, or in a folder the user may not write, the box names
    // the cause and nothing is left under the name.
    for (const auto how : {RefusingDisk::Refusal::NoSpace, RefusingDisk::Refusal::NoPermission}) {
        alerts_.clear();
        const std::string target = docs_.file(how == RefusingDisk::Refusal::NoSpace ? "full.pct" : "denied.pct");
        {
            RefusingDisk disk(how, 1, docs_.file(""));
            ChooseWhenOpen(target, [](QFileDialog* d) { d->selectNameFilter(d->nameFilters()[8]); });
            doc->ExportAsPicture();
            EXPECT_GT(disk.refused(), 0);
        }
        EXPECT_EQ(alerts_.lastText(), how == RefusingDisk::Refusal::NoSpace
                                          ? "full.pct: Disk is full [112]"
                                          : "denied.pct: Permission denied: you may not change this file or its folder. [5]");
        EXPECT_FALSE(QFile::exists(QString::fromStdString(target)));
    }
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

    // A second import replaces the first, paragraphs and all (an LF ends a
    // line as a CR does); the editor goes on at the start of the new text.
    WriteFileBytes(docs_.file("two.txt"), "First line\rSecond\nline\r");
    ChooseWhenOpen(docs_.file("two.txt"));
    EXPECT_EQ(doc->ImportText(), 0);
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
    EXPECT_EQ(storyText(), "First line\rSecond\rline");
    EXPECT_EQ(stories->Buffer().Count(), 3);

    Handle read = nullptr;
    PathRecord missing{};
    PathRecordFromPosix(docs_.file("missing.txt"), &missing);
    EXPECT_NE(ReadWholeFile(missing, &read), 0);
    EXPECT_EQ(read, nullptr);
}

}  // namespace

// The program's clipboard store and viewer window on the offscreen
// platform's clipboard: text copied in the program goes out as plain text
// and comes back with its formats, other programs' text and pictures come
// in, frames travel through the store's swap file, and the program's
// marker never outlives the store.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

#include "app/clipboard_system.h"
#include "app/clipboard_wnd.h"
#include "foundation/file_io.h"
#include "frames/ctfile_mng.h"
#include "frames/style_runs.h"
#include "records/clipboard_frames.h"
#include "text/text_tool_fixture.h"

namespace {

const std::vector<std::string> kStory = {
    "The quick brown fox",
    "  Second paragraph here",
    "Third",
};

QClipboard* System() { return QGuiApplication::clipboard(); }

bool Offers(const char* format)
{
    const QMimeData* data = System()->mimeData();
    return data && data->hasFormat(format);
}

// A card document that also does what the Object tool does for the store:
// new frames on the page, a selection, a picture of frames.
class FrameClipDocument : public ToolTextDocument, public ClipboardFrameHost {
public:
    FrameClipDocument(const std::string& folder, TextMeasurer* measurer)
        : ToolTextDocument(folder, measurer, 1, 1)
    {
    }

    FrameObj* NewFrame(int16_t type) override
    {
        FrameObj* f = frames.CreateFrameObject(type, 1);
        if (f)
            manager.AppendFrame(f);
        return f;
    }
    int16_t SelectionCount() override { return int16_t(selection.size()); }
    void ClearFrameSelection() override { selection.clear(); }
    void SelectFrame(FrameObj* frame) override { selection.push_back(frame); }
    void FinishFramePaste() override { ++finished; }
    void RecordPastedFrames() override {}
    std::string TextOfFrames(FrameObj* const*, int16_t) override { return {}; }
    IntPoint PastePoint() override { return pastePoint; }
    IntRect VisibleArea() override { return IntRect{10, 10, 200, 150}; }
    int32_t WidthOfW() override { return 7; }
    QImage PictureOfFrames(FrameObj* const*, int16_t, const IntRect& bounds) override
    {
        QImage image(bounds.right - bounds.left, bounds.bottom - bounds.top, QImage::Format_RGB32);
        image.fill(Qt::red);
        return image;
    }
    bool SetFramePicture(FrameObj*, const QImage& picture) override
    {
        pictureSize = picture.size();
        return !pictureFails;
    }
    bool FillNewTextFrame(FrameObj*, TextBuffer* paragraphs) override
    {
        filledParagraphs = paragraphs->Count();
        return !fillFails;
    }
    void RedrawPage() override { ++redraws; }
    void DeleteFrame(FrameObj* frame) override
    {
        manager.RemoveFrame(frame);
        frames.DeleteFrame(frame);
    }

    IntPoint pastePoint{100, 50};
    int32_t finished = 0;
    int32_t redraws = 0;
    int32_t filledParagraphs = -1;
    QSize pictureSize;
    bool fillFails = false;
    bool pictureFails = false;
};

class ClipboardStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.ok());
        System()->clear();
        ASSERT_EQ(swap.CreateSwapFile(TextFolderRecord(dir.path())), 0);
        window = std::make_unique<CClipboardWnd>(&swap, nullptr);
        doc = std::make_unique<FrameClipDocument>(dir.path(), &measurer);
        doc->host.clipboard = window.get();
        frame = doc->AddTextFrame(IntRect{20, 20, 200, 160}, kStory);
    }
    void TearDown() override
    {
        doc.reset();
        window.reset();
        System()->clear();
    }

    TextTool& Tool() { return doc->tool; }
    void ClickAt(int32_t paragraph, int32_t character) { doc->Click(doc->At(frame, paragraph, character), 1); }
    void Select(TextPosition a, TextPosition b)
    {
        ClickAt(int32_t(a.paragraph), a.character);
        Tool().BindEditor();
        doc->frames.SetTextRef(frame->FrameId(), 0, a.paragraph, a.character);
        doc->frames.SetTextRef(frame->FrameId(), 1, b.paragraph, b.character);
        doc->frames.SetEditFlag(frame, true);
        Tool().HideCaret();
    }
    std::string Para(int32_t i) { return doc->Paragraph(frame, i); }

    TempDir dir;
    FixedMeasurer measurer;
    AlertCapture alerts;
    CTFileMng swap;
    std::unique_ptr<CClipboardWnd> window;
    std::unique_ptr<FrameClipDocument> doc;
    FrameObjText* frame = nullptr;
};

TEST_F(ClipboardStoreTest, CopiedTextGoesOutAsPlainTextAndComesBackWithItsRuns)
{
    doc->ctx.SelectParagraph(0);
    ParagraphText p = doc->ctx.Current();
    std::array<int16_t, kAttributeCount> bold = kRunDefaults;
    bold[kRankStyle] = 1;
    ASSERT_TRUE(SetRunAttributes(&p, 4, 9, kRunStyle, bold, true));
    doc->ctx.StoreFlags(p);

    Select({0, 4}, {1, 8});
    ASSERT_TRUE(Tool().DoEditCommand(2));
    const QMimeData* offered = System()->mimeData();
    ASSERT_NE(offered, nullptr);
    EXPECT_EQ(offered->text(), QString("quick brown fox\n  Second"));
    EXPECT_EQ(offered->data(kClipFormatText), QByteArray("\x01\0\0\0", 4));
    EXPECT_FALSE(offered->hasFormat(kClipFormatFrame));
    EXPECT_EQ(window->HeldKind(), kHeldText);
    EXPECT_TRUE(window->CanPaste(0));
    EXPECT_TRUE(window->CanPaste(1));
    EXPECT_EQ(window->DisplayFormat(), kClipText);

    // The program's own text comes back from the store, runs and all.
    ClickAt(2, 0);
    ASSERT_TRUE(Tool().CanDoEditCommand(4));
    ASSERT_TRUE(Tool().DoEditCommand(4));
    EXPECT_EQ(Para(2), "quick brown fox");
    EXPECT_EQ(Para(3), "  SecondThird");
    doc->ctx.SelectParagraph(2);
    RunCache run;
    ASSERT_TRUE(LoadRunAt(doc->ctx.Current(), 0, &run));
    EXPECT_EQ(run.Value(kRankStyle), 1);
    EXPECT_FALSE(LoadRunAt(doc->ctx.Current(), 6, &run));

    // Cut copies first; the text goes only once the copy is made.
    Select({0, 0}, {0, 4});
    ASSERT_TRUE(Tool().DoEditCommand(1));
    EXPECT_EQ(Para(0), "quick brown fox");
    EXPECT_EQ(System()->text(), QString("The "));
}

TEST_F(ClipboardStoreTest, OtherProgramsTextAndPicturesComeIn)
{
    System()->setText(QString::fromUtf8("one\r\ntwo\nthree \xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(window->HeldKind(), kHeldNothing);
    EXPECT_EQ(window->ForeignFormat(), kClipText);
    EXPECT_TRUE(window->CanPaste(1));
    ClickAt(2, 0);
    ASSERT_TRUE(Tool().CanDoEditCommand(4));
    ASSERT_TRUE(Tool().DoEditCommand(4));
    ASSERT_EQ(doc->ParagraphCount(frame), 5);
    EXPECT_EQ(Para(2), "one");
    EXPECT_EQ(Para(3), "two");
    EXPECT_EQ(Para(4), "three \xE9 \x80Third");
    EXPECT_EQ(window->Paragraphs()->Count(), 3);

    // A picture can go in as a frame but not into text.
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    System()->setImage(picture);
    EXPECT_EQ(window->DisplayFormat(), kClipDib);
    EXPECT_TRUE(window->CanPaste(0));
    EXPECT_FALSE(window->CanPaste(1));
    EXPECT_FALSE(Tool().CanDoEditCommand(4));
    EXPECT_EQ(window->PasteText(doc.get()), 1);
    EXPECT_EQ(doc->ParagraphCount(frame), 5);
    // With the Object tool: a new image frame of the picture's size.
    doc->currentTool = kToolObject;
    window->Paste(doc.get());
    ASSERT_EQ(doc->selection.size(), 1u);
    EXPECT_EQ(doc->selection[0]->GetType(), kFrameImage);
    EXPECT_EQ(doc->pictureSize, QSize(30, 20));

    // What the viewer shows of a clipboard holding nothing it knows, and of
    // an empty one.
    auto* other = new QMimeData;
    other->setData("application/x-other", "x");
    System()->setMimeData(other);
    EXPECT_EQ(window->DisplayFormat(), -1);
    EXPECT_FALSE(window->CanPaste(0));
    System()->clear();
    EXPECT_EQ(window->DisplayFormat(), 0);
}

TEST_F(ClipboardStoreTest, PastesAnswerOneForToolsThatTakeNone)
{
    System()->setText("abc");
    doc->currentTool = 7;
    EXPECT_EQ(window->PasteText(doc.get()), 1);
    doc->currentTool = kToolText;
    EXPECT_EQ(Para(0), kStory[0]);

    // The Object tool makes a text frame sized by the text's lines.
    doc->currentTool = kToolObject;
    EXPECT_EQ(window->PasteText(doc.get()), 0);
    ASSERT_EQ(doc->selection.size(), 1u);
    IntRect r;
    doc->selection[0]->GetBounds(&r, kGeometryCurrent);
    EXPECT_EQ(doc->filledParagraphs, 1);
    // The program's own text is no plain text for it.
    doc->currentTool = kToolText;
    Select({0, 0}, {0, 3});
    ASSERT_TRUE(Tool().DoEditCommand(2));
    doc->currentTool = kToolObject;
    EXPECT_EQ(window->PasteText(doc.get()), 1);

    auto size = [](const std::string& text) {
        const IntPoint p = PlainTextFrameSize(reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()), 7);
        return std::make_pair(p.x, p.y);
    };
    EXPECT_EQ(size("abc"), std::make_pair(28, 24));
    EXPECT_EQ(size("ab\r\nc"), std::make_pair(21, 48));
    EXPECT_EQ(size(""), std::make_pair(14, 24));
}

TEST_F(ClipboardStoreTest, CopiedFramesPasteAtThePastePointWithTheirPicture)
{
    FrameObjText* second = doc->AddTextFrame(IntRect{220, 60, 300, 100}, {"second"});
    FrameObj* both[] = {frame, second};
    IntRect a;
    IntRect b;
    frame->GetBounds(&a, kGeometryCurrent);
    second->GetBounds(&b, kGeometryCurrent);
    EXPECT_EQ(window->CopyFrames(doc.get(), both, 0), 1);
    ASSERT_EQ(window->CopyFrames(doc.get(), both, 2), 0);
    EXPECT_EQ(window->HeldKind(), kHeldFrames);
    ASSERT_EQ(window->FrameRecordCount(), 2);
    EXPECT_EQ(GetU16LE(window->FrameRecord(1).data() + kClipRecordFrameId), second->FrameId());
    EXPECT_EQ(window->FrameRecord(1)[kClipRecordType], kFrameText);
    const QMimeData* offered = System()->mimeData();
    EXPECT_EQ(offered->data(kClipFormatFrame), QByteArray("\x02\0\0\0", 4));
    EXPECT_TRUE(offered->hasImage());
    EXPECT_FALSE(offered->hasText());
    EXPECT_TRUE(window->CanPaste(0));
    EXPECT_FALSE(window->CanPaste(1));

    // Only the Object tool pastes frames.
    EXPECT_EQ(window->PasteFrames(doc.get()), 1);
    doc->currentTool = kToolObject;
    window->Paste(doc.get());
    ASSERT_EQ(doc->selection.size(), 2u);
    EXPECT_EQ(doc->finished, 1);
    IntRect pa;
    IntRect pb;
    doc->selection[0]->GetBounds(&pa, kGeometryCurrent);
    doc->selection[1]->GetBounds(&pb, kGeometryCurrent);
    EXPECT_EQ(pa.left, 100);
    EXPECT_EQ(pa.top, 50 + a.top - std::min(a.top, b.top));
    EXPECT_EQ(pb.left - pa.left, b.left - a.left);
    EXPECT_EQ(pb.top - pa.top, b.top - a.top);
    EXPECT_NE(doc->selection[0]->FrameId(), frame->FrameId());
}

TEST_F(ClipboardStoreTest, AFailedPasteLeavesThePageAsItWas)
{
    FrameObjText* second = doc->AddTextFrame(IntRect{220, 60, 300, 100}, {"second"});
    FrameObj* both[] = {frame, second};
    ASSERT_EQ(window->CopyFrames(doc.get(), both, 2), 0);
    const int16_t before = doc->manager.FrameCount();
    const int32_t storesBefore = doc->frames.Count();
    const int32_t storiesBefore = doc->stories.Count();
    doc->currentTool = kToolObject;

    // The second frame's data was cut short: the first, already in, goes
    // again with the half-made second.
    const uint32_t secondAt = GetU32LE(window->FrameRecord(1).data() + kClipRecordPosition);
    ASSERT_EQ(FileSetSize(swap.GetFileHandle(), secondAt + 6), 0);
    EXPECT_EQ(window->PasteFrames(doc.get()), 1);
    EXPECT_TRUE(doc->selection.empty());
    EXPECT_EQ(doc->manager.FrameCount(), before);
    EXPECT_EQ(doc->frames.Count(), storesBefore);
    EXPECT_EQ(doc->stories.Count(), storiesBefore);
    // The frames copied from are untouched.
    EXPECT_EQ(doc->manager.FrameAt(0), frame);
    EXPECT_EQ(Para(0), kStory[0]);
    EXPECT_EQ(doc->Paragraph(second, 0), "second");

    // Plain text whose story cannot be made, and a picture the new frame
    // refuses, leave no empty frame behind either.
    System()->setText("abc");
    doc->fillFails = true;
    EXPECT_EQ(window->PasteText(doc.get()), 1);
    EXPECT_EQ(doc->manager.FrameCount(), before);
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    System()->setImage(picture);
    doc->pictureFails = true;
    EXPECT_EQ(window->PastePicture(doc.get()), 1);
    EXPECT_EQ(doc->manager.FrameCount(), before);
    EXPECT_TRUE(doc->selection.empty());
    EXPECT_EQ(doc->frames.Count(), storesBefore);
}

TEST(ClipboardStoreLife, TheMarkerNeverOutlivesTheStoreAndClosingOnlyHides)
{
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    // A marker from an earlier run: the store behind it is gone.
    auto* stale = new QMimeData;
    stale->setData(kClipFormatText, QByteArray("\x01\0\0\0", 4));
    stale->setText("old");
    System()->setMimeData(stale);
    PathRecord folder{};
    ASSERT_EQ(PathRecordFromPosix(dir.path() + "/", &folder), 0);
    ASSERT_EQ(CreateClipboardStore(folder), 0);
    ASSERT_NE(ClipboardWindow(), nullptr);
    EXPECT_FALSE(Offers(kClipFormatText));
    EXPECT_FALSE(ClipboardWindow()->CanPaste(1));
    EXPECT_EQ(ClipboardWindow()->windowTitle(), QString("Clipboard"));
    EXPECT_EQ(ClipboardWindow()->height(), 100);

    EXPECT_FALSE(IsClipboardWindowVisible());
    ToggleClipboardWindow();
    EXPECT_TRUE(IsClipboardWindowVisible());
    ClipboardWindow()->close();
    EXPECT_FALSE(IsClipboardWindowVisible());
    ASSERT_NE(ClipboardWindow(), nullptr);

    // Another program's text stays after the exit; the program's marker
    // does not.
    System()->setText("theirs");
    DestroyClipboardStore();
    EXPECT_EQ(ClipboardWindow(), nullptr);
    EXPECT_EQ(System()->text(), QString("theirs"));
    ASSERT_EQ(CreateClipboardStore(folder), 0);
    auto* ours = new QMimeData;
    ours->setData(kClipFormatFrame, QByteArray("\x02\0\0\0", 4));
    System()->setMimeData(ours);
    DestroyClipboardStore();
    EXPECT_FALSE(Offers(kClipFormatFrame));
}

}  // namespace

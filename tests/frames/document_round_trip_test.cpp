// A synthetic card document -- a page section, the frame store and the
// story section behind a small header of section places -- written,
// copied into a fresh swap file and opened again, as the card document
// does it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "frames/frame_factory.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_obj_star.h"
#include "frames/frame_record_format.h"
#include "support/alert_capture.h"
#include "test_document.h"

namespace {

constexpr uint32_t kHeaderSize = 64;

struct Sections {
    uint32_t pages = 0;
    uint32_t framesAt = 0, framesSize = 0;
    uint32_t storiesAt = 0, storiesSize = 0;
};

Handle TextHandle(const std::string& s)
{
    Handle h = HandleNew(uint32_t(s.size()));
    std::memcpy(HandleData(h), s.data(), s.size());
    return h;
}

// Writes the document; the save's result.
int32_t Save(TestDocument& doc, FileHandle file, Sections* s)
{
    uint8_t header[kHeaderSize] = {};
    int32_t result = FileSeek(file, kSeekStart, 0) + FileWrite(file, header, kHeaderSize);
    s->pages = kHeaderSize;
    result += doc.pages.Write(file, -1);
    const int32_t frames = doc.frames.WriteStore(file, -1);
    s->framesAt = doc.frames.WindowPosition();
    s->framesSize = doc.frames.WindowSize();
    const int32_t stories = doc.stories.WriteStore(file, -1);
    s->storiesAt = doc.stories.WindowPosition();
    s->storiesSize = doc.stories.WindowSize();
    PutU32LE(header, s->pages);
    PutU32LE(header + 4, s->framesAt);
    PutU32LE(header + 8, s->framesSize);
    PutU32LE(header + 12, s->storiesAt);
    PutU32LE(header + 16, s->storiesSize);
    result += FileSeek(file, kSeekStart, 0) + FileWrite(file, header, kHeaderSize);
    return result ? result : frames ? frames : stories;
}

void Open(TestDocument& doc, FileHandle file, const std::vector<uint8_t>& bytes)
{
    doc.LoadSwapFrom(bytes);
    ASSERT_GE(bytes.size(), kHeaderSize);
    ASSERT_EQ(doc.pages.Read(file, int32_t(GetU32LE(&bytes[0]))), 0);
    ASSERT_EQ(doc.frames.ReadStore(file, int32_t(GetU32LE(&bytes[4])), GetU32LE(&bytes[8])), 0);
    ASSERT_EQ(doc.stories.ReadStore(file, int32_t(GetU32LE(&bytes[12])), GetU32LE(&bytes[16])), 0);
    doc.frames.RebuildPageLists();
}

class DocumentRoundTrip : public ::testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_EQ(CountSwapNames(dir_.path()), 0);
        EXPECT_EQ(CountSwapNames(other_.path()), 0);
    }

    // The block a frame writes into the document.
    std::vector<uint8_t> BlockOf(FrameObj* frame)
    {
        scratch_.Put({});
        EXPECT_EQ(frame->Write(scratch_.get(), -1), 0);
        return scratch_.Bytes();
    }
    std::map<uint16_t, std::vector<uint8_t>> Blocks(TestDocument& doc)
    {
        std::map<uint16_t, std::vector<uint8_t>> out;
        for (int32_t i = 0; i < doc.frames.Count(); ++i) {
            const uint16_t id = HeaderId(doc.frames.RecordPtr(i));
            FrameObj* frame = doc.frames.LoadFrame(id, 0);
            EXPECT_NE(frame, nullptr) << id;
            if (frame)
                out[id] = BlockOf(frame);
        }
        return out;
    }
    // Every paragraph's bytes, story by story.
    std::map<uint16_t, std::vector<std::vector<uint8_t>>> Paragraphs(TestDocument& doc)
    {
        std::map<uint16_t, std::vector<std::vector<uint8_t>>> out;
        for (int32_t i = 0; i < doc.stories.Count(); ++i) {
            const uint16_t id = HeaderId(doc.stories.RecordPtr(i));
            EXPECT_EQ(doc.stories.BindStory(id), 0);
            TextBuffer& buffer = doc.stories.Buffer();
            for (int32_t p = 0; p < buffer.Count(); ++p) {
                EXPECT_TRUE(buffer.SelectParagraph(p));
                const ParagraphLayout& layout = buffer.Layout();
                Handle h = buffer.CurrentParagraph();
                out[id].emplace_back(HandleData(h), HandleData(h) + ParagraphUsedBytes(layout));
            }
            buffer.UnloadAll(0);
        }
        return out;
    }

    // A document with two pages, frames of every type (one on the
    // pasteboard, some swapped out), a chain of two text frames and two
    // stories.
    void Build(TestDocument& doc)
    {
        doc.pages.InsertPages(0, 2, 0, 0);
        uint32_t page1 = 0;
        doc.pages.HandleOfNumber(1, &page1);
        const int16_t types[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 13, 14, 15, 16, 17, 18, 5};
        int16_t word = 0;
        for (int16_t type : types) {
            FrameObj* f = doc.frames.CreateFrameObject(type, 1);
            ASSERT_NE(f, nullptr);
            f->SetFromRect(IntRect{word * 10, word * 5, word * 10 + 50, word * 5 + 30});
            f->SetPageWord(word, 0);
            f->SetPageWord(word, 1);
            ++word;
            f->AppendId(100u + uint32_t(type));
            doc.frames.SetFramePage(f, page1, type == 3 ? kResidencePasteboard : kResidencePage);
            if (type == 3)
                doc.shared.AddFrame(f);
            if (type == kFrameStar)
                static_cast<FrameObjStar*>(f)->SetStarParams(StarParams{6, 1, 0.3});
            if (type == kFrameImage) {
                const uint8_t picture[] = {4, 0, 0, 0, 'B', 'M', 'P', '!'};
                static_cast<FrameObjImage*>(f)->StoreImageBytes(picture, sizeof picture);
            }
        }
        FrameObj* first = doc.frames.GetLoadedFrame(6);
        FrameObj* second = doc.frames.GetLoadedFrame(18);
        doc.frames.NewStory(first, true);
        doc.frames.LinkTextAfter(first, second);
        doc.frames.SetFrameEnd(6, TextPosition{1, 2});
        doc.frames.SetTextRef(6, 1, 70000, 3);
        Handle text = TextHandle("First line\rsecond\r\rfourth");
        ASSERT_EQ(doc.stories.SetStoryText(text, uint16_t(first->Block().storyId)), 0);
        HandleFree(text);
        const uint16_t other = doc.stories.NewRecord(false);
        text = TextHandle(std::string(300, 'x'));
        doc.stories.BindStory(other);
        doc.stories.Buffer().SetPlainText(text, true);
        HandleFree(text);
        // Some frames only in the swap file.
        for (uint16_t id : {2, 5, 8, 12})
            doc.frames.UnloadData(id);
    }

    TempDir dir_;
    TempDir other_;
    ScratchFile document_{dir_, "card.lqx"};
    ScratchFile scratch_{dir_, "scratch"};
};

TEST_F(DocumentRoundTrip, EveryFrameAndStoryComesBackByteIdentical)
{
    TestDocument doc(dir_.path());
    Build(doc);
    const auto blocks = Blocks(doc);
    const auto paragraphs = Paragraphs(doc);
    for (uint16_t id : {2, 5, 8, 12})
        doc.frames.UnloadData(id);
    uint8_t pageRecords[2][kPageRecordSize];
    doc.pages.GetPage(0, pageRecords[0]);
    doc.pages.GetPage(1, pageRecords[1]);

    Sections s;
    ASSERT_EQ(Save(doc, document_.get(), &s), 0);
    const std::vector<uint8_t> bytes = document_.Bytes();
    EXPECT_EQ(s.framesSize, uint32_t(doc.frames.Count()) * kFrameRecordSize);

    // In memory the records still name the swap file; in the document they
    // name the document, with no pointer in any slot.
    const uint8_t* onDisk = &bytes[s.framesAt];
    for (int32_t i = 0; i < doc.frames.Count(); ++i) {
        const uint8_t* r = onDisk + i * kFrameRecordSize;
        EXPECT_EQ(HeaderSlot(r), 0u);
        const uint16_t id = HeaderId(r);
        const std::vector<uint8_t>& block = blocks.at(id);
        ASSERT_LE(HeaderPosition(r) + block.size(), bytes.size());
        EXPECT_EQ(FrameType(r) == kFrameImage ? block.size() - 8 : block.size(), HeaderSize(r)) << id;
        if (FrameType(r) != kFrameImage) {
            EXPECT_TRUE(std::equal(block.begin(), block.end(), bytes.begin() + HeaderPosition(r))) << id;
        }
    }
    uint8_t inMemory[kFrameRecordSize];
    doc.frames.GetFrameRecord(2, inMemory);
    EXPECT_TRUE(HeaderHas(inMemory, kRecCopied));
    EXPECT_NE(HeaderPosition(inMemory), HeaderPosition(onDisk + kFrameRecordSize));

    TestDocument reopened(other_.path());
    Open(reopened, document_.get(), bytes);
    EXPECT_EQ(reopened.pages.Count(), 2);
    uint8_t page[kPageRecordSize];
    reopened.pages.GetPage(1, page);
    EXPECT_EQ(std::memcmp(page, pageRecords[1], kPageRecordSize), 0);
    EXPECT_EQ(reopened.shared.FrameCount(), 1);
    EXPECT_EQ(reopened.frames.NextId(), 19) << "ids go on after the highest one";
    const auto reread = Blocks(reopened);
    for (const auto& [id, block] : blocks) {
        const auto& got = reread.at(id);
        EXPECT_EQ(got.size(), block.size()) << id;
        const auto mismatch = std::mismatch(got.begin(), got.end(), block.begin(), block.end());
        EXPECT_TRUE(mismatch.first == got.end()) << "frame " << id << " differs at " << (mismatch.first - got.begin());
    }
    EXPECT_EQ(Paragraphs(reopened), paragraphs);

    uint8_t record[kFrameRecordSize];
    reopened.frames.GetFrameRecord(6, record);
    EXPECT_EQ(FrameNext(record), 18);
    EXPECT_EQ(FrameEndField(record), (TextPosition{1, 2}));
    EXPECT_EQ(FrameTextRef(record, 1), (TextPosition{70000, 3}));
    Handle plain = nullptr;
    reopened.stories.BindStory(FrameStory(record));
    ASSERT_EQ(reopened.stories.Buffer().GetPlainText(&plain), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(HandleData(plain)), HandleGetSize(plain)),
              std::string("\r") + "First line\rsecond\r\rfourth\r");
    HandleFree(plain);
}

TEST_F(DocumentRoundTrip, ASaveWhoseWritesFailSaysSoAndKeepsEveryFrame)
{
    TestDocument doc(dir_.path());
    Build(doc);
    const auto blocks = Blocks(doc);
    for (uint16_t id : {2, 5, 8, 12})
        doc.frames.UnloadData(id);
    std::vector<uint8_t> records(HandleData(doc.frames.Records()),
                                 HandleData(doc.frames.Records()) + doc.frames.Count() * kFrameRecordSize);

    // A document that takes no writes.
    PathRecord locked{};
    ASSERT_EQ(PathRecordFromPosix(dir_.file("locked.lqx"), &locked), 0);
    FileHandle readOnly = kNoFile;
    ASSERT_EQ(FileCreate(&locked, kFileWrite, &readOnly), 0);
    FileClose(readOnly);
    ASSERT_EQ(FileOpen(&locked, kFileRead, &readOnly), 0);
    EXPECT_NE(doc.frames.WriteStore(readOnly, 0), 0);
    EXPECT_NE(doc.stories.WriteStore(readOnly, 0), 0);
    FileClose(readOnly);
    EXPECT_TRUE(std::equal(records.begin(), records.end(), HandleData(doc.frames.Records())));
    EXPECT_EQ(Blocks(doc), blocks);
}

TEST_F(DocumentRoundTrip, AFrameTheSwapFileCannotGiveBackFailsTheSaveButIsNotForgotten)
{
    AlertCapture alerts;
    TestDocument doc(dir_.path());
    Build(doc);
    const auto blocks = Blocks(doc);
    for (uint16_t id : {2, 5, 8, 12})
        doc.frames.UnloadData(id);
    uint8_t before[kFrameRecordSize];
    doc.frames.GetFrameRecord(12, before);

    // Take the swap file's tail away for the save, then give it back.
    const uint32_t length = doc.swap.GetFileSize();
    std::vector<uint8_t> swapBytes(length);
    ASSERT_EQ(doc.swap.ReadAt(0, length, swapBytes.data()), 0);
    ASSERT_EQ(FileSetSize(doc.swap.GetFileHandle(), HeaderPosition(before)), 0);
    Sections s;
    EXPECT_NE(Save(doc, document_.get(), &s), 0);
    EXPECT_NE(alerts.lastText().find("Error save frame on document file."), std::string::npos);
    ASSERT_EQ(doc.swap.WriteAt(0, length, swapBytes.data()), 0);

    uint8_t after[kFrameRecordSize];
    doc.frames.GetFrameRecord(12, after);
    EXPECT_EQ(std::memcmp(before, after, kFrameRecordSize), 0);
    EXPECT_EQ(Blocks(doc), blocks);
}

TEST_F(DocumentRoundTrip, AnImageFrameThatCannotBeLoadedIsSavedFromItsSwapCopy)
{
    AlertCapture alerts;
    TestDocument doc(dir_.path());
    doc.pages.InsertPages(0, 1, 0, 0);
    FrameObjImage* image = static_cast<FrameObjImage*>(doc.frames.CreateFrameObject(kFrameImage, 1));
    image->AppendId(5);
    const uint8_t picture[] = {2, 0, 0, 0, 'o', 'k'};
    ASSERT_EQ(image->StoreImageBytes(picture, sizeof picture), 0);
    doc.frames.SetHeld(image, false);
    ASSERT_EQ(doc.frames.UnloadData(1), 0);
    uint8_t record[kFrameRecordSize];
    doc.frames.GetFrameRecord(1, record);
    // Sizes that cannot be right: the frame does not load, but its bytes
    // are still there.
    uint8_t sizes[4];
    PutU16LE(sizes, 2);
    PutU16LE(sizes + 2, 0);
    ASSERT_EQ(doc.swap.WriteAt(HeaderPosition(record) + 100, 4, sizes), 0);
    ASSERT_EQ(doc.swap.WriteAt(HeaderPosition(record) + 112, 4, sizes), 0);
    ASSERT_EQ(doc.frames.LoadFrame(1, 0), nullptr);

    Sections s;
    EXPECT_EQ(Save(doc, document_.get(), &s), 0);
    EXPECT_TRUE(alerts.boxes().empty());
    const std::vector<uint8_t> bytes = document_.Bytes();
    const uint8_t* saved = &bytes[s.framesAt];
    ASSERT_EQ(HeaderSize(saved), HeaderSize(record));
    // The picture is not in the document, and block B says so.
    const ImageBlockB b = GetImageBlockB(&bytes[HeaderPosition(saved) + 148 + 4 + kImageBlockASize]);
    EXPECT_EQ(b.imageStored, 0u);
    EXPECT_EQ(b.imagePosition, kImageNoPosition);
    EXPECT_EQ(b.rotationPending, 1);
}

TEST_F(DocumentRoundTrip, AStoryTheSwapFileCannotGiveBackFailsTheSaveButIsNotForgotten)
{
    TestDocument doc(dir_.path());
    const uint16_t story = doc.stories.NewRecord(false);
    Handle text = TextHandle("kept");
    doc.stories.BindStory(story);
    doc.stories.Buffer().SetPlainText(text, true);
    HandleFree(text);
    ASSERT_EQ(doc.stories.UnloadAll(0), 0);
    const std::vector<uint8_t> before(HandleData(doc.stories.Records()), HandleData(doc.stories.Records()) + 20);
    const uint32_t length = doc.swap.GetFileSize();
    std::vector<uint8_t> swapBytes(length);
    ASSERT_EQ(doc.swap.ReadAt(0, length, swapBytes.data()), 0);
    ASSERT_EQ(FileSetSize(doc.swap.GetFileHandle(), 0), 0);

    EXPECT_NE(doc.stories.WriteStore(document_.get(), 0), 0);
    ASSERT_EQ(doc.swap.WriteAt(0, length, swapBytes.data()), 0);
    doc.stories.UnloadAll(0);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), HandleData(doc.stories.Records())));
    Handle plain = nullptr;
    doc.stories.BindStory(story);
    ASSERT_EQ(doc.stories.Buffer().GetPlainText(&plain), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(HandleData(plain)), HandleGetSize(plain)), "\rkept");
    HandleFree(plain);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "frames/paragraph_storage.h"
#include "frames/record_header_format.h"
#include "support/alert_capture.h"
#include "test_document.h"

namespace {

Handle TextHandle(const std::string& s)
{
    Handle h = HandleNew(uint32_t(s.size()));
    if (!s.empty())
        std::memcpy(HandleData(h), s.data(), s.size());
    return h;
}

class StoryTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(CountSwapNames(dir_.path()), 0); }

    // A story with no paragraphs yet, bound to the buffer.
    uint16_t EmptyStory()
    {
        const uint16_t id = doc_.stories.SwapStore::NewRecord(true);
        EXPECT_EQ(doc_.stories.BindStory(id), 0);
        return id;
    }
    std::vector<std::string> Paragraphs(uint16_t id)
    {
        std::vector<std::string> out;
        EXPECT_EQ(doc_.stories.BindStory(id), 0);
        TextBuffer& b = doc_.stories.Buffer();
        for (int32_t i = 0; i < b.Count(); ++i) {
            EXPECT_TRUE(b.SelectParagraph(i));
            const ParagraphLayout& l = b.Layout();
            out.emplace_back(reinterpret_cast<char*>(HandleData(b.CurrentParagraph())) + l.textOffset, l.textLength);
        }
        b.UnloadAll(0);
        return out;
    }
    std::string Plain(uint16_t id)
    {
        doc_.stories.BindStory(id);
        Handle h = nullptr;
        EXPECT_EQ(doc_.stories.Buffer().GetPlainText(&h), 0);
        std::string s(reinterpret_cast<char*>(HandleData(h)), HandleGetSize(h));
        HandleFree(h);
        return s;
    }
    int32_t Append(uint16_t id, const std::string& text)
    {
        doc_.stories.BindStory(id);
        Handle h = TextHandle(text);
        const int32_t r = doc_.stories.Buffer().SetPlainText(h, true);
        HandleFree(h);
        return r;
    }

    TempDir dir_;
    TestDocument doc_{dir_.path()};
};

TEST_F(StoryTest, PlainTextBecomesParagraphsAndComesBack)
{
    const uint16_t id = EmptyStory();
    ASSERT_EQ(Append(id, "ab\rcd"), 0);
    EXPECT_EQ(Paragraphs(id), (std::vector<std::string>{"ab\r", "cd\r"}));
    EXPECT_EQ(Plain(id), "ab\rcd");

    const uint16_t lines = EmptyStory();
    Append(lines, "one\r\ntwo\nthree");
    EXPECT_EQ(Paragraphs(lines), (std::vector<std::string>{"one\r", " two three\r"}));

    const uint16_t none = EmptyStory();
    Append(none, "");
    EXPECT_TRUE(Paragraphs(none).empty());
}

TEST_F(StoryTest, LongLinesAreCutBackInSteps)
{
    const uint16_t id = EmptyStory();
    ASSERT_EQ(Append(id, std::string(70000, 'q')), 0);
    const auto p = Paragraphs(id);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].size(), 64001u);
    EXPECT_EQ(p[1].size(), 6001u);
}

TEST_F(StoryTest, ANewStoryHasOneEmptyParagraphAndTextGoesInAtTheCaret)
{
    const uint16_t id = doc_.stories.NewRecord(true);
    EXPECT_EQ(Paragraphs(id), (std::vector<std::string>{"\r"}));
    Append(id, "Hello world");
    doc_.stories.BindStory(id);
    doc_.stories.Buffer().SelectParagraph(1);
    doc_.stories.Buffer().SetCaret(TextPosition{1, 5});
    Handle h = TextHandle("X\rY");
    ASSERT_EQ(doc_.stories.Buffer().SetPlainText(h, false), 0);
    HandleFree(h);
    EXPECT_EQ(Paragraphs(id), (std::vector<std::string>{"\r", "Hello\r", "X\r", "Y\r", " world\r"}));
}

TEST_F(StoryTest, TransferFormRoundTripAndAnUnloadableStory)
{
    const uint16_t id = EmptyStory();
    Append(id, "alpha\rbeta");
    ScratchFile file(dir_, "story");
    ASSERT_EQ(doc_.stories.WriteStory(file.get(), id), 0);
    EXPECT_EQ(GetU16LE(file.Bytes().data()), 2);
    FileSeek(file.get(), kSeekStart, 0);
    uint16_t copy = 0;
    ASSERT_EQ(doc_.stories.ReadStory(file.get(), &copy), 0);
    EXPECT_NE(copy, id);
    EXPECT_EQ(Paragraphs(copy), Paragraphs(id));

    file.Put({});
    EXPECT_EQ(doc_.stories.WriteStory(file.get(), 999), 1);
    EXPECT_EQ(file.Bytes(), (std::vector<uint8_t>{0, 0}));
    // A count the file cannot hold adds no story.
    file.Put({5, 0, 1, 2, 3});
    const int32_t before = doc_.stories.Count();
    EXPECT_NE(doc_.stories.ReadStory(file.get(), &copy), 0);
    EXPECT_EQ(copy, 0);
    EXPECT_EQ(doc_.stories.Count(), before);
}

TEST_F(StoryTest, CopiedStoriesOwnTheirSwapCopies)
{
    const uint16_t id = EmptyStory();
    Append(id, "p0\rp1\rp2\rp3");
    const uint16_t copy = doc_.stories.CopyStory(id, 1, 2);
    ASSERT_NE(copy, 0);
    EXPECT_EQ(Paragraphs(copy), (std::vector<std::string>{"p1\r", "p2\r"}));
    const uint16_t tail = doc_.stories.CopyStory(id, 2, -1);
    EXPECT_EQ(Paragraphs(tail), (std::vector<std::string>{"p2\r", "p3\r"}));
    // Dropping the copies leaves the source whole.
    EXPECT_EQ(doc_.stories.DeleteStory(copy), 0);
    EXPECT_EQ(doc_.stories.DeleteStory(tail), 0);
    Append(id, "p4");
    EXPECT_EQ(Paragraphs(id), (std::vector<std::string>{"p0\r", "p1\r", "p2\r", "p3\r", "p4\r"}));
    EXPECT_EQ(doc_.stories.CopyStory(999, 0, -1), 0);
}

int g_roomyQueries = 0;
double RoomForSome(const char*) { return g_roomyQueries-- > 0 ? 1e9 : 0.0; }

TEST_F(StoryTest, ACopyThatCannotBeWrittenGivesNothingBackItShares)
{
    const uint16_t id = EmptyStory();
    Append(id, "keep\rthese\rtoo");
    doc_.stories.UnloadAll(0);
    ASSERT_EQ(doc_.swap.FreeCount(), 0);
    const uint32_t length = doc_.swap.GetFileSize();
    CTFileMng::FreeSpaceQuery previous = CTFileMng::SetFreeSpaceQuery(RoomForSome);
    AlertCapture alerts;
    // No room at all; then room for the copy's paragraph array and its
    // first paragraph only.
    for (int room : {0, 2}) {
        g_roomyQueries = room;
        EXPECT_EQ(doc_.stories.CopyStory(id, 0, -1), 0) << room;
        EXPECT_EQ(doc_.stories.Count(), 1);
        EXPECT_LT(g_roomyQueries, 0) << "every allowance was used up";
        for (int32_t i = 0; i < doc_.swap.FreeCount(); ++i) {
            uint32_t p = 0, n = 0;
            doc_.swap.FreeEntry(i, &p, &n);
            EXPECT_GE(p, length) << "a stretch of the source went back to the free list";
        }
    }
    CTFileMng::SetFreeSpaceQuery(previous);
    EXPECT_EQ(Paragraphs(id), (std::vector<std::string>{"keep\r", "these\r", "too\r"}));
}

TEST(ParagraphStorage, LayoutOfBlocksAndRuns)
{
    Handle h = HandleNew(8 + 22 + 130 + 16 + 3);
    PutU16LE(HandleData(h) + kParagraphLengthOffset, 3);
    PutU16LE(HandleData(h) + kParagraphRunSizeOffset, 16);
    ParagraphLayout l;
    ASSERT_TRUE(LayOutParagraphText(h, kParaHasRuns | kParaHasOverride | kParaHasTabs, &l));
    EXPECT_EQ(l.runOffset, 160u);
    EXPECT_EQ(l.textOffset, 176u);
    EXPECT_EQ(ParagraphUsedBytes(l), 179u);
    PutU16LE(HandleData(h) + kParagraphLengthOffset, 4);
    EXPECT_FALSE(LayOutParagraphText(h, kParaHasRuns | kParaHasOverride | kParaHasTabs, &l))
        << "a length the Handle cannot hold";
    HandleFree(h);

    // A paragraph "abcd" with a bold run over "bc" splits at 2.
    Handle p = HandleNew(8 + 14 + 5);
    uint8_t* d = HandleData(p);
    PutU16LE(d + 4, 5);
    PutU16LE(d + 6, 14);
    PutU16LE(d + 8, 1);
    PutU16LE(d + 10, 3);
    PutU16LE(d + 18, 0x20);
    PutI16LE(d + 20, 1);
    std::memcpy(d + 22, "abcd\r", 5);
    uint8_t flags = kParaHasRuns, secondFlags = 0;
    Handle second = nullptr;
    ASSERT_EQ(ParagraphSplit(p, &flags, 2, &second, &secondFlags), 0);
    ASSERT_TRUE(LayOutParagraphText(p, flags, &l));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(HandleData(p)) + l.textOffset, l.textLength), "ab\r");
    EXPECT_EQ(GetU16LE(HandleData(p) + l.runOffset + 2), 2);
    ASSERT_TRUE(LayOutParagraphText(second, secondFlags, &l));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(HandleData(second)) + l.textOffset, l.textLength), "cd\r");
    EXPECT_EQ(GetU16LE(HandleData(second) + l.runOffset), 0);
    EXPECT_EQ(GetU16LE(HandleData(second) + l.runOffset + 2), 1);
    // Typing before the run moves it; typing at its end grows it.
    const uint8_t xy[] = {'x', 'y'};
    ASSERT_EQ(ParagraphInsertBytes(second, secondFlags, 0, xy, 2), 0);
    EXPECT_EQ(GetU16LE(HandleData(second) + l.runOffset), 2);
    ASSERT_EQ(ParagraphInsertBytes(second, secondFlags, 3, xy, 1), 0);
    EXPECT_EQ(GetU16LE(HandleData(second) + l.runOffset + 2), 4);
    HandleFree(p);
    HandleFree(second);
}

}  // namespace

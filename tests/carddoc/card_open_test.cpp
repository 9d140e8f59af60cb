// Opening card documents: files that are refused with their message and
// leave nothing behind, the warning for a file saved with errors, the lock
// a document holds on its file, and the limit of ten open documents.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "carddoc/card_document_format.h"
#include "foundation/byte_order.h"
#include "frames/frame_record_format.h"
#include "card_test_support.h"

namespace {

class CardOpen : public CardDocTest {
protected:
    void SetUp() override
    {
        CardDocTest::SetUp();
        auto doc = CardWithText("Grace Hopper");
        const PathRecord path = DocPath("good.lqx");
        ASSERT_TRUE(doc->DoSave(&path));
        good_ = Bytes("good.lqx");
        alerts_.clear();
    }

    // Opens a variant of the good file; the document or null.
    std::unique_ptr<CLabelsDoc> OpenVariant(const std::string& bytes)
    {
        WriteFileBytes(docs_.file("variant.lqx"), bytes);
        return OpenCardDocument(DocPath("variant.lqx"));
    }
    std::string WithWord(size_t at, uint32_t value) const
    {
        std::string b = good_;
        PutU32LE(reinterpret_cast<uint8_t*>(&b[at]), value);
        return b;
    }

    std::string good_;
};

TEST_F(CardOpen, FilesOfAnotherKindOrVersionAreRefusedWithTheirMessage)
{
    const struct {
        std::string bytes;
        const char* message;
    } cases[] = {
        {WithWord(kCardFileCodeAt, FourCC("QXdb")), "File is not the application data file.\nCan't read this file."},
        {WithWord(kCardFormatCodeAt, FourCC("QX_2")), "File is not the application data file.\nCan't read this file."},
        {good_.substr(0, 100), "File is not the application data file.\nCan't read this file."},
        {WithWord(kCardVersionAt, 9), "Previous version document.\nCan't read this file."},
        {WithWord(kCardVersionAt, 11), "Previous version document.\nCan't read this file."},
    };
    for (const auto& c : cases) {
        alerts_.clear();
        EXPECT_EQ(OpenVariant(c.bytes), nullptr);
        ASSERT_EQ(alerts_.boxes().size(), 1u);
        EXPECT_EQ(alerts_.lastText(), std::string("variant.lqx: ") + c.message);
    }
    EXPECT_EQ(Leftovers("KPX*"), 0) << "the swap files of refused opens are gone";
    EXPECT_EQ(OpenDocumentCount(), 0);
}

TEST_F(CardOpen, PlacesOutsideTheFileAreRefusedAsDamagedWithoutReadingThem)
{
    const uint32_t size = uint32_t(good_.size());
    const std::string cases[] = {
        WithWord(kCardEndOfData, size + 1),
        WithWord(kCardEndOfData, kCardDataStart),
        WithWord(kCardPrintOffset, 0),
        WithWord(CardSectionOffsetAt(kSectionColours), kCardDataStart + 10),
        WithWord(CardSectionLengthAt(kSectionFonts), 0xFFFFFFF0u),
        WithWord(CardSectionOffsetAt(kSectionFrames), size),
        WithWord(CardSectionLengthAt(kSectionStories), size),
        WithWord(CardSectionLengthAt(kSectionPages), 3),
        good_.substr(0, size - 1),
    };
    for (const std::string& bytes : cases) {
        alerts_.clear();
        EXPECT_EQ(OpenVariant(bytes), nullptr);
        ASSERT_FALSE(alerts_.boxes().empty());
        EXPECT_EQ(alerts_.lastText(), "variant.lqx: Document is damaged.\nLoading failed.  ");
    }
    EXPECT_EQ(Leftovers("KPX*"), 0);
}

TEST_F(CardOpen, RecordsWithoutAnIdOfTheirOwnAreRefusedAsDamaged)
{
    const auto at = [&](int section) {
        return size_t(GetU32LE(reinterpret_cast<const uint8_t*>(&good_[CardSectionOffsetAt(section)])));
    };
    const size_t frames = at(kSectionFrames), stories = at(kSectionStories);
    const auto withId = [&](size_t record, uint16_t id) {
        std::string b = good_;
        PutU16LE(reinterpret_cast<uint8_t*>(&b[record + kRecordIdOffset]), id);
        return b;
    };
    const uint16_t firstFrame = GetU16LE(reinterpret_cast<const uint8_t*>(&good_[frames + kRecordIdOffset]));
    const std::string cases[] = {
        withId(frames + kFrameRecordSize, firstFrame),
        withId(frames, 0),
        withId(stories, 0),
    };
    for (const std::string& bytes : cases) {
        alerts_.clear();
        EXPECT_EQ(OpenVariant(bytes), nullptr);
        EXPECT_EQ(alerts_.lastText(), "variant.lqx: Document is damaged.\nLoading failed.  ");
    }
    EXPECT_EQ(Leftovers("KPX*"), 0);
}

TEST_F(CardOpen, AFileSavedWithErrorsIsOpenedAfterTheWarning)
{
    auto doc = OpenVariant(WithWord(kCardStatus, 1));
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(alerts_.boxes().size(), 1u);
    EXPECT_EQ(alerts_.lastText(), "variant.lqx: The document is damaged. It was opened with what could be read of "
                                  "it: check it before saving it, or save it under another name.");
    EXPECT_EQ(FirstStoryText(*doc), "\rGrace Hopper\r");
}

TEST_F(CardOpen, AnOpenDocumentHoldsItsFileAgainstEveryOtherOpen)
{
    auto first = OpenCardDocument(DocPath("good.lqx"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(OpenCardDocument(DocPath("good.lqx")), nullptr);
    EXPECT_EQ(alerts_.lastText(), "good.lqx: File is used by another program.");

    // Nor can another document save over it.
    auto other = CardWithText("Other");
    const PathRecord target = DocPath("good.lqx");
    alerts_.clear();
    EXPECT_FALSE(other->DoSave(&target));
    EXPECT_EQ(alerts_.lastText(), "good.lqx: File is used by another program.");
    EXPECT_TRUE(other->IsModified());
    EXPECT_EQ(Bytes("good.lqx"), good_);

    first.reset();
    EXPECT_NE(OpenCardDocument(DocPath("good.lqx")), nullptr) << "the lock goes with the document";
}

TEST_F(CardOpen, AnEleventhDocumentIsRefusedWithoutAMessage)
{
    std::vector<std::unique_ptr<CLabelsDoc>> open;
    open.push_back(OpenCardDocument(DocPath("good.lqx")));
    while (open.size() < size_t(kMaxOpenDocuments))
        open.push_back(NewCardDocument());
    for (const auto& doc : open)
        ASSERT_NE(doc, nullptr);
    alerts_.clear();
    EXPECT_EQ(NewCardDocument(), nullptr);
    WriteFileBytes(docs_.file("second.lqx"), good_);
    EXPECT_EQ(OpenCardDocument(DocPath("second.lqx")), nullptr);
    EXPECT_TRUE(alerts_.boxes().empty());
    open.pop_back();
    EXPECT_NE(OpenCardDocument(DocPath("second.lqx")), nullptr);
}

// What a path holds instead of a card is said naming it, at an open and at
// a save, as the command line says it.
TEST_F(CardOpen, APathThatHoldsNoCardIsNamedForWhatItHolds)
{
    ASSERT_EQ(::mkfifo(docs_.file("fifo.lqx").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(docs_.file("folder.lqx").c_str(), 0700), 0);
    ASSERT_EQ(::symlink("loop2.lqx", docs_.file("loop.lqx").c_str()), 0);
    ASSERT_EQ(::symlink("loop.lqx", docs_.file("loop2.lqx").c_str()), 0);
    PathRecord device{};
    ASSERT_EQ(PathRecordFromPosix("/dev/null", &device), 0);
    const struct {
        PathRecord path;
        const char* said;
    } cases[] = {
        {DocPath("fifo.lqx"), "fifo.lqx is a pipe, not a file. [230]"},
        {DocPath("folder.lqx"), "folder.lqx is a folder, not a file. [267]"},
        {device, "null is a device, not a file. [20]"},
        {DocPath("loop.lqx"), "loop.lqx: Its links name each other in a loop. [1921]"},
    };
    for (const auto& c : cases) {
        alerts_.clear();
        EXPECT_EQ(OpenCardDocument(c.path), nullptr);
        EXPECT_EQ(alerts_.lastText(), c.said);
    }
    // A save onto a pipe or a folder is refused the same way, and the card
    // keeps its change.
    auto card = CardWithText("Other");
    for (const auto& c : {cases[0], cases[1]}) {
        alerts_.clear();
        EXPECT_FALSE(card->DoSave(&c.path));
        EXPECT_EQ(alerts_.lastText(), c.said);
        EXPECT_TRUE(card->IsModified());
    }
    // Saved straight onto links that have come to name each other since
    // the name was chosen: nothing is written, and that is said.
    alerts_.clear();
    EXPECT_FALSE(card->OnSaveDocument(cases[3].path));
    EXPECT_EQ(alerts_.lastText(), cases[3].said);
}

}  // namespace

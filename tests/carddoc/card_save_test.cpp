// Saving never loses data: a save that fails at any step leaves the old
// file as it was and the document modified and still editable; a later
// save goes through.
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "carddoc/card_document_format.h"
#include "foundation/byte_order.h"
#include "frames/curr_page_mng.h"
#include "card_test_support.h"
#include "tools/stand_ins/stand_in_hosts.h"
#include "support/file_size_limit.h"

namespace {

using CardSave = CardDocTest;

TEST_F(CardSave, AFailedWriteKeepsTheOldFileAndTheChanges)
{
    auto doc = CardWithText("First version");
    const PathRecord path = DocPath("card.lqx");
    ASSERT_TRUE(doc->DoSave(&path));
    const std::string saved = Bytes("card.lqx");
    doc->NewFrame(kFrameEllipse)->SetFromRect(IntRect{10, 10, 40, 40});
    ASSERT_TRUE(doc->IsModified());
    {
        FileSizeLimit limit(kCardDataStart + 20);
        EXPECT_FALSE(doc->DoFileSave());
    }
    EXPECT_EQ(alerts_.lastText(), "Error write document.");
    EXPECT_EQ(Bytes("card.lqx"), saved);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Leftovers("LQX*"), 0) << "the half-written file is gone";
    EXPECT_EQ(doc->PageManager()->FrameCount(), 3) << "the page is shown again";
    EXPECT_EQ(OpenCardDocument(path), nullptr) << "the document still holds its file";

    alerts_.clear();
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
    doc.reset();
    auto reopened = OpenCardDocument(path);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->Frames()->Count(), 3);
}

TEST_F(CardSave, TheNextSaveClearsWhatAKilledSaveLeftBeside)
{
    auto doc = CardWithText("Saved twice");
    const PathRecord path = DocPath("card.lqx");
    ASSERT_TRUE(doc->DoSave(&path));
    // A save killed half way left its file; an hour later the next save
    // takes it away.
    WriteFileBytes(docs_.file("LQX2B7.TMP"), "half a card");
    const std::string left = docs_.file("LQX2B7.TMP");
    struct timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ::utimensat(AT_FDCWD, left.c_str(), hourAgo, 0);
    doc->NewFrame(kFrameEllipse)->SetFromRect(IntRect{10, 10, 40, 40});
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_EQ(Leftovers("LQX*"), 0);
}

TEST_F(CardSave, SaveAsMovesTheLockAndAFailedOneKeepsTheOldFile)
{
    auto doc = CardWithText("Moving");
    const PathRecord first = DocPath("first.lqx");
    const PathRecord second = DocPath("second.lqx");
    ASSERT_TRUE(doc->DoSave(&first));
    {
        FileSizeLimit limit(kCardDataStart + 20);
        EXPECT_FALSE(doc->DoSave(&second));
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(docs_.file("second.lqx"))));
    EXPECT_TRUE(PathRecordEqual(&doc->Path(), &first));
    EXPECT_EQ(OpenCardDocument(first), nullptr) << "the first file is still held";

    ASSERT_TRUE(doc->DoSave(&second));
    EXPECT_TRUE(PathRecordEqual(&doc->Path(), &second));
    EXPECT_NE(OpenCardDocument(first), nullptr) << "the first file is let go";
    EXPECT_EQ(OpenCardDocument(second), nullptr);
}

TEST_F(CardSave, SavingOverALongerFileCutsItToTheNewData)
{
    const PathRecord path = DocPath("card.lqx");
    WriteFileBytes(docs_.file("card.lqx"), std::string(100000, 'x'));
    auto doc = CardWithText("Short");
    ASSERT_TRUE(doc->DoSave(&path));
    const std::string b = Bytes("card.lqx");
    EXPECT_EQ(GetU32LE(reinterpret_cast<const uint8_t*>(&b[kCardEndOfData])), b.size());
    EXPECT_LT(b.size(), 100000u);
}

TEST_F(CardSave, AChangedDocumentAsksBeforeItGoesAndCancelKeepsIt)
{
    auto doc = CardWithText("Ask me");
    EXPECT_FALSE(doc->SaveModified()) << "without an application nothing is answered";
    EXPECT_FALSE(QFile::exists(QString::fromStdString(docs_.file("Untitled.lqx"))));

    struct Host : StandInCardDocumentHost {
        SaveAnswer AskSaveChanges(const std::string& title) override
        {
            asked = title;
            return kSaveYes;
        }
        bool ChooseSavePath(const std::string&, PathRecord* path) override
        {
            *path = target;
            return true;
        }
        std::string asked;
        PathRecord target{};
    } host;
    host.target = DocPath("chosen.lqx");
    CardDocumentHost* previous = SetCardDocumentHost(&host);
    EXPECT_TRUE(doc->SaveModified());
    SetCardDocumentHost(previous);
    EXPECT_EQ(host.asked, "Untitled");
    EXPECT_TRUE(PathRecordEqual(&doc->Path(), &host.target));
    EXPECT_EQ(doc->Title(), "chosen.lqx");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(doc->SaveModified()) << "nothing left to ask";
}

}  // namespace

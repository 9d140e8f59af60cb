// The sample business card the program ships: it opens, shows its logo,
// text and barcode, and its text is made of the contact database's merge
// fields; the tool that made it makes the same card again, and dumps it.
#include <gtest/gtest.h>

#include <QFile>
#include <string>

#include "card_test_support.h"
#include "card_view_image.h"
#include "carddoc/card_document_format.h"
#include "foundation/byte_order.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj_text.h"
#include "frames/frame_record_format.h"
#include "platform/key_event.h"
#include "text/text_tool.h"

namespace {

const std::string kSample = std::string(TESSALINE_TEST_DATA_DIR) + "/../../data/Samples/Business Card.lqx";

class SampleCard : public CardDocTest {
protected:
    // The shipped card, copied first: an open document keeps its swap
    // file beside it and holds the file.
    std::unique_ptr<CLabelsDoc> OpenSample()
    {
        WriteFileBytes(docs_.file("card.lqx"), ReadFileBytes(kSample));
        return OpenCardDocument(DocPath("card.lqx"));
    }
};

TEST_F(SampleCard, ItShowsItsLogoTextAndBarcode)
{
    auto doc = OpenSample();
    ASSERT_NE(doc, nullptr) << alerts_.lastText();
    ImageCardView view(600, 400);
    doc->SetView(&view);
    doc->InitialUpdate();
    ASSERT_EQ(doc->GetCurrentPage(), 1);
    EXPECT_EQ(doc->PageManager()->FrameCount(), 7);
    view.Paint(doc->PageManager());
    const IntRect card = doc->PageGeometry().slots[0];

    auto ink = [&](int l, int t, int r, int b) { return view.Ink(card.left + l, card.top + t, card.left + r, card.top + b); };
    EXPECT_GT(ink(14, 14, 54, 54), 400) << "the dark blue disc";
    EXPECT_GT(ink(14, 62, 168, 80), 80) << "the name line";
    EXPECT_GT(ink(14, 96, 168, 136), 80) << "the address lines";
    EXPECT_GT(ink(172, 104, 240, 132), 150) << "the bars";
    EXPECT_EQ(ink(0, 140, 252, 144), 0) << "nothing near the bottom edge";
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
}

TEST_F(SampleCard, SavingAgainWritesTheSameBytes)
{
    auto doc = OpenSample();
    ASSERT_NE(doc, nullptr);
    ImageCardView view(600, 400);
    doc->SetView(&view);
    doc->InitialUpdate();
    ASSERT_TRUE(doc->DoFileSave());
    const std::string first = Bytes("card.lqx");
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_EQ(Bytes("card.lqx"), first) << "a second save of the same card";
    doc.reset();

    // Nor does a round through the file change what is saved.
    auto reopened = OpenCardDocument(DocPath("card.lqx"));
    ASSERT_NE(reopened, nullptr);
    reopened->SetView(&view);
    reopened->InitialUpdate();
    ASSERT_TRUE(reopened->DoFileSave());
    EXPECT_EQ(Bytes("card.lqx"), first);
    EXPECT_TRUE(alerts_.boxes().empty()) << alerts_.lastText();
}

TEST_F(SampleCard, TheToolMakesTheSameCardAndDumpsIt)
{
    auto doc = OpenSample();
    ASSERT_NE(doc, nullptr);
    doc.reset();
    ASSERT_EQ(Shell(docs_, "\"$T\" card new-sample made.lqx && \"$T\" card dump made.lqx > made.txt && "
                           "\"$T\" card dump card.lqx > shipped.txt"),
              0);
    auto body = [](std::string text) { return text.substr(text.find('\n') + 1); };
    const std::string shipped = ReadFileBytes(docs_.file("shipped.txt"));
    EXPECT_EQ(body(ReadFileBytes(docs_.file("made.txt"))), body(shipped));
    for (const char* expected : {"check: good", "frame 7: type 11", "\"[Company]\\x0D\" [field 5 at 0 length 9]",
                                 "[field 2 at 0 length 11] [field 3 at 12 length 10]", "[field 13 at 5 length 8]"})
        EXPECT_NE(shipped.find(expected), std::string::npos) << expected;
    EXPECT_NE(Shell(docs_, "\"$T\" card dump missing.lqx 2> /dev/null"), 0);

    // A file it refuses, it says why.
    WriteFileBytes(docs_.file("junk.lqx"), std::string(7200, 'j'));
    EXPECT_EQ(Shell(docs_, "\"$T\" card dump junk.lqx > /dev/null 2> why"), 1);
    EXPECT_NE(ReadFileBytes(docs_.file("why")).find("junk.lqx is not a card document"), std::string::npos)
        << ReadFileBytes(docs_.file("why"));
}

TEST_F(SampleCard, TextTypedWithTheTextToolIsSavedWithTheCard)
{
    auto doc = OpenSample();
    ASSERT_NE(doc, nullptr);
    ImageCardView view(600, 400);
    doc->SetView(&view);
    doc->InitialUpdate();
    doc->SelectTool(kToolText);
    ASSERT_EQ(doc->CurrentToolIndex(), kToolText);
    auto* tool = static_cast<TextTool*>(doc->ToolOfKind(kToolText));
    auto* company = static_cast<FrameObjText*>(doc->Frames()->GetLoadedFrame(4));
    ASSERT_NE(company, nullptr);
    ASSERT_EQ(company->GetType(), kFrameText);
    tool->SetEditFrame(company, 1);
    ASSERT_EQ(doc->TextToolFrame(), company);
    const int32_t storiesBefore = doc->Stories()->Count();
    for (char c : std::string("Acme "))
        tool->KeyDown(TypedKey(uint8_t(c)));
    tool->FlushReflow();
    EXPECT_EQ(doc->UndoOwner(), tool);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_GT(doc->Stories()->Count(), storiesBefore) << "the undo step keeps a copy of the story";
    ASSERT_TRUE(doc->DoFileSave());
    // The copy is the undo step's, not the card's: it must not be saved.
    EXPECT_EQ(doc->UndoOwner(), nullptr);
    EXPECT_EQ(doc->Stories()->Count(), storiesBefore);
    const std::string saved = Bytes("card.lqx");
    EXPECT_EQ(GetU32LE(reinterpret_cast<const uint8_t*>(&saved[kCardStoryCount])), uint32_t(storiesBefore));
    doc.reset();

    auto reopened = OpenCardDocument(DocPath("card.lqx"));
    ASSERT_NE(reopened, nullptr);
    StoryStore* stories = reopened->Stories();
    ASSERT_EQ(stories->BindStory(1), 0);
    Handle plain = nullptr;
    ASSERT_EQ(stories->Buffer().GetPlainText(&plain), 0);
    const std::string text(reinterpret_cast<char*>(HandleData(plain)), HandleGetSize(plain));
    HandleFree(plain);
    EXPECT_NE(text.find("Acme "), std::string::npos) << text;
}

}  // namespace

// A story that runs on through a chain of text frames: what the first frame
// can no longer hold shows in the next one as soon as it is typed.
#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "foundation/path_record.h"
#include "frames/frame_obj.h"
#include "frames/frame_store.h"
#include "journey_fixture.h"

namespace {

constexpr uint32_t kTextTool = 33285;

class TextChainJourney : public JourneyTest {
protected:
    // The sample with the name's frame (5) chained on into the address's
    // frame (6): the name and title story runs on below, the address story
    // is left out. No command of the program links frames, so the card is
    // made here as such a file would come.
    std::string ChainedSample()
    {
        const std::string path = CopySample("Business Card.lqx", "Chained.lqx");
        PathRecord record{};
        EXPECT_EQ(PathRecordFromPosix(path, &record), 0);
        std::unique_ptr<CLabelsDoc> doc = OpenCardDocument(record);
        if (!doc)
            return {};
        doc->InitialUpdate();
        FrameStore* frames = doc->Frames();
        FrameObj* address = frames->GetLoadedFrame(6);
        EXPECT_NE(address, nullptr);
        if (!address)
            return {};
        frames->LinkAfter(5, address);
        frames->FlowFrame(5, false);
        doc->SetModified(true);
        EXPECT_TRUE(doc->DoSave(&record));
        doc->OnCloseDocument();
        return path;
    }

    // The chained sample opened through the menu in a maximized window;
    // its path, empty when that failed.
    std::string OpenChained()
    {
        const std::string path = ChainedSample();
        if (path.empty() || !OpenThroughMenu(path)) {
            ADD_FAILURE() << "the chained card did not open " << alerts.lastText();
            return {};
        }
        MaximizeCardWindow();
        return path;
    }

    // With the Text tool, the caret at the end of the title, the name
    // frame's last line.
    void CaretAfterTitle()
    {
        Click(CardPoint(100, 72));
        Key(Qt::Key_Down);
        Key(Qt::Key_End);
    }

    // File > Save, File > Close, and what the saved card holds.
    std::string SaveAndDump(const std::string& path)
    {
        EXPECT_TRUE(Trigger("File > Save"));
        EXPECT_TRUE(Trigger("File > Close"));
        return Tool("card dump '" + path + "'");
    }
};

TEST_F(TextChainJourney, TextPushedIntoAndPulledBackFromTheNextFrameShowsThereAtOnce)
{
    const std::string path = OpenChained();
    ASSERT_FALSE(path.empty());
    // The address frame, 154 x 40 at (14, 96), is empty: its story was
    // left out and the name's story still fits its own frame.
    const QRect next = CardRect(16, 98, 150, 36);
    const int empty = Ink(ViewPixels(), next);

    ASSERT_TRUE(Trigger(kTextTool));
    // After the title, a new line: the name and the title fill the frame,
    // so the new line goes on in the next one.
    CaretAfterTitle();
    Key(Qt::Key_Return);
    Type("Second line");
    EXPECT_GT(Ink(ViewPixels(), next), empty + 60) << "the line pushed on is not shown in the next frame";
    // Back in the first frame, Delete at the title's end joins that line
    // to the title: the next frame shows nothing any more.
    CaretAfterTitle();
    Key(Qt::Key_Delete);
    EXPECT_LE(Ink(ViewPixels(), next), empty + 5) << "the next frame still shows the line pulled back";
    // Return parts them again.
    Key(Qt::Key_Return);
    EXPECT_GT(Ink(ViewPixels(), next), empty + 60) << "the line pushed on again is not shown";

    // It is the story's: saved, the one story runs through both frames.
    const std::string dump = SaveAndDump(path);
    EXPECT_NE(dump.find("frame 6: type 5, residence 0, page 1, story 2"), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"Title\\x0D\" [field 4 at 0 length 5]\n  \"Second line\\x0D\""), std::string::npos) << dump;
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(TextChainJourney, ReturnPastTheLastFrameOfAChainKeepsTheBreakAndShowsTheOverflow)
{
    const std::string path = OpenChained();
    ASSERT_FALSE(path.empty());
    // The lower right corner of the address frame, where a chain whose text
    // runs past its last frame shows the mark.
    const QRect corner = CardRect(150, 124, 18, 12);
    const int clear = Ink(ViewPixels(), corner);

    ASSERT_TRUE(Trigger(kTextTool));
    CaretAfterTitle();
    // Two lines fill the address frame; the third and fourth run past it.
    for (const char* line : {"Second line", "Third line", "Fourth line", "Fifth line"}) {
        Key(Qt::Key_Return);
        Type(line);
    }
    EXPECT_GT(Ink(ViewPixels(), corner), clear + 10) << "the text past the chain's last frame is not marked";
    const std::string dump = SaveAndDump(path);
    EXPECT_NE(dump.find("\"Fourth line\\x0D\"\n  \"Fifth line\\x0D\""), std::string::npos) << dump;
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

}  // namespace

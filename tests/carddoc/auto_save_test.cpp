// Auto-save: one timer per document, restarted with a new interval, left
// alone for an interval of 0; a tick saves the document (also unchanged,
// asking for a name when it has none); a full table starts no timer that
// could never be stopped; a document that goes leaves no entry behind.
#include <gtest/gtest.h>

#include "carddoc/auto_save.h"
#include "foundation/byte_order.h"
#include "card_test_support.h"
#include "tools/stand_ins/stand_in_hosts.h"

namespace {

using AutoSave = CardDocTest;

TEST_F(AutoSave, TheTimerFollowsThePreferences)
{
    auto doc = CardWithText("Timed");
    AutoSaveStart(doc.get(), 5);
    const uint32_t first = AutoSaveFindTimer(doc.get());
    ASSERT_NE(first, 0u);
    EXPECT_EQ(AutoSaveInterval(doc.get()), 5 * 60000);
    AutoSaveStart(doc.get(), 0);
    EXPECT_EQ(AutoSaveFindTimer(doc.get()), first) << "an interval of 0 leaves the timer alone";
    AutoSaveStart(doc.get(), 3);
    EXPECT_NE(AutoSaveFindTimer(doc.get()), first);
    EXPECT_EQ(AutoSaveFindDocument(first), nullptr);
    EXPECT_EQ(AutoSaveInterval(doc.get()), 3 * 60000);

    PutU32LE(doc->GeneralPrefs() + kPrefAutoSaveOn, 0);
    doc->ApplyPreferences(false);
    EXPECT_EQ(AutoSaveFindTimer(doc.get()), 0u);
    PutU32LE(doc->GeneralPrefs() + kPrefAutoSaveOn, 1);
    PutU32LE(doc->GeneralPrefs() + kPrefAutoSaveMinutes, 0x7FFFFFFF);
    doc->ApplyPreferences(false);
    EXPECT_GT(AutoSaveInterval(doc.get()), 0) << "a huge interval is held at the longest a timer takes";

    CLabelsDoc* gone = doc.get();
    doc.reset();
    EXPECT_EQ(AutoSaveFindTimer(gone), 0u);
}

TEST_F(AutoSave, ATickSavesTheDocumentAndANewOneAsksForAName)
{
    auto doc = CardWithText("Tick");
    struct Host : StandInCardDocumentHost {
        bool ChooseSavePath(const std::string&, PathRecord* path) override
        {
            ++asked;
            *path = target;
            return true;
        }
        int asked = 0;
        PathRecord target{};
    } host;
    host.target = DocPath("auto.lqx");
    CardDocumentHost* previous = SetCardDocumentHost(&host);
    AutoSaveStart(doc.get(), 1);
    AutoSaveTimerProc(AutoSaveFindTimer(doc.get()));
    EXPECT_EQ(host.asked, 1);
    EXPECT_FALSE(doc->IsModified());
    const std::string first = Bytes("auto.lqx");
    ASSERT_FALSE(first.empty());

    // Unchanged, it is saved all the same, now without asking.
    doc->PrintSettings().bytes[40] = 1;
    AutoSaveTimerProc(AutoSaveFindTimer(doc.get()));
    EXPECT_EQ(host.asked, 1);
    EXPECT_NE(Bytes("auto.lqx"), first);
    SetCardDocumentHost(previous);
    AutoSaveStop(doc.get());
}

TEST_F(AutoSave, AFullTableStartsNoTimer)
{
    int others[kAutoSaveSlots];
    for (int i = 0; i < kAutoSaveSlots; ++i)
        ASSERT_TRUE(AutoSaveAdd(uint32_t(1000 + i), reinterpret_cast<CLabelsDoc*>(&others[i])));
    auto doc = CardWithText("Late");
    AutoSaveStart(doc.get(), 1);
    EXPECT_EQ(AutoSaveFindTimer(doc.get()), 0u);
    EXPECT_EQ(AutoSaveInterval(doc.get()), 0);
    for (int i = 0; i < kAutoSaveSlots; ++i)
        AutoSaveRemove(uint32_t(1000 + i));
    AutoSaveStart(doc.get(), 1);
    EXPECT_NE(AutoSaveFindTimer(doc.get()), 0u);
}

}  // namespace

#include <gtest/gtest.h>

#include <set>

#include "foundation/cursors.h"
#include "foundation/handle.h"
#include "foundation/keys.h"
#include "resources/cursor_table.h"

namespace {

TEST(AppCursors, WithoutGuiApplicationTheEntriesStayEmpty)
{
    ASSERT_EQ(LoadAppCursors(kFirstAppCursorId, kLastAppCursorId), 0);
    EXPECT_EQ(GetAppCursor(0), nullptr);
    EXPECT_EQ(GetAppCursor(35), nullptr);
    FreeAppCursors();
}

TEST(AppCursors, ReloadReplacesAndFailureLeavesNoTable)
{
    ASSERT_EQ(LoadAppCursors(kFirstAppCursorId, kFirstAppCursorId + 1), 0);
    EXPECT_EQ(LoadAppCursors(5, 4), 1);  // empty range: the old table is gone
    EXPECT_EQ(GetAppCursor(0), nullptr);

    MemInjectAllocationFailure(0);
    EXPECT_EQ(LoadAppCursors(kFirstAppCursorId, kLastAppCursorId), 1);
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(GetAppCursor(0), nullptr);
    FreeAppCursors();
}

TEST(SavedCursor, WithoutGuiApplicationEverythingIsANoOp)
{
    SetWaitCursor();
    SetArrowCursor();
    RestoreSavedCursor();
    RestoreSavedCursor();
    RestoreSavedCursor();
    SUCCEED();
}

class FakeKeys : public KeyStateSource {
public:
    FakeKeys() : previous_(SetKeyStateSource(this)) {}
    ~FakeKeys() override { SetKeyStateSource(previous_); }
    bool KeyDown(int32_t key) override { return down.count(key) != 0; }
    void DeliverPendingInput() override { ++deliveries; }

    std::set<int32_t> down;
    int deliveries = 0;

private:
    KeyStateSource* previous_;
};

TEST(Keys, AbortIsEscapeOrControlWithPeriod)
{
    EXPECT_EQ(IsUserAbortKeyDown(), 0);  // no source: nothing is down
    FakeKeys keys;
    EXPECT_EQ(IsUserAbortKeyDown(), 0);
    keys.down = {kVkControl};
    EXPECT_EQ(IsUserAbortKeyDown(), 0);
    keys.down = {kVkPeriod};
    EXPECT_EQ(IsUserAbortKeyDown(), 0);
    keys.down = {kVkPeriod, kVkControl};
    EXPECT_EQ(IsUserAbortKeyDown(), 1);
    keys.down = {kVkEscape};
    EXPECT_EQ(IsUserAbortKeyDown(), 1);
    EXPECT_EQ(keys.deliveries, 5);  // every poll lets pending input in first
    EXPECT_EQ(IsKeyDown(kVkEscape), 1);
    EXPECT_EQ(IsKeyDown(kVkShift), 0);
    EXPECT_EQ(IsKeyToggled(20), 0);
}

TEST(Keys, MouseHoldWithoutPointerAnswersAtOnce)
{
    EXPECT_EQ(WaitMouseHold(0), 1);
    EXPECT_EQ(WaitMouseHold(-5), 1);
    EXPECT_EQ(WaitMouseHold(20000), 1);  // no GUI application: no pointer to move
}

}  // namespace

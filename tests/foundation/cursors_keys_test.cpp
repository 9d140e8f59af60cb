#include <gtest/gtest.h>

#include <set>

#include "foundation/cursors.h"
#include "foundation/handle.h"
#include "foundation/keys.h"
#include "resources/artwork_resources.h"

namespace {

// Engines and tools run without a window system: nothing here may crash.
TEST(AppCursors, WithoutGuiApplicationEverythingIsHarmless)
{
    ASSERT_EQ(LoadAppCursors(kFirstAppCursorId, kLastAppCursorId), 0);
    EXPECT_EQ(GetAppCursor(0), nullptr);
    SetWaitCursor();
    RestoreSavedCursor();
    RestoreSavedCursor();
    EXPECT_EQ(WaitMouseHold(20000), 1);  // no pointer to move
    FreeAppCursors();
}

TEST(AppCursors, FailedLoadLeavesNoTable)
{
    ASSERT_EQ(LoadAppCursors(kFirstAppCursorId, kFirstAppCursorId + 1), 0);
    EXPECT_EQ(LoadAppCursors(5, 4), 1);
    MemInjectAllocationFailure(0);
    EXPECT_EQ(LoadAppCursors(kFirstAppCursorId, kLastAppCursorId), 1);
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(GetAppCursor(0), nullptr);
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
    FakeKeys keys;
    const std::set<int32_t> cases[] = {{}, {kVkControl}, {kVkPeriod}, {kVkPeriod, kVkControl}, {kVkEscape}};
    const int16_t expected[] = {0, 0, 0, 1, 1};
    for (size_t i = 0; i < std::size(cases); ++i) {
        keys.down = cases[i];
        EXPECT_EQ(IsUserAbortKeyDown(), expected[i]) << i;
    }
    EXPECT_EQ(keys.deliveries, 5);  // every poll lets pending input in first
}

}  // namespace

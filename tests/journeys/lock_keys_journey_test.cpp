// The status bar's CAP, NUM and SCRL panes follow the lock keys while the
// program runs, and stay empty where the desktop can't tell their states.
#include <map>

#include "app/main_frame.h"
#include "app/main_status_bar.h"
#include "foundation/keys.h"
#include "records/command_ids.h"
#include "journey_fixture.h"

namespace {

// The keyboard's lock lights as the window system would tell them.
class LockLights final : public LockKeySource {
public:
    LockLights() : previous_(SetLockKeySource(this)) {}
    ~LockLights() override { SetLockKeySource(previous_); }
    bool Toggled(int32_t virtualKey, bool* on) override
    {
        if (!readable)
            return false;
        *on = lit[virtualKey];
        return true;
    }
    bool readable = true;
    std::map<int32_t, bool> lit;

private:
    LockKeySource* previous_;
};

class LockKeysJourney : public JourneyTest {
protected:
    std::string Panes()
    {
        Settle(300);
        CMainStatusBar* bar = MainWindow()->MainStatusBar();
        std::string texts;
        for (const uint32_t id : {kPaneCaps, kPaneNum, kPaneScroll})
            texts += "[" + bar->PaneText(bar->CommandToIndex(id)).toStdString() + "]";
        return texts;
    }
};

TEST_F(LockKeysJourney, ThePanesFollowTheLockKeys)
{
    // Offscreen nothing tells the lock states: the panes stay empty.
    EXPECT_EQ(ReadKeyToggle(kVkCapsLock), -1);
    EXPECT_EQ(Panes(), "[][][]");
    {
        LockLights lights;
        lights.lit[kVkCapsLock] = true;
        EXPECT_EQ(Panes(), "[CAP][][]");
        lights.lit[kVkNumLock] = true;
        lights.lit[kVkScrollLock] = true;
        EXPECT_EQ(Panes(), "[CAP][NUM][SCRL]");
        lights.lit[kVkCapsLock] = false;
        EXPECT_EQ(Panes(), "[][NUM][SCRL]");
        // With a card open the frame still answers the panes.
        ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
        EXPECT_EQ(Panes(), "[][NUM][SCRL]");
        EXPECT_EQ(IsKeyToggled(kVkNumLock), 1);
        lights.readable = false;
        EXPECT_EQ(Panes(), "[][][]");
    }
}

}  // namespace

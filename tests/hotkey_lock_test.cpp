#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace lumatone {
namespace {

struct GroupBoxes {
    Button* lock;
    std::array<TextBox*, 6> boxes;
};

std::array<GroupBoxes, 3> Groups(Form1& f) {
    return {{{&f.Command7, {&f.Text1, &f.Text2, &f.Text3, &f.Text4, &f.Text11, &f.Text23}},
             {&f.Command8, {&f.Text5, &f.Text6, &f.Text7, &f.Text8, &f.Text10, &f.Text22}},
             {&f.Command10, {&f.Text26, &f.Text27, &f.Text28, &f.Text29, &f.Text30, &f.Text31}}}};
}

void ExpectLocks(Form1& f, std::array<bool, 3> locked) {
    const auto groups = Groups(f);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        SCOPED_TRACE(groups[g].lock->name);
        EXPECT_EQ(groups[g].lock->caption, locked[g] ? "Unlock Hkeys" : "Lock Hkeys");
        for (TextBox* box : groups[g].boxes)
            EXPECT_EQ(box->enabled, !locked[g]) << box->name;
    }
}

TEST(HotkeyLock, EachButtonTogglesOnlyItsOwnGroup) {
    testing::SimApp s;
    Form1& f = s.Start().form1;
    ExpectLocks(f, {false, false, false});
    const auto groups = Groups(f);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        SCOPED_TRACE(g);
        std::array<bool, 3> only{};
        only[g] = true;
        groups[g].lock->Click();
        ExpectLocks(f, only);
        // Only the locked group's boxes refuse focus and keys.
        const auto key = static_cast<std::int16_t>(66 + g);
        for (const GroupBoxes& group : groups) {
            for (TextBox* box : group.boxes) {
                const std::string before = box->text;
                box->KeyDown(key, 0);
                EXPECT_EQ(box->text == before, group.lock == groups[g].lock) << box->name;
                EXPECT_EQ(f.SetFocus(box), group.lock != groups[g].lock) << box->name;
            }
        }
        groups[g].lock->Click();
        ExpectLocks(f, {false, false, false});
    }
}

TEST(HotkeyLock, LocksAndBindingsSurviveARestart) {
    testing::SimApp s;
    {
        Form1& f = s.Start().form1;
        f.Text1.KeyDown(20, 0);
        f.Text2.KeyDown(145, 0); // unnamed: the design name "0" stays
        f.Text26.KeyDown(27, 0);
        f.Command7.Click();
        f.Command10.Click();
        f.Command8.Click();
        f.Command8.Click(); // locked and unlocked again
        s.app->Unload(UnloadReason::UserQuit);
    }
    EXPECT_EQ(s.Read("Gamma", "lockkeys"), "1");
    EXPECT_EQ(s.Read("Digital Vibrance", "lockkeys"), "0");
    EXPECT_EQ(s.Read("Volume", "lockkeys"), "1");

    Form1& f = s.Start().form1;
    ExpectLocks(f, {true, false, true});
    EXPECT_EQ(f.Text1.text, "Caps");
    EXPECT_EQ(f.Text12.text, "20");
    EXPECT_EQ(f.Text13.text, "145");
    EXPECT_EQ(f.Text26.text, "Escape");
    EXPECT_EQ(f.Text32.text, "27");

    // Locked groups keep their hotkeys working.
    f.Text36.text = f.Text37.text = "27";
    f.HScroll1.SetValue(20);
    s.sim.keyboard.Press(20);
    s.sim.keyboard.Press(145);
    s.sim.keyboard.Press(27);
    f.Timer1.Tick();
    EXPECT_EQ(f.HScroll1.Value(), 19);
    EXPECT_EQ(f.Label15.caption, "Unmute");
}

} // namespace
} // namespace lumatone

#include "display/gamma.h"
#include "hotkeys/poll.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

namespace lumatone {
namespace {

TEST(BoundKeyCode, OnlyWholeNumbersFrom1To255Bind) {
    for (const auto& [text, code] : {std::pair{"65", 65},
                                     {"1", 1},
                                     {"255", 255},
                                     {"065", 65},
                                     {"0", 0},
                                     {"", 0},
                                     {"256", 0},
                                     {"-65", 0},
                                     {"+65", 0},
                                     {" 65", 0},
                                     {"65 ", 0},
                                     {"x", 0},
                                     {"1e2", 0},
                                     {"99999999999999999999999", 0}}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(BoundKeyCode(text), code);
    }
}

// Pair i of the poll order is bound to the keys 65 + 2i and 66 + 2i.
class HotkeyPoll : public ::testing::Test {
  protected:
    void SetUp() override {
        f = &s.Start().form1;
        TextBox* codes[] = {&f->Text12, &f->Text13, &f->Text14, &f->Text15, &f->Text16, &f->Text24,
                            &f->Text17, &f->Text18, &f->Text19, &f->Text20, &f->Text21, &f->Text25,
                            &f->Text32, &f->Text33, &f->Text34, &f->Text35, &f->Text36, &f->Text37};
        for (int i = 0; i < 18; ++i)
            codes[i]->text = std::to_string(65 + i);
    }
    void Hold(std::size_t pair, bool down = true) {
        for (int k : {65 + 2 * static_cast<int>(pair), 66 + 2 * static_cast<int>(pair)})
            down ? s.sim.keyboard.Press(k) : s.sim.keyboard.Release(k);
    }
    void Sliders(int gamma, int vibrance, int volume) {
        f->HScroll1.SetValue(gamma);
        f->HScroll2.SetValue(vibrance);
        f->VScroll1.SetValue(volume);
    }
    // Everything an action can change.
    auto State() {
        return std::tuple(f->HScroll1.Value(), f->HScroll2.Value(), f->VScroll1.Value(),
                          f->Label15.caption, s.sim.screen.rampWrites.size(),
                          s.sim.launcher.launches.size(), s.sim.system.sleptMs);
    }
    static GammaRamp Ramp(std::int16_t position) {
        GammaRamp r;
        BuildGammaRamp(GammaForPosition(position), r);
        return r;
    }

    testing::SimApp s;
    Form1* f = nullptr;
};

TEST_F(HotkeyPoll, FiringFollowsBothBitsOfEachKey) {
    // Key events before the poll that counts: "+K" press, "~K" press and
    // release, "|" an earlier poll. Keys 17 and 90 are in no other pair.
    struct Case {
        const char *first, *second, *events;
        int fires;
    };
    const Case cases[] = {
        {"90", "90", "+90", 1},         // one key in both slots: down counts
        {"90", "90", "~90", 0},         // but not a press wholly between polls
        {"17", "90", "+90 +17", 1},     // two keys, any order
        {"17", "90", "~90 ~17 +88", 1}, // both pressed between polls, others held
        {"17", "90", "~17 +90", 1},     // one pressed, the other down
        {"17", "90", "~17 | +90", 0},   // a press a poll has seen no longer counts
        {"17", "90", "~90 | +17", 0},   // in either slot
        {"113", "90", "~113 +90", 0},   // F2 counts only while down
        {"113", "90", "+113 +90", 1},   // down, it does
        {"90", "0", "+90", 0},          // an unbound slot never fires
        {"0", "90", "+90", 0},          // in either place
        {"x", "90", "+90", 0},          // nor one holding no usable code
        {"90", "-90", "+90", 0},        // no sign
        {"256", "90", "+90", 0},        // no code beyond 255
    };
    auto& kb = s.sim.keyboard;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + "+" + c.second + ": " + c.events);
        f->HScroll1.SetValue(20);
        f->Text14.text = c.first;
        f->Text15.text = c.second;
        std::istringstream events(c.events);
        for (std::string e; events >> e;) {
            if (e == "|")
                f->Timer1.Tick();
            else if (e[0] == '+')
                kb.Press(std::stoi(e.substr(1)));
            else
                kb.Tap(std::stoi(e.substr(1)));
        }
        f->Timer1.Tick();
        EXPECT_EQ(f->HScroll1.Value() - 20, c.fires);
        for (int k = 0; k < 256; ++k)
            kb.Release(k);
        f->Timer1.Tick(); // every pressed-since bit is gone
    }
}

// With nothing bound a tick leaves the keyboard alone, and an F2 press from
// that time still does not count once a pair holding F2 is bound.
TEST_F(HotkeyPoll, NothingBoundAsksForNoKey) {
    for (const BindingGroup& group : f->BindingGroups())
        for (const BindingSlot& slot : group.slots)
            slot.code->text = "0";
    auto& kb = s.sim.keyboard;
    const std::uint64_t before = kb.queries;
    kb.Tap(113);
    f->Timer1.Tick();
    EXPECT_EQ(kb.queries, before);
    f->HScroll1.SetValue(20);
    f->Text14.text = "113";
    f->Text15.text = "90";
    kb.Press(90);
    f->Timer1.Tick();
    EXPECT_EQ(f->HScroll1.Value(), 20);
    EXPECT_GT(kb.queries, before);
}

// Ticks with no input since a quiet poll ask no key; whatever input or
// binding could change an answer makes the next poll ask them all again.
TEST_F(HotkeyPoll, IdleTicksAskNoKeyYetMissNoPress) {
    auto& kb = s.sim.keyboard;
    auto& now = s.sim.system.nowMs;
    Sliders(20, 50, 50);
    s.Advance(1000);
    std::uint64_t queries = kb.queries;
    s.Advance(1000);
    EXPECT_EQ(kb.queries, queries) << "idle";

    kb.Tap(67); // "Brighter", both keys tapped between two ticks
    kb.Tap(68);
    s.Advance(50);
    EXPECT_EQ(f->HScroll1.Value(), 21) << "a tap after an idle stretch";

    Hold(0); // "Darker" held with no further input
    s.Advance(500);
    Hold(0, false);
    EXPECT_EQ(f->HScroll1.Value(), 11) << "a pair held across ticks fires on each";

    // A tap stamped with the very millisecond the previous poll read.
    s.Advance(1000);
    kb.Input();
    f->Timer1.Tick();
    kb.Tap(67);
    kb.Tap(68);
    now += 50;
    f->Timer1.Tick();
    EXPECT_EQ(f->HScroll1.Value(), 12) << "a tap in the millisecond of the last look";

    // A poll cut short by a bound leaves the later pairs' taps for the next.
    f->HScroll1.SetValue(37);
    for (int k : {67, 68, 69, 70}) // "Brighter" at its end, then "Reset"
        kb.Tap(k);
    now += 200;
    f->Timer1.Tick();
    EXPECT_EQ(f->HScroll1.Value(), 37);
    now += 50;
    f->Timer1.Tick();
    EXPECT_EQ(f->HScroll1.Value(), kGammaResetPosition) << "taps the cut-short poll left";

    kb.Press(90); // held while unbound, then bound without further input
    s.Advance(1000);
    f->Text12.text = f->Text13.text = "90";
    s.Advance(50);
    EXPECT_EQ(f->HScroll1.Value(), kGammaResetPosition - 1) << "a binding changed while idle";
    kb.Release(90);

    s.Advance(1000);
    kb.failLastInputTime = true;
    kb.Tap(67);
    kb.Tap(68);
    s.Advance(50);
    EXPECT_EQ(f->HScroll1.Value(), kGammaResetPosition) << "no input time told";
    queries = kb.queries;
    s.Advance(1000);
    EXPECT_EQ(kb.queries - queries, 20u * 19u) << "without it every tick asks";
}

TEST_F(HotkeyPoll, EachActionStepsItsSliderAndAppliesTheValueAgain) {
    const std::string command = "RUNDLL32.exe NvCpl.dll,dtcfg setdvc all ";
    struct Case {
        const char* name;
        std::size_t pair;
        int gamma, vibrance, volume; // before
        int gammaAfter, vibranceAfter, volumeAfter;
        std::size_t ramps, launches;
    };
    const Case cases[] = {
        {"darker", 0, 10, 10, 10, 9, 10, 10, 2, 0},
        {"darker to 1", 0, 2, 10, 10, 1, 10, 10, 2, 0},
        {"brighter to 37", 1, 36, 10, 10, 37, 10, 10, 2, 0},
        {"gamma reset", 2, 10, 10, 10, 27, 10, 10, 2, 0},
        {"gamma reset at 27", 2, 27, 10, 10, 27, 10, 10, 1, 0},
        {"vibrance lower to 0", 3, 10, 2, 10, 10, 0, 10, 0, 2},
        {"vibrance higher to 100", 4, 10, 98, 10, 10, 100, 10, 0, 2},
        {"vibrance reset", 5, 10, 35, 10, 10, 0, 10, 0, 2},
        {"vibrance reset at 0", 5, 10, 0, 10, 10, 0, 10, 0, 1},
        {"volume lower to silence", 6, 10, 10, 95, 10, 10, 100, 0, 0},
        {"volume louder to full", 7, 10, 10, 5, 10, 10, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sliders(c.gamma, c.vibrance, c.volume);
        const std::size_t ramps = s.sim.screen.rampWrites.size();
        const std::size_t launches = s.sim.launcher.launches.size();
        f->Label1.caption = f->Label11.caption = "stale"; // the tick refreshes both
        Hold(c.pair);
        f->Timer1.Tick();
        Hold(c.pair, false);
        f->Timer1.Tick();
        EXPECT_EQ(f->HScroll1.Value(), c.gammaAfter);
        EXPECT_EQ(f->HScroll2.Value(), c.vibranceAfter);
        EXPECT_EQ(f->VScroll1.Value(), c.volumeAfter);
        EXPECT_EQ(f->Label1.caption, std::to_string(c.gammaAfter));
        EXPECT_EQ(f->Label11.caption, std::to_string(c.vibranceAfter));
        ASSERT_EQ(s.sim.screen.rampWrites.size() - ramps, c.ramps);
        for (std::size_t i = ramps; i < s.sim.screen.rampWrites.size(); ++i)
            EXPECT_EQ(s.sim.screen.rampWrites[i], Ramp(static_cast<std::int16_t>(c.gammaAfter)));
        ASSERT_EQ(s.sim.launcher.launches.size() - launches, c.launches);
        for (std::size_t i = launches; i < s.sim.launcher.launches.size(); ++i)
            EXPECT_EQ(s.sim.launcher.launches[i].commandLine,
                      command + std::to_string(c.vibranceAfter));
    }
}

TEST_F(HotkeyPoll, ReachedBoundEndsThePollSoLaterPairsDoNotFire) {
    struct Case {
        const char* name;
        std::size_t pair;
        int gamma, vibrance, volume;
    };
    for (const Case& c :
         {Case{"darker at 1", 0, 1, 50, 50}, Case{"darker at 0", 0, 0, 50, 50},
          Case{"brighter at 37", 1, 37, 50, 50}, Case{"vibrance lower at 1", 3, 20, 1, 50},
          Case{"vibrance higher at 99", 4, 20, 99, 50}, Case{"volume lower at 96", 6, 20, 50, 96},
          Case{"volume louder at 4", 7, 20, 50, 4}}) {
        SCOPED_TRACE(c.name);
        Sliders(c.gamma, c.vibrance, c.volume);
        for (std::size_t p = c.pair; p < 9; ++p)
            Hold(p);
        const auto before = State();
        f->Timer1.Tick();
        f->Timer1.Tick();
        EXPECT_EQ(State(), before);
        Hold(c.pair, false); // the later pairs do fire once the bound pair lets go
        f->Timer1.Tick();
        EXPECT_NE(State(), before);
        for (std::size_t p = c.pair; p < 9; ++p)
            Hold(p, false);
        f->Timer1.Tick();
    }
}

TEST_F(HotkeyPoll, DarkerAndBrighterTogetherBothRunInTableOrder) {
    f->HScroll1.SetValue(10);
    const std::size_t before = s.sim.screen.rampWrites.size();
    Hold(0);
    Hold(1);
    f->Timer1.Tick();
    EXPECT_EQ(f->HScroll1.Value(), 10);
    const auto& ramps = s.sim.screen.rampWrites;
    ASSERT_EQ(ramps.size(), before + 4);
    EXPECT_EQ(ramps[before + 1], Ramp(9));
    EXPECT_EQ(ramps[before + 3], Ramp(10));
}

TEST_F(HotkeyPoll, MuteSilencesTheMixerAndUnmuteRestoresTheVolume) {
    f->VScroll1.SetValue(30);
    s.Advance(200); // the volume poll agrees with the slider
    const std::uint32_t at70 = s.sim.mixer.Level();
    EXPECT_NEAR(at70, 0.70 * 65535, 1.0);
    const struct {
        int moveWhileMuted, slider;
        const char* label7;
        std::uint32_t level;
        const char* caption;
    } toggles[] = {{-1, 100, "0", 0, "Unmute"},
                   {-1, 30, "70", at70, "Mute"},
                   {-1, 100, "0", 0, "Unmute"},
                   {60, 30, "70", at70, "Mute"}};
    std::uint64_t slept = s.sim.system.sleptMs;
    for (const auto& t : toggles) {
        if (t.moveWhileMuted >= 0)
            f->VScroll1.SetValue(t.moveWhileMuted); // unmute still restores 30
        Hold(8);
        s.Advance(50);
        Hold(8, false);
        s.Advance(500); // the volume poll keeps what the toggle set
        EXPECT_EQ(f->VScroll1.Value(), t.slider);
        EXPECT_EQ(f->Label7.caption, t.label7);
        EXPECT_EQ(s.sim.mixer.Level(), t.level);
        EXPECT_EQ(f->Label15.caption, t.caption);
        EXPECT_EQ(s.sim.system.sleptMs - slept, 150u);
        slept = s.sim.system.sleptMs;
    }
}

} // namespace
} // namespace lumatone

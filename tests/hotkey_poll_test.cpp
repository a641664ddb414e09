#include "display/gamma.h"
#include "display/vibrance.h"
#include "hotkeys/poll.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

namespace lumatone {
namespace {

TEST(BoundKeyCode, OnlyWholeNumbersFrom1To255Bind) {
    struct Case {
        const char* text;
        std::int32_t code;
    };
    for (const Case& c : {Case{"65", 65}, Case{"1", 1}, Case{"255", 255}, Case{"065", 65},
                          Case{"0", 0}, Case{"", 0}, Case{"256", 0}, Case{"-65", 0}, Case{"+65", 0},
                          Case{" 65", 0}, Case{"65 ", 0}, Case{"6 5", 0}, Case{"x", 0},
                          Case{"A", 0}, Case{"1e2", 0}, Case{"65.0", 0},
                          Case{"99999999999999999999999", 0}, Case{"0000000000000000000065", 65}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(BoundKeyCode(c.text), c.code);
    }
}

// The nine pairs in poll order, each bound to two keys of its own.
class HotkeyPoll : public ::testing::Test {
  protected:
    void SetUp() override { f = &s.Start().form1; }

    std::array<std::array<TextBox*, 2>, 9> Pairs() {
        return {{{&f->Text12, &f->Text13},
                 {&f->Text14, &f->Text15},
                 {&f->Text16, &f->Text24},
                 {&f->Text17, &f->Text18},
                 {&f->Text19, &f->Text20},
                 {&f->Text21, &f->Text25},
                 {&f->Text32, &f->Text33},
                 {&f->Text34, &f->Text35},
                 {&f->Text36, &f->Text37}}};
    }
    static int KeyOf(std::size_t pair, int which) {
        return 65 + static_cast<int>(pair) * 2 + which;
    }
    void BindAll() {
        auto pairs = Pairs();
        for (std::size_t i = 0; i < pairs.size(); ++i)
            for (int k = 0; k < 2; ++k)
                pairs[i][static_cast<std::size_t>(k)]->text = std::to_string(KeyOf(i, k));
    }
    void Hold(std::size_t pair) {
        s.sim.keyboard.Press(KeyOf(pair, 0));
        s.sim.keyboard.Press(KeyOf(pair, 1));
    }
    void Release(std::size_t pair) {
        s.sim.keyboard.Release(KeyOf(pair, 0));
        s.sim.keyboard.Release(KeyOf(pair, 1));
    }
    void Tick() { f->Timer1.Tick(); }

    // Everything an action can change.
    struct Snapshot {
        std::int16_t gamma, vibrance, volume;
        std::string muteCaption;
        std::size_t rampWrites, launches;
        std::uint64_t slept;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Take() {
        return {f->HScroll1.Value(),
                f->HScroll2.Value(),
                f->VScroll1.Value(),
                f->Label15.caption,
                s.sim.screen.rampWrites.size(),
                s.sim.launcher.launches.size(),
                s.sim.system.sleptMs};
    }

    testing::SimApp s;
    Form1* f = nullptr;
};

TEST_F(HotkeyPoll, TickRefreshesBothReadouts) {
    f->HScroll1.SetValue(12);
    f->HScroll2.SetValue(40);
    f->Label1.caption = "stale";
    f->Label11.caption = "stale";
    Tick();
    EXPECT_EQ(f->Label1.caption, "12");
    EXPECT_EQ(f->Label11.caption, "40");
}

TEST_F(HotkeyPoll, SameKeyInBothSlotsFiresWhileDownNotOnAPressBetweenPolls) {
    f->HScroll1.SetValue(20);
    f->Text14.text = f->Text15.text = "65";
    auto& kb = s.sim.keyboard;

    kb.Tap(65); // wholly between polls: the first query eats the press
    Tick();
    EXPECT_EQ(f->HScroll1.Value(), 20);

    kb.Press(65);
    Tick();
    Tick();
    EXPECT_EQ(f->HScroll1.Value(), 22); // no debounce: every tick while held
    kb.Release(65);
    Tick();
    EXPECT_EQ(f->HScroll1.Value(), 22);
}

TEST_F(HotkeyPoll, TwoKeysPressedBetweenPollsFireOnceInAnyOrder) {
    f->HScroll1.SetValue(20);
    f->Text14.text = "17";
    f->Text15.text = "65";
    auto& kb = s.sim.keyboard;

    kb.Tap(65);
    kb.Tap(17);
    kb.Press(90); // other keys held do not matter
    Tick();
    EXPECT_EQ(f->HScroll1.Value(), 21);
    Tick(); // both presses were consumed
    EXPECT_EQ(f->HScroll1.Value(), 21);

    // A key pressed and gone no longer counts once a poll has passed, whichever
    // slot it is in: every poll queries both slots, even when the first is up.
    for (const auto& [early, late] : {std::pair{17, 65}, std::pair{65, 17}}) {
        SCOPED_TRACE(early);
        kb.Tap(early);
        Tick();
        kb.Press(late);
        Tick();
        kb.Release(late);
        Tick();
        EXPECT_EQ(f->HScroll1.Value(), 21);
    }
}

TEST_F(HotkeyPoll, F2CountsOnlyWhileDown) {
    f->HScroll1.SetValue(20);
    f->Text14.text = "113";
    f->Text15.text = "65";
    auto& kb = s.sim.keyboard;

    kb.Tap(113);
    kb.Press(65);
    Tick();
    EXPECT_EQ(f->HScroll1.Value(), 20);

    kb.Press(113);
    Tick();
    EXPECT_EQ(f->HScroll1.Value(), 21);
}

TEST_F(HotkeyPoll, UnboundOrUnusableSlotNeverFires) {
    f->HScroll1.SetValue(20);
    s.sim.keyboard.Press(65);
    for (const char* other : {"0", "", "x", "-65", "256", "65x", "1e1"}) {
        SCOPED_TRACE(other);
        for (int order = 0; order < 2; ++order) {
            f->Text14.text = order == 0 ? "65" : other;
            f->Text15.text = order == 0 ? other : "65";
            Tick();
            EXPECT_EQ(f->HScroll1.Value(), 20);
        }
    }
}

TEST_F(HotkeyPoll, EachActionStepsItsSliderAndAppliesItAgain) {
    BindAll();
    const std::string vibrance = "RUNDLL32.exe NvCpl.dll,dtcfg setdvc all ";
    struct Case {
        const char* name;
        std::size_t pair;
        std::int16_t gamma, vibrance, volume; // before
        std::int16_t gammaAfter, vibranceAfter, volumeAfter;
        std::size_t rampWrites, launches;
    };
    const Case cases[] = {
        {"darker", 0, 10, 10, 10, 9, 10, 10, 2, 0},
        {"brighter", 1, 10, 10, 10, 11, 10, 10, 2, 0},
        {"darker to 1", 0, 2, 10, 10, 1, 10, 10, 2, 0},
        {"brighter to 37", 1, 36, 10, 10, 37, 10, 10, 2, 0},
        {"gamma reset", 2, 10, 10, 10, 27, 10, 10, 2, 0},
        {"gamma reset at 27", 2, 27, 10, 10, 27, 10, 10, 1, 0},
        {"vibrance lower", 3, 10, 10, 10, 10, 8, 10, 0, 2},
        {"vibrance lower to 0", 3, 10, 2, 10, 10, 0, 10, 0, 2},
        {"vibrance higher", 4, 10, 10, 10, 10, 12, 10, 0, 2},
        {"vibrance higher to 100", 4, 10, 98, 10, 10, 100, 10, 0, 2},
        {"vibrance reset", 5, 10, 35, 10, 10, 0, 10, 0, 2},
        {"vibrance reset at 0", 5, 10, 0, 10, 10, 0, 10, 0, 1},
        {"volume lower", 6, 10, 10, 10, 10, 10, 15, 0, 0},
        {"volume lower to silence", 6, 10, 10, 95, 10, 10, 100, 0, 0},
        {"volume louder", 7, 10, 10, 10, 10, 10, 5, 0, 0},
        {"volume louder to full", 7, 10, 10, 5, 10, 10, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f->HScroll1.SetValue(c.gamma);
        f->HScroll2.SetValue(c.vibrance);
        f->VScroll1.SetValue(c.volume);
        const Snapshot before = Take();
        Hold(c.pair);
        Tick();
        Release(c.pair);
        Tick();
        EXPECT_EQ(f->HScroll1.Value(), c.gammaAfter);
        EXPECT_EQ(f->HScroll2.Value(), c.vibranceAfter);
        EXPECT_EQ(f->VScroll1.Value(), c.volumeAfter);
        EXPECT_EQ(f->Label1.caption, std::to_string(c.gammaAfter));
        EXPECT_EQ(f->Label11.caption, std::to_string(c.vibranceAfter));

        const auto& ramps = s.sim.screen.rampWrites;
        ASSERT_EQ(ramps.size() - before.rampWrites, c.rampWrites);
        GammaRamp expected;
        BuildGammaRamp(GammaForPosition(c.gammaAfter), expected);
        for (std::size_t i = before.rampWrites; i < ramps.size(); ++i)
            EXPECT_EQ(ramps[i], expected);

        const auto& launches = s.sim.launcher.launches;
        ASSERT_EQ(launches.size() - before.launches, c.launches);
        for (std::size_t i = before.launches; i < launches.size(); ++i)
            EXPECT_EQ(launches[i].commandLine, vibrance + std::to_string(c.vibranceAfter));
    }
}

TEST_F(HotkeyPoll, ReachedBoundEndsThePollSoLaterPairsDoNotFire) {
    BindAll();
    struct Case {
        const char* name;
        std::size_t pair;
        std::int16_t gamma, vibrance, volume;
    };
    const Case cases[] = {
        {"darker at 1", 0, 1, 50, 50},
        {"darker at 0", 0, 0, 50, 50},
        {"brighter at 37", 1, 37, 50, 50},
        {"vibrance lower at 1", 3, 20, 1, 50},
        {"vibrance lower at 0", 3, 20, 0, 50},
        {"vibrance higher at 99", 4, 20, 99, 50},
        {"vibrance higher at 100", 4, 20, 100, 50},
        {"volume lower at 96", 6, 20, 50, 96},
        {"volume lower at 100", 6, 20, 50, 100},
        {"volume louder at 4", 7, 20, 50, 4},
        {"volume louder at 0", 7, 20, 50, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f->HScroll1.SetValue(c.gamma);
        f->HScroll2.SetValue(c.vibrance);
        f->VScroll1.SetValue(c.volume);
        for (std::size_t p = c.pair; p < 9; ++p)
            Hold(p);
        const Snapshot before = Take();
        Tick();
        Tick();
        EXPECT_EQ(Take(), before);

        // The later pairs do fire once the bound pair lets go.
        Release(c.pair);
        Tick();
        EXPECT_NE(Take(), before);
        for (std::size_t p = c.pair + 1; p < 9; ++p)
            Release(p);
        Tick();
    }
}

TEST_F(HotkeyPoll, DarkerAndBrighterTogetherBothRunInOrder) {
    BindAll();
    f->HScroll1.SetValue(10);
    const std::size_t before = s.sim.screen.rampWrites.size();
    Hold(0);
    Hold(1);
    Tick();
    EXPECT_EQ(f->HScroll1.Value(), 10);
    const auto& ramps = s.sim.screen.rampWrites;
    ASSERT_EQ(ramps.size(), before + 4);
    GammaRamp at9, at10;
    BuildGammaRamp(GammaForPosition(9), at9);
    BuildGammaRamp(GammaForPosition(10), at10);
    EXPECT_EQ(ramps[before], at9);
    EXPECT_EQ(ramps[before + 1], at9);
    EXPECT_EQ(ramps[before + 2], at10);
    EXPECT_EQ(ramps[before + 3], at10);
}

TEST_F(HotkeyPoll, MuteTogglesAroundTheSliderAndWaits) {
    BindAll();
    f->VScroll1.SetValue(30);
    Hold(8);
    Tick();
    Release(8);
    EXPECT_EQ(f->VScroll1.Value(), 100);
    EXPECT_EQ(f->Label15.caption, "Unmute");
    EXPECT_EQ(s.app->hotkeys.VolumeBeforeMute(), 30);
    EXPECT_EQ(s.sim.system.sleptMs, 150u);

    f->VScroll1.SetValue(60); // moved while muted: unmute still restores 30
    Hold(8);
    Tick();
    Release(8);
    EXPECT_EQ(f->VScroll1.Value(), 30);
    EXPECT_EQ(f->Label15.caption, "Mute");
    EXPECT_EQ(s.sim.system.sleptMs, 300u);

    Tick();
    EXPECT_EQ(s.sim.system.sleptMs, 300u);
}

} // namespace
} // namespace lumatone

namespace lumatone {
namespace {

TEST(HotkeyMute, MutesTheMixerAndUnmuteRestoresTheVolume) {
    testing::SimApp s;
    Form1& f = s.Start().form1;
    auto& mixer = s.sim.mixer;
    f.Text36.text = "77";
    f.Text37.text = "77";
    f.VScroll1.SetValue(30);
    s.Advance(200); // the volume poll agrees with the slider
    ASSERT_EQ(f.VScroll1.Value(), 30);
    const std::uint32_t at70 = mixer.Level();
    EXPECT_NEAR(at70, 0.70 * 65535, 1.0);

    s.sim.keyboard.Press(77);
    s.Advance(50);
    s.sim.keyboard.Release(77);
    EXPECT_EQ(f.VScroll1.Value(), 100);
    EXPECT_EQ(f.Label7.caption, "0");
    EXPECT_EQ(mixer.Level(), 0u);
    s.Advance(500); // stays muted: the volume poll reads silence back
    EXPECT_EQ(f.Label15.caption, "Unmute");
    EXPECT_EQ(f.VScroll1.Value(), 100);

    s.sim.keyboard.Press(77);
    s.Advance(50);
    s.sim.keyboard.Release(77);
    EXPECT_EQ(f.VScroll1.Value(), 30);
    EXPECT_EQ(f.Label7.caption, "70");
    EXPECT_EQ(mixer.Level(), at70);
    EXPECT_EQ(f.Label15.caption, "Mute");
}

} // namespace
} // namespace lumatone

// The slider's ramp on every display: refusals told, outside resets undone,
// and a program that keeps overwriting it left alone until the user acts.
#include "display/gamma.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

namespace lumatone {
namespace {

using Answer = SimScreen::Answer;
constexpr std::uint64_t kTimer2 = 1500;

GammaRamp RampFor(std::int16_t position) {
    GammaRamp r;
    BuildGammaRamp(GammaForPosition(position), r);
    return r;
}

class GammaKeeping : public ::testing::Test {
  protected:
    // Started with a second display and the stored position, if any.
    App& Start(const char* lastgamma = nullptr) {
        screen.AddDisplay();
        if (lastgamma != nullptr)
            s.Write("Gamma", "lastgamma", lastgamma);
        return s.Start();
    }
    std::uint64_t Writes() {
        std::uint64_t n = 0;
        for (const auto& d : screen.displays)
            n += d.writes;
        return n;
    }
    std::string Note() { return s.form().GammaNote.caption; }

    testing::SimApp s;
    SimScreen& screen = s.sim.screen;
};

TEST_F(GammaKeeping, EveryDisplayFollowsTheSliderAndOneThatDoesNotTakeItIsNamed) {
    App& app = Start();
    auto& second = screen.displays[1];
    app.form1.HScroll1.SetValue(20);
    EXPECT_EQ(screen.displays[0].ramp, RampFor(20));
    EXPECT_EQ(second.ramp, RampFor(20));
    EXPECT_EQ(Note(), "");

    const std::string named = std::string(kNoteGammaRefused) + ": DISPLAY2";
    for (Answer answer : {Answer::Refuses, Answer::Ignores}) {
        SCOPED_TRACE(static_cast<int>(answer));
        second.answer = answer;
        app.form1.HScroll1.SetValue(app.form1.HScroll1.Value() + 1);
        EXPECT_EQ(screen.displays[0].ramp, RampFor(app.form1.HScroll1.Value()));
        EXPECT_EQ(second.ramp, RampFor(20));
        EXPECT_EQ(Note(), named);
        EXPECT_EQ(app.form1.Label1.caption, std::to_string(app.form1.HScroll1.Value()));
        // Timer2 leaves a display alone that never held the ramp.
        s.Advance(kTimer2 * 4);
        EXPECT_EQ(Note(), named);
    }

    // A driver keeping 8 bits of each entry holds the ramp all the same.
    second.answer = Answer::Takes;
    second.keptBits = 8;
    app.form1.HScroll1.SetValue(30);
    EXPECT_EQ(Note(), "");
    EXPECT_EQ(screen.contextsOutstanding, 0);

    app.Unload(UnloadReason::UserQuit);
    EXPECT_EQ(s.Read("Gamma", "lastgamma"), "30");
}

// Windows 10 from 1903 refuses the whole screen of an extended desktop while
// the primary's own context works; a driver may also take it without applying it.
TEST_F(GammaKeeping, WhereTheWholeScreenFailsThePrimaryGetsTheRampThroughItsOwnContext) {
    for (Answer whole : {Answer::Refuses, Answer::Ignores}) {
        SCOPED_TRACE(static_cast<int>(whole));
        testing::SimApp fresh;
        fresh.sim.screen.wholeScreen = whole;
        fresh.sim.screen.AddDisplay();
        fresh.Write("Gamma", "lastgamma", "27");
        App& app = fresh.Start();
        auto& displays = fresh.sim.screen.displays;
        EXPECT_EQ(displays[0].ramp, RampFor(27));
        EXPECT_EQ(displays[1].ramp, RampFor(27));
        app.form1.HScroll1.SetValue(30);
        EXPECT_EQ(displays[0].ramp, RampFor(30));
        EXPECT_EQ(displays[1].ramp, RampFor(30));
        EXPECT_EQ(fresh.form().GammaNote.caption, "");

        displays[0].ramp = RampFor(5);
        fresh.Advance(kTimer2);
        EXPECT_EQ(displays[0].ramp, RampFor(30));
        fresh.Advance(kTimer2 * 4);
        EXPECT_EQ(fresh.form().GammaNote.caption, "");

        // Only a refusal of its own context is the primary's.
        displays[0].answer = Answer::Refuses;
        app.form1.HScroll1.SetValue(31);
        EXPECT_EQ(fresh.form().GammaNote.caption, std::string(kNoteGammaRefused) + ": DISPLAY1");
        EXPECT_EQ(fresh.sim.screen.contextsOutstanding, 0);
    }
}

TEST_F(GammaKeeping, OnASingleDisplayTheNoteNamesNoScreen) {
    App& app = s.Start();
    screen.displays[0].answer = Answer::Ignores;
    app.form1.HScroll1.SetValue(5);
    EXPECT_EQ(Note(), kNoteGammaRefused);
    EXPECT_EQ(app.form1.HScroll1.Value(), 5);
}

TEST_F(GammaKeeping, ARampResetFromOutsideIsBackWithinOneTimer2Tick) {
    Start("27");
    for (std::size_t reset : {0u, 1u}) {
        SCOPED_TRACE(reset);
        screen.displays[reset].ramp = SimScreen::LinearRamp();
        const std::uint64_t reads0 = screen.displays[0].readBacks;
        const std::uint64_t reads1 = screen.displays[1].readBacks;
        const std::uint64_t writes = Writes();
        s.Advance(kTimer2);
        EXPECT_EQ(screen.displays[reset].ramp, RampFor(27));
        // Only the display that lost it is written, and each is read once.
        EXPECT_EQ(Writes(), writes + 1);
        EXPECT_EQ(screen.displays[0].readBacks, reads0 + 1);
        EXPECT_EQ(screen.displays[1].readBacks, reads1 + 1);
        EXPECT_EQ(Note(), "");
    }
}

TEST_F(GammaKeeping, ThreeOverwritesWithinAMinuteAreLeftToTheOtherProgramUntilTheUserActs) {
    App& app = Start("27");
    auto overwriteAndTick = [&] {
        screen.displays[0].ramp = SimScreen::LinearRamp();
        s.Advance(kTimer2);
    };
    // Within a minute: two earlier ones more than a minute ago do not count.
    overwriteAndTick();
    overwriteAndTick();
    s.Advance(60000);
    overwriteAndTick();
    overwriteAndTick();
    EXPECT_EQ(screen.displays[0].ramp, RampFor(27));
    EXPECT_EQ(Note(), "");

    overwriteAndTick();
    EXPECT_EQ(screen.displays[0].ramp, SimScreen::LinearRamp());
    EXPECT_EQ(Note(), kNoteGammaTakenOver);
    // Given up, these only list the displays again: one plugged in meanwhile
    // gets the user's next ramp, one unplugged is not named.
    const std::uint64_t writes = Writes();
    s.Advance(kTimer2 * 5);
    screen.AddDisplay().answer = Answer::Refuses;
    app.OnResume();
    app.OnDisplayChange();
    app.OnSessionUnlock();
    EXPECT_EQ(Writes(), writes);
    EXPECT_EQ(Note(), kNoteGammaTakenOver);

    // Reset at the position the slider already has still takes the screen back.
    app.form1.Command3.Click();
    EXPECT_EQ(screen.displays[0].ramp, RampFor(27));
    EXPECT_EQ(screen.displays[1].ramp, RampFor(27));
    EXPECT_EQ(Note(), std::string(kNoteGammaRefused) + ": DISPLAY3");
    screen.displays.pop_back();
    overwriteAndTick();
    overwriteAndTick();
    overwriteAndTick();
    app.OnDisplayChange();
    app.form1.HScroll1.SetValue(28);
    EXPECT_EQ(screen.displays[0].ramp, RampFor(28));
    EXPECT_EQ(Note(), "");
    overwriteAndTick();
    EXPECT_EQ(screen.displays[0].ramp, RampFor(28));
}

// A colour-temperature tool re-writes its ramp every few seconds, forever.
TEST_F(GammaKeeping, APeriodicWriterIsLeftAloneWithinAMinuteAndThereAfter) {
    Start("27");
    std::uint64_t givenUpAt = 0, writesThen = 0;
    for (std::uint64_t ms = 3000; ms <= 600000; ms += 3000) {
        screen.displays[0].ramp = SimScreen::LinearRamp();
        s.Advance(3000);
        if (givenUpAt == 0 && Note() == kNoteGammaTakenOver) {
            givenUpAt = ms;
            writesThen = Writes();
        }
    }
    EXPECT_NE(givenUpAt, 0u);
    EXPECT_LE(givenUpAt, 60000u);
    EXPECT_EQ(Writes(), writesThen);
    EXPECT_EQ(Note(), kNoteGammaTakenOver);
}

// Docking: the system resets the ramp and a check sees it before the notice.
TEST_F(GammaKeeping, ResetsThatASystemNoticeExplainsAreNotAnotherProgramsOverwrites) {
    App& app = Start("27");
    for (int i = 0; i < 4; ++i) {
        screen.displays[0].ramp = SimScreen::LinearRamp();
        s.Advance(kTimer2);
        app.OnDisplayChange();
    }
    screen.displays[0].ramp = SimScreen::LinearRamp();
    s.Advance(kTimer2);
    EXPECT_EQ(screen.displays[0].ramp, RampFor(27));
    EXPECT_EQ(Note(), "");
}

// The lock screen has a ramp of its own; while it shows, nothing is read back.
TEST_F(GammaKeeping, ALockedSessionIsNotReadBackAndUnlockPutsTheRampBack) {
    App& app = Start("27");
    app.OnSessionLock();
    screen.lockScreenRamp = SimScreen::LinearRamp();
    for (auto& d : screen.displays)
        d.ramp = SimScreen::LinearRamp();
    const std::uint64_t writes = Writes();
    s.Advance(kTimer2 * 10);
    app.OnResume(); // woken at the lock screen
    EXPECT_EQ(Note(), "");
    screen.lockScreenRamp.reset();
    app.OnSessionUnlock();
    EXPECT_GT(Writes(), writes);
    EXPECT_EQ(screen.displays[0].ramp, RampFor(27));
    EXPECT_EQ(screen.displays[1].ramp, RampFor(27));
    s.Advance(kTimer2 * 3);
    EXPECT_EQ(Note(), "");
}

TEST_F(GammaKeeping, NothingIsWrittenOrReadBeforeTheFirstRamp) {
    for (const char* stored : {static_cast<const char*>(nullptr), "0"}) {
        SCOPED_TRACE(stored ? stored : "no settings");
        testing::SimApp fresh;
        if (stored != nullptr)
            fresh.Write("Gamma", "lastgamma", stored);
        App& app = fresh.Start();
        fresh.sim.screen.displays[0].ramp = RampFor(33); // someone else's
        fresh.Advance(kTimer2 * 4);
        app.OnDisplayChange();
        app.OnResume();
        app.OnSessionUnlock();
        EXPECT_TRUE(fresh.sim.screen.rampWrites.empty());
        EXPECT_EQ(fresh.sim.screen.displays[0].readBacks, 0u);
        EXPECT_EQ(fresh.sim.screen.displays[0].ramp, RampFor(33));
    }
}

TEST_F(GammaKeeping, DisplayChangeResumeAndUnlockEachWriteItOnceToEveryDisplay) {
    App& app = Start("27");
    const struct {
        const char* name;
        void (App::*event)();
    } events[] = {{"display change", &App::OnDisplayChange},
                  {"resume", &App::OnResume},
                  {"unlock", &App::OnSessionUnlock}};
    for (const auto& e : events) {
        SCOPED_TRACE(e.name);
        const std::uint64_t before0 = screen.displays[0].writes;
        const std::uint64_t before1 = screen.displays[1].writes;
        for (auto& d : screen.displays)
            d.ramp = SimScreen::LinearRamp();
        (app.*e.event)();
        EXPECT_EQ(screen.displays[0].writes, before0 + 1);
        EXPECT_EQ(screen.displays[1].writes, before1 + 1);
        EXPECT_EQ(screen.displays[0].ramp, RampFor(27));
        EXPECT_EQ(screen.displays[1].ramp, RampFor(27));
    }
    // A display plugged in gets the ramp with the change that announces it.
    screen.AddDisplay().answer = Answer::Refuses;
    app.OnDisplayChange();
    EXPECT_EQ(Note(), std::string(kNoteGammaRefused) + ": DISPLAY3");
    EXPECT_EQ(screen.contextsOutstanding, 0);
}

// A system that keeps ramps exactly, as the X server does: the identity set
// from outside is told from every position's ramp, the nearest one included.
class ExactOutput : public GammaOutput {
  public:
    std::vector<DisplayDevice> Displays() override { return {{"DUMMY0", true}}; }
    bool WriteRamp(const std::string&, const GammaRamp& r) override {
        ramp = r;
        return true;
    }
    bool ReadRamp(const std::string&, GammaRamp& r) override {
        r = ramp;
        return true;
    }
    GammaRamp ramp{};
};

TEST(GammaKeeperOnAnExactSystem, TheIdentitySetFromOutsideIsUndoneAtEveryPosition) {
    GammaRamp identity; // as xrandr --gamma 1:1:1 sets a 256-entry CRTC
    for (std::size_t i = 0; i < 768; ++i)
        identity[i] = static_cast<std::uint16_t>((i % 256) * 257);
    for (std::int16_t position = 0; position <= kGammaMaxPosition; ++position) {
        SCOPED_TRACE(position);
        ExactOutput output;
        GammaKeeper keeper(output);
        keeper.Write(position, true);
        ASSERT_EQ(output.ramp, RampFor(position));
        output.ramp = identity;
        keeper.Check();
        EXPECT_EQ(output.ramp, RampFor(position));
    }
}

// Xwayland takes and reads back any ramp without showing it: the note says
// so from the start, and the slider moves without writing anything.
TEST(GammaKeeperOnAnExactSystem, WhereRampsAreNotShownTheNoteSaysWhyAndNothingIsWritten) {
    class Unshown : public ExactOutput {
      public:
        std::string Unavailable() const override { return "The desktop keeps gamma to itself"; }
        bool WriteRamp(const std::string& d, const GammaRamp& r) override {
            ++writes;
            return ExactOutput::WriteRamp(d, r);
        }
        int writes = 0;
    } output;
    Form1 form;
    GammaControls controls(form, output);
    EXPECT_EQ(form.GammaNote.caption, "The desktop keeps gamma to itself");
    form.HScroll1.SetValue(20);
    controls.Apply(20);
    controls.Reapply();
    controls.Check();
    EXPECT_EQ(output.writes, 0);
    EXPECT_EQ(form.HScroll1.Value(), 20);
    EXPECT_EQ(form.GammaNote.caption, "The desktop keeps gamma to itself");
}

} // namespace
} // namespace lumatone

#include "app/exit_choice.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lumatone {
namespace {

enum class Outcome { Ask, Minimize, Quit };

const char* Name(Outcome o) {
    return o == Outcome::Ask ? "ask" : o == Outcome::Minimize ? "minimize" : "quit";
}

// Minimised and hidden, its tray menu offering Show.
void ExpectInTray(const App& app) {
    EXPECT_FALSE(app.form1.visible);
    EXPECT_EQ(app.form1.windowState, 1);
    EXPECT_TRUE(app.form1.mnuShow.visible);
    EXPECT_FALSE(app.form1.mnuHide.visible);
}

TEST(CloseButton, AsksUnlessTheStoredAnswerIsUsable) {
    struct Case {
        std::optional<std::string> saveanswer, minimizeonexit; // nullopt: not in the file
        Outcome outcome;
    };
    using O = Outcome;
    for (const Case& c :
         {Case{std::nullopt, std::nullopt, O::Ask}, Case{"0", "1", O::Ask}, Case{"2", "1", O::Ask},
          Case{"yes", "1", O::Ask}, Case{"70000", "1", O::Ask}, Case{"1", std::nullopt, O::Ask},
          Case{"1", "", O::Ask}, Case{"1", "1.0", O::Ask}, Case{"1", "1", O::Minimize},
          Case{"1", "01", O::Minimize}, Case{"01", " +1", O::Minimize}, Case{"1", "0", O::Quit},
          Case{"1", "2", O::Quit}, Case{"1", "-1", O::Quit},
          Case{"1", "00000000000000000001", O::Minimize}, Case{"1", "99999999999", O::Quit}}) {
        SCOPED_TRACE(c.saveanswer.value_or("<none>") + " / " + c.minimizeonexit.value_or("<none>"));
        testing::SimApp s;
        App& app = s.Start();
        if (c.saveanswer)
            s.Write("Exit Settings", "saveanswer", *c.saveanswer);
        if (c.minimizeonexit)
            s.Write("Exit Settings", "minimizeonexit", *c.minimizeonexit);
        app.form1.Command1.Click();

        Outcome got = app.Ended()         ? Outcome::Quit
                      : app.Form2Loaded() ? Outcome::Ask
                                          : Outcome::Minimize;
        ASSERT_EQ(Name(got), Name(c.outcome));
        if (got == Outcome::Quit) {
            EXPECT_FALSE(s.sim.shell.iconPresent);
            EXPECT_EQ(s.Read("Gamma", "lastgamma"), "0"); // shutdown saved the settings
            EXPECT_EQ(s.sim.runtime.endCalls, 1);
        } else {
            ExpectInTray(app);
            EXPECT_TRUE(s.sim.shell.iconPresent);
            if (got == Outcome::Ask) {
                EXPECT_TRUE(app.form2->visible);
            }
        }
    }
}

TEST(CloseButton, AnUnreadableSettingsFileAsks) {
    testing::SimApp s;
    App& app = s.Start();
    s.Write("Exit Settings", "saveanswer", "1");
    s.Write("Exit Settings", "minimizeonexit", "0");
    s.sim.files.failReads = true;
    app.form1.Command1.Click();
    EXPECT_FALSE(app.Ended());
    ASSERT_TRUE(app.Form2Loaded());
    EXPECT_TRUE(app.form2->visible);
}

TEST(ExitDialog, AnswersAreWrittenAnswerFirstThenActedOn) {
    for (bool minimize : {true, false}) {
        for (bool tick : {true, false}) {
            SCOPED_TRACE(std::string(minimize ? "Minimize" : "Quit") + (tick ? " ticked" : ""));
            testing::SimApp s;
            App& app = s.Start();
            app.form1.Command1.Click();
            ASSERT_TRUE(app.Form2Loaded());
            app.form2->Check1.value = tick ? 1 : 0;
            (minimize ? app.form2->Command1 : app.form2->Command2).Click();

            EXPECT_EQ(s.Read("Exit Settings", "minimizeonexit"), minimize ? "1" : "0");
            EXPECT_EQ(s.Read("Exit Settings", "saveanswer"), tick ? "1" : "0");
            EXPECT_EQ(app.Ended(), !minimize);
            if (minimize) {
                ExpectInTray(app);
                ASSERT_TRUE(app.Form2Loaded());
                EXPECT_FALSE(app.form2->visible);
            } else {
                EXPECT_FALSE(app.Form2Loaded());
                EXPECT_FALSE(s.sim.shell.iconPresent);
            }

            // The next "x" asks again only without the tick.
            if (minimize) {
                app.tray.ShowAction();
                app.form1.Command1.Click();
                EXPECT_EQ(app.form2->visible, !tick);
                ExpectInTray(app);
            }
        }
    }

    // With only one write getting through, it is the answer.
    testing::SimApp s;
    App& app = s.Start();
    app.form1.Command1.Click();
    s.sim.files.writesBeforeFailure = 1;
    app.form2->Command1.Click();
    EXPECT_EQ(s.Read("Exit Settings", "minimizeonexit"), "1");
    EXPECT_EQ(s.Read("Exit Settings", "saveanswer"), "");
}

TEST(ExitDialog, TickSurvivesMinimizeUntilTheNextShowing) {
    testing::SimApp s;
    App& app = s.Start();
    app.form1.Command1.Click();
    app.form2->Check1.value = 1;
    app.form2->Command1.Click();
    s.Write("Exit Settings", "saveanswer", "0"); // edited by hand
    app.tray.ShowAction();
    app.form1.Command1.Click();
    ASSERT_TRUE(app.form2->visible);
    EXPECT_EQ(app.form2->Check1.value, 1);
}

TEST(ExitDialog, NeverOutlivesTheMainWindow) {
    for (bool dialogShown : {true, false}) {
        for (bool systemClose : {true, false}) {
            SCOPED_TRACE(std::string(dialogShown ? "shown" : "hidden") +
                         (systemClose ? ", system closing" : ", tray Exit"));
            testing::SimApp s;
            App& app = s.Start();
            app.form1.Command1.Click();
            if (!dialogShown)
                app.form2->Command1.Click();
            const std::string exitSettings = s.Read("Exit Settings", "minimizeonexit");
            if (systemClose)
                app.Unload(UnloadReason::SystemClosing);
            else
                app.form1.mnuExit.Click();
            EXPECT_TRUE(app.Ended());
            EXPECT_FALSE(app.Form2Loaded());
            EXPECT_FALSE(s.sim.shell.iconPresent);
            EXPECT_EQ(s.sim.runtime.endCalls, 1);
            EXPECT_EQ(s.Read("Exit Settings", "minimizeonexit"), exitSettings);
        }
    }
}

TEST(MinimizeButton, HidesToTrayWithoutASecondIcon) {
    testing::SimApp s;
    App& app = s.Start();
    app.form1.Command2.Click();
    ExpectInTray(app);
    EXPECT_TRUE(s.sim.shell.iconPresent);
    int adds = 0;
    for (const auto& call : s.sim.shell.iconCalls)
        adds += call.message == kNimAdd && call.result;
    EXPECT_EQ(adds, 1);
}

} // namespace
} // namespace lumatone

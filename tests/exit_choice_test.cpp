#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lumatone {
namespace {

void ExpectInTray(const App& app, const SimShell& shell) {
    EXPECT_FALSE(app.form1.visible);
    EXPECT_EQ(app.form1.windowState, 1);
    EXPECT_TRUE(app.form1.mnuShow.visible && !app.form1.mnuHide.visible);
    EXPECT_TRUE(shell.iconPresent);
}

TEST(CloseButton, AsksUnlessTheStoredAnswerIsUsable) {
    struct Case {
        std::optional<std::string> saveanswer, minimizeonexit; // nullopt: not in the file
        char outcome;                                          // 'a'sk, 'm'inimise, 'q'uit
        bool unreadable = false;
    };
    const auto none = std::nullopt;
    for (const Case& c :
         {Case{none, none, 'a'}, Case{"0", "1", 'a'}, Case{"2", "1", 'a'}, Case{"yes", "1", 'a'},
          Case{"70000", "1", 'a'}, Case{"1", none, 'a'}, Case{"1", "1.0", 'a'}, Case{"1", "1", 'm'},
          Case{"01", " 01", 'm'}, Case{"1", "0", 'q'}, Case{"1", "2", 'q'},
          Case{"1", "99999999999", 'q'}, Case{"1", "0", 'a', true}}) {
        SCOPED_TRACE(c.saveanswer.value_or("-") + " / " + c.minimizeonexit.value_or("-"));
        testing::SimApp s;
        App& app = s.Start();
        if (c.saveanswer)
            s.Write("Exit Settings", "saveanswer", *c.saveanswer);
        if (c.minimizeonexit)
            s.Write("Exit Settings", "minimizeonexit", *c.minimizeonexit);
        s.sim.files.failReads = c.unreadable;
        app.form1.Command1.Click();

        const char got = app.Ended() ? 'q' : app.Form2Loaded() ? 'a' : 'm';
        ASSERT_EQ(got, c.outcome);
        if (got == 'q') {
            EXPECT_FALSE(s.sim.shell.iconPresent);
            EXPECT_EQ(s.Read("Gamma", "lastgamma"), "0"); // shutdown saved the settings
        } else {
            ExpectInTray(app, s.sim.shell);
            EXPECT_EQ(got == 'a', app.Form2Loaded() && app.form2->visible);
        }
    }
}

TEST(ExitDialog, WritesTheAnswerFirstThenTheTickThenActs) {
    for (int answer = 0; answer < 4; ++answer) {
        const bool minimize = answer & 1, tick = answer & 2;
        SCOPED_TRACE(std::string(minimize ? "Minimize" : "Quit") + (tick ? " ticked" : ""));
        testing::SimApp s;
        App& app = s.Start();
        app.form1.Command1.Click();
        app.form2->Check1.value = tick;
        (minimize ? app.form2->Command1 : app.form2->Command2).Click();
        EXPECT_EQ(s.Read("Exit Settings", "minimizeonexit"), minimize ? "1" : "0");
        EXPECT_EQ(s.Read("Exit Settings", "saveanswer"), tick ? "1" : "0");
        EXPECT_EQ(app.Ended(), !minimize);
        EXPECT_EQ(s.sim.shell.iconPresent, minimize);
        if (!minimize) {
            EXPECT_FALSE(app.Form2Loaded());
            continue;
        }
        ExpectInTray(app, s.sim.shell);
        EXPECT_FALSE(app.form2->visible);
        app.tray.ShowAction();
        app.form1.Command1.Click(); // asks again only without the tick
        EXPECT_EQ(app.form2->visible, !tick);
    }

    testing::SimApp s;
    App& app = s.Start();
    app.form1.Command1.Click();
    app.form2->Check1.value = 1;
    s.sim.files.writesBeforeFailure = 1;
    app.form2->Command1.Click();
    EXPECT_EQ(s.Read("Exit Settings", "minimizeonexit"), "1");
    EXPECT_EQ(s.Read("Exit Settings", "saveanswer"), "");
    app.tray.ShowAction();
    app.form1.Command1.Click();
    EXPECT_EQ(app.form2->Check1.value, 1); // kept while hidden
}

TEST(ExitDialog, NeverOutlivesTheMainWindow) {
    for (int way = 0; way < 4; ++way) {
        const bool hidden = way & 1, systemClose = way & 2;
        SCOPED_TRACE(way);
        testing::SimApp s;
        App& app = s.Start();
        app.form1.Command1.Click();
        if (hidden)
            app.form2->Command1.Click();
        if (systemClose)
            app.Unload(UnloadReason::SystemClosing);
        else
            app.form1.mnuExit.Click();
        EXPECT_TRUE(app.Ended() && !app.Form2Loaded() && !s.sim.shell.iconPresent);
        EXPECT_EQ(s.sim.runtime.endCalls, 1);
        EXPECT_EQ(s.Read("Exit Settings", "minimizeonexit"), hidden ? "1" : "");
    }
}

// "x" hides the main window while the dialog asks; closing the dialog
// unanswered must not leave it hidden with no icon to bring it back.
TEST(ExitDialog, ClosedUnansweredLeavesTheWindowWithinReach) {
    for (bool icon : {true, false}) {
        SCOPED_TRACE(icon ? "icon in the tray" : "shell refuses the icon");
        testing::SimApp s;
        s.sim.shell.failAdd = !icon;
        App& app = s.Start();
        app.form1.Command1.Click();
        ASSERT_TRUE(app.Form2Loaded());
        app.CloseForm2();
        EXPECT_FALSE(app.Form2Loaded());
        if (icon) {
            ExpectInTray(app, s.sim.shell);
            continue;
        }
        EXPECT_TRUE(app.form1.visible);
        s.sim.shell.failAdd = false;
        s.Advance(1500);
        ExpectInTray(app, s.sim.shell); // the close still asked for the tray
    }
}

TEST(MinimizeButton, HidesToTrayWithoutASecondIcon) {
    testing::SimApp s;
    App& app = s.Start();
    app.form1.Command2.Click();
    ExpectInTray(app, s.sim.shell);
    int adds = 0;
    for (const auto& call : s.sim.shell.iconCalls)
        adds += call.message == kNimAdd && call.result;
    EXPECT_EQ(adds, 1);
}

} // namespace
} // namespace lumatone

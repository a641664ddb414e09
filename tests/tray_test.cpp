#include "app/shell_tray_icon.h"
#include "app/tray.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace lumatone {
namespace {

using testing::SimApp;
using Captions = std::vector<std::string>;

TEST(TrayIconData, TipAlwaysEndsWithNulAndBlanksFillTheRest) {
    for (std::size_t length : {8u, 63u, 64u, 100u}) {
        SCOPED_TRACE(length);
        const std::string tip(length, 'T');
        const NotifyIconData d = MakeTrayIconData(0x1234, 0x5678, tip, kTrayCallbackMessage);
        EXPECT_EQ(d.cbSize, 88u);
        EXPECT_EQ(d.uID, 1u);
        EXPECT_EQ(d.uFlags, 7u);
        EXPECT_EQ(d.hWnd, 0x1234u);
        EXPECT_EQ(d.hIcon, 0x5678u);
        const std::size_t kept = std::min<std::size_t>(length, 63);
        EXPECT_EQ(std::strlen(d.szTip), kept);
        EXPECT_EQ(std::string(d.szTip, kept), tip.substr(0, kept));
        for (std::size_t i = kept + 1; i < sizeof d.szTip; ++i)
            ASSERT_EQ(d.szTip[i], ' ') << i;
    }
}

TEST(TrayEvents, OnlyDoubleClickAndRightReleaseAct) {
    SimApp s;
    App& app = s.Start();
    for (std::uint32_t e : {512u, 513u, 514u, 516u, 518u, 519u, 520u, 521u}) {
        s.trayIcon().OnCallback(e);
        EXPECT_TRUE(app.form1.visible) << e;
    }
    EXPECT_TRUE(s.sim.runtime.popups.empty());

    s.trayIcon().OnCallback(517);
    ASSERT_EQ(s.sim.runtime.popups.size(), 1u);
    EXPECT_EQ(s.sim.runtime.popups[0], (Captions{"&Hide", "&Exit"}));
}

TEST(TrayEvents, DoubleClickTogglesAndTheMenuFollows) {
    SimApp s;
    App& app = s.Start();
    s.trayIcon().OnCallback(kTrayLeftDoubleClick);
    EXPECT_FALSE(app.form1.visible);
    EXPECT_EQ(app.form1.windowState, 1);
    s.trayIcon().OnCallback(kTrayRightButtonUp);
    EXPECT_EQ(s.sim.runtime.popups.back(), (Captions{"&Show", "&Exit"}));

    s.trayIcon().OnCallback(kTrayLeftDoubleClick);
    EXPECT_TRUE(app.form1.visible);
    EXPECT_EQ(app.form1.windowState, 0);
    s.trayIcon().OnCallback(kTrayRightButtonUp);
    EXPECT_EQ(s.sim.runtime.popups.back(), (Captions{"&Hide", "&Exit"}));
}

TEST(TrayEvents, WindowMinimisedBySystemStaysMinimisedUntilShow) {
    SimApp s;
    App& app = s.Start();
    app.form1.windowState = 1; // show-desktop: visible but minimised
    for (int i = 0; i < 2; ++i) {
        s.trayIcon().OnCallback(kTrayLeftDoubleClick);
        EXPECT_TRUE(app.form1.visible);
        EXPECT_EQ(app.form1.windowState, 1);
        EXPECT_TRUE(app.form1.mnuShow.visible);
        EXPECT_FALSE(app.form1.mnuHide.visible);
    }
    s.sim.runtime.popupChoices = {0}; // "&Show"
    s.trayIcon().OnCallback(kTrayRightButtonUp);
    EXPECT_EQ(app.form1.windowState, 0);
    EXPECT_TRUE(app.form1.visible);
}

TEST(TrayEvents, DismissedMenuDoesNothingAndExitSavesAndEnds) {
    SimApp s;
    App& app = s.Start();
    s.sim.runtime.popupChoices = {-1, 1};
    s.trayIcon().OnCallback(kTrayRightButtonUp);
    EXPECT_FALSE(app.Ended());
    app.ShowForm2().visible = false;             // loaded and hidden
    s.trayIcon().OnCallback(kTrayRightButtonUp); // "&Exit"
    EXPECT_TRUE(app.Ended());
    EXPECT_FALSE(app.Form2Loaded());
    EXPECT_TRUE(s.HasIni());
    EXPECT_FALSE(s.sim.shell.iconPresent);
    // The last shell call removes the very icon start-up added.
    ASSERT_FALSE(s.sim.shell.iconCalls.empty());
    EXPECT_EQ(s.sim.shell.iconCalls.back().message, kNimDelete);
    EXPECT_EQ(s.sim.shell.iconCalls.back().data.uCallbackMessage, kTrayCallbackMessage);
}

TEST(TrayIcon, SecondAddIsRefusedAndTheIconKept) {
    SimApp s;
    App& app = s.Start();
    EXPECT_FALSE(app.tray.AddOwnIcon());
    EXPECT_TRUE(s.sim.shell.iconPresent);
}

TEST(TrayIcon, ComesBackAfterTheShellRestarts) {
    SimApp s;
    App& app = s.Start();
    app.tray.HideAction();
    s.sim.shell.iconPresent = false; // Explorer restarted and forgot it
    s.trayIcon().OnTaskbarCreated();
    EXPECT_TRUE(s.sim.shell.iconPresent);
    EXPECT_FALSE(app.form1.visible);

    // If the icon cannot come back, a hidden window is shown rather than lost.
    s.sim.shell.iconPresent = false;
    s.sim.shell.failAdd = true;
    s.trayIcon().OnTaskbarCreated();
    EXPECT_TRUE(app.form1.visible);
}

// At logon the shell may refuse the icon until the taskbar is ready. The
// window is then the only way back, so it stays on screen.
TEST(TrayIcon, RefusedIconKeepsTheWindowOnScreenUntilARetryBringsIt) {
    SimApp s;
    s.Write("Windows", "minimizeonstartup", "1");
    s.sim.shell.failAdd = true;
    App& app = s.Start();
    EXPECT_TRUE(app.form1.visible);

    app.form1.Command2.Click(); // "_"
    EXPECT_TRUE(app.form1.visible);
    app.form1.Command1.Click();  // "x" asks; Form2 is on screen meanwhile
    app.form2->Command1.Click(); // "Minimize"
    EXPECT_TRUE(app.form1.visible);
    s.Write("Exit Settings", "saveanswer", "1");
    app.form1.Command1.Click(); // "x" with the remembered minimise
    EXPECT_TRUE(app.form1.visible);

    s.Advance(30000);
    EXPECT_TRUE(app.form1.visible);
    s.sim.shell.failAdd = false; // the taskbar is up
    s.Advance(1500);
    EXPECT_TRUE(s.sim.shell.iconPresent);
    EXPECT_FALSE(app.form1.visible); // "Minimize on startup", now that it can come back
}

TEST(TrayIcon, RefusedIconIsTriedForTwoMinutesThenLeftToTaskbarCreated) {
    SimApp s;
    s.sim.shell.failAdd = true;
    s.Start();
    const auto adds = [&s] {
        return std::count_if(s.sim.shell.iconCalls.begin(), s.sim.shell.iconCalls.end(),
                             [](const SimShell::IconCall& c) { return c.message == kNimAdd; });
    };
    s.Advance(120000);
    EXPECT_EQ(adds(), 1 + kTrayAddRetries);
    s.Advance(60000);
    EXPECT_EQ(adds(), 1 + kTrayAddRetries);
}

} // namespace
} // namespace lumatone

#include "settings/regedit.h"
#include "settings/table.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <vector>

namespace lumatone {
namespace {

using testing::SimApp;

// A file as a user of the program would have it: every group bound.
void WriteBoundFile(SimApp& s) {
    s.Write("Windows", "loadonstartup", "0");
    s.Write("Windows", "minimizeonstartup", "0");
    s.Write("Gamma", "lastgamma", "20");
    const char* gammaCodes[] = {"hotkeylight1", "hotkeylight2", "hotkeydark1",
                                "hotkeydark2",  "hotkeyreset",  "hotkeyreset2"};
    const char* vibranceCodes[] = {"hotkeylower1",  "hotkeylower2", "hotkeyhigher1",
                                   "hotkeyhigher2", "hotkeyreset",  "hotkeyreset2"};
    const char* volumeCodes[] = {"hotkeylower1",  "hotkeylower2", "hotkeyhigher1",
                                 "hotkeyhigher2", "hotkeyreset1", "hotkeyreset2"};
    for (int i = 0; i < 6; ++i) {
        s.Write("Gamma", gammaCodes[i], std::to_string(112 + i));
        s.Write("Digital Vibrance", vibranceCodes[i], std::to_string(65 + i));
        s.Write("Volume", volumeCodes[i], std::to_string(97 + i));
    }
    s.Write("Gamma", "hotkeylight1name", "F1");
    s.Write("Digital Vibrance", "hotkeylower1name", "A");
    s.Write("Volume", "hotkeylower1name", "Npad1");
}

struct VersionRow {
    const char* name;
    OsVersionInfo version;
    bool vibranceShown;
    int height, frame4Top, line7Y, frame6Top;
    bool timer3;
    bool vibranceZeroed, volumeZeroed;
};

class StartupByVersion : public ::testing::TestWithParam<VersionRow> {};

TEST_P(StartupByVersion, AdaptsWindowHoldsCodesAndWritesThemBackUnchanged) {
    const VersionRow& row = GetParam();
    SimApp s;
    s.sim.system.version = row.version;
    WriteBoundFile(s);
    App& app = s.Start();
    Form1& f = app.form1;

    EXPECT_EQ(f.height, row.height);
    EXPECT_EQ(f.Frame3.visible, row.vibranceShown);
    EXPECT_EQ(f.Frame4.top, row.frame4Top);
    EXPECT_EQ(f.Line7.y1, row.line7Y);
    EXPECT_EQ(f.Line7.y2, row.line7Y);
    EXPECT_EQ(f.Frame6.top, row.frame6Top);
    EXPECT_TRUE(f.Frame6.visible);
    EXPECT_EQ(f.Line10.y1, 7320); // border lines never move
    EXPECT_EQ(f.Timer3.enabled, row.timer3);
    EXPECT_EQ(f.Text17.text, row.vibranceZeroed ? "0" : "65");
    EXPECT_EQ(f.Text25.text, row.vibranceZeroed ? "0" : "70");
    EXPECT_EQ(f.Text32.text, row.volumeZeroed ? "0" : "97");
    EXPECT_EQ(f.Text37.text, row.volumeZeroed ? "0" : "102");
    EXPECT_EQ(f.Text12.text, "112");
    EXPECT_EQ(f.Text5.text, "A"); // names are never held
    if (row.vibranceZeroed) {
        EXPECT_EQ(app.settings.HeldCodes(kVibranceGroup),
                  (std::array<std::int16_t, 6>{65, 66, 67, 68, 69, 70}));
    }

    app.Unload(UnloadReason::UserQuit);
    EXPECT_EQ(s.Read("Digital Vibrance", "hotkeylower1"), "65");
    EXPECT_EQ(s.Read("Digital Vibrance", "hotkeyreset2"), "70");
    EXPECT_EQ(s.Read("Volume", "hotkeylower1"), "97");
    EXPECT_EQ(s.Read("Volume", "hotkeyreset2"), "102");
    EXPECT_EQ(s.Read("Volume", "hotkeylower1name"), "Npad1");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StartupByVersion,
    ::testing::Values(
        VersionRow{"XP", {2, 5, 1}, true, 7335, 4200, 5760, 5880, true, false, false},
        VersionRow{"Vista", {2, 6, 0}, false, 5795, 2660, 4220, 4340, true, true, false},
        VersionRow{"Seven", {2, 6, 1}, false, 4235, 2660, 4220, 4340, false, true, true},
        VersionRow{"Ten", {2, 10, 0}, false, 4235, 2660, 4220, 4340, false, true, true},
        VersionRow{"Failed", {0, 0, 0}, false, 4235, 2660, 4220, 4340, false, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Startup, FirstStartWithNoFileLeavesDesignStateAndCreatesNothing) {
    SimApp s;
    App& app = s.Start();
    Form1& f = app.form1;
    EXPECT_FALSE(s.HasIni());
    EXPECT_EQ(f.HScroll1.Value(), 0);
    EXPECT_EQ(f.HScroll2.Value(), 0);
    EXPECT_TRUE(s.sim.screen.rampWrites.empty());
    EXPECT_TRUE(s.sim.launcher.launches.empty());
    EXPECT_EQ(f.Check1.value, 0);
    EXPECT_EQ(f.Check2.value, 0);
    EXPECT_EQ(f.Command7.caption, "Lock Hkeys");
    EXPECT_TRUE(f.visible);
    EXPECT_FALSE(f.mnuShow.visible);
    EXPECT_TRUE(f.mnuHide.visible);
    EXPECT_TRUE(s.sim.shell.iconPresent);
    EXPECT_EQ(std::string(s.sim.shell.icon.szTip), "Lumatone");
}

// What the session keeps from the program shows under the top groups for
// the whole session, unless that row says the settings file was unreadable.
TEST(Startup, TheSessionsNoteShowsUnderTheTopGroupsUnlessTheSettingsAreLost) {
    const char* note = "Wayland: global hotkeys need an X11 session";
    {
        SimApp s;
        s.sim.system.sessionNote = note;
        Form1& f = s.Start().form1;
        EXPECT_TRUE(f.SettingsNote.visible);
        EXPECT_EQ(f.SettingsNote.caption, note);
    }
    SimApp s;
    s.sim.system.sessionNote = note;
    s.Write("Gamma", "lastgamma", "5");
    s.sim.files.unreadable.insert(s.SettingsFile());
    Form1& f = s.Start().form1;
    EXPECT_TRUE(f.SettingsNote.visible);
    EXPECT_EQ(f.SettingsNote.caption, kNoteSettingsUnreadable);
}

TEST(Startup, EachDamagedKeyFallsBackOnItsOwn) {
    SimApp s;
    s.Write("Windows", "loadonstartup", "yes");
    s.Write("Windows", "minimizeonstartup", "1");
    s.Write("Gamma", "lastgamma", "99");       // beyond the slider
    s.Write("Gamma", "hotkeylight1", "70000"); // beyond 16 bits
    s.Write("Gamma", "hotkeylight2", "-3");    // no key has that code
    s.Write("Gamma", "hotkeydark1", "065");    // usable, normalised
    s.Write("Gamma", "hotkeydark2", "");       // empty
    s.Write("Gamma", "lockkeys", "1");
    s.Write("Digital Vibrance", "lastdigi", "12abc"); // not an integer
    s.Write("Digital Vibrance", "lockkeys", "2");
    s.Write("Volume", "lockkeys", "x");
    App& app = s.Start();
    Form1& f = app.form1;
    EXPECT_EQ(f.Check1.value, 0);
    EXPECT_EQ(f.Check2.value, 1);
    EXPECT_FALSE(f.visible); // minimised to the tray
    EXPECT_EQ(f.HScroll1.Value(), 0);
    EXPECT_TRUE(s.sim.screen.rampWrites.empty());
    EXPECT_EQ(f.Text12.text, "0");
    EXPECT_EQ(f.Text13.text, "0");
    EXPECT_EQ(f.Text14.text, "65");
    EXPECT_EQ(f.Text15.text, "0");
    EXPECT_EQ(f.Command7.caption, "Unlock Hkeys");
    EXPECT_FALSE(f.Text1.enabled);
    EXPECT_EQ(f.HScroll2.Value(), 0);
    EXPECT_TRUE(s.sim.launcher.launches.empty());
    EXPECT_EQ(f.Command8.caption, "Lock Hkeys");
    EXPECT_EQ(f.Command10.caption, "Lock Hkeys");

    app.Unload(UnloadReason::UserQuit);
    EXPECT_EQ(s.Read("Gamma", "hotkeydark1"), "65");
    EXPECT_EQ(s.Read("Gamma", "lockkeys"), "1");
}

TEST(Startup, RestoredPositionsApplyOnceAndVibranceStartsBeforeItsGroupIsHidden) {
    SimApp s;
    s.sim.system.SetVersion(2, 6, 1);
    s.Write("Gamma", "lastgamma", "27");
    s.Write("Digital Vibrance", "lastdigi", "57");
    App& app = s.Start();
    EXPECT_EQ(s.sim.screen.rampWrites.size(), 1u);
    EXPECT_EQ(app.form1.Label1.caption, "27");
    ASSERT_EQ(s.sim.launcher.launches.size(), 1u);
    EXPECT_EQ(s.sim.launcher.launches[0].commandLine, "RUNDLL32.exe NvCpl.dll,dtcfg setdvc all 57");
    EXPECT_FALSE(app.form1.Frame3.visible);
}

TEST(Startup, WindowHiddenBeforeShorteningComesBackShortened) {
    SimApp s;
    s.sim.system.SetVersion(2, 6, 1);
    s.Write("Windows", "minimizeonstartup", "1");
    App& app = s.Start();
    EXPECT_FALSE(app.form1.visible);
    s.trayIcon().OnCallback(kTrayLeftDoubleClick);
    EXPECT_TRUE(app.form1.visible);
    EXPECT_EQ(app.form1.windowState, 0);
    EXPECT_EQ(app.form1.height, 4235);
}

TEST(Shutdown, HeldCodesTheWindowCannotUseAreWrittenBackAsRead) {
    SimApp s;
    s.sim.system.SetVersion(2, 6, 1);
    s.Write("Digital Vibrance", "hotkeylower1", "300");
    s.Write("Volume", "hotkeyreset2", "-5");
    App& app = s.Start();
    app.Unload(UnloadReason::UserQuit);
    EXPECT_EQ(s.Read("Digital Vibrance", "hotkeylower1"), "300");
    EXPECT_EQ(s.Read("Volume", "hotkeyreset2"), "-5");
}

TEST(Shutdown, FirstShutdownWritesFourSectionsAnd43KeysInOrder) {
    SimApp s;
    App& app = s.Start();
    app.Unload(UnloadReason::UserQuit);
    std::istringstream in(s.IniText());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    const std::vector<std::string> expected = {
        "[Windows]",          "loadonstartup=0",    "minimizeonstartup=0", "[Gamma]",
        "lastgamma=0",        "hotkeylight1=0",     "hotkeylight2=0",      "hotkeylight1name=",
        "hotkeylight2name=",  "hotkeydark1=0",      "hotkeydark2=0",       "hotkeydark1name=",
        "hotkeydark2name=",   "hotkeyreset=0",      "hotkeyreset2=0",      "hotkeyresetname=",
        "hotkeyresetname2=",  "lockkeys=0",         "[Digital Vibrance]",  "lastdigi=0",
        "hotkeylower1=0",     "hotkeylower2=0",     "hotkeylower1name=",   "hotkeylower2name=",
        "hotkeyhigher1=0",    "hotkeyhigher2=0",    "hotkeyhigher1name=",  "hotkeyhigher2name=",
        "hotkeyreset=0",      "hotkeyreset2=0",     "hotkeyresetname=",    "hotkeyresetname2=",
        "lockkeys=0",         "[Volume]",           "hotkeylower1=0",      "hotkeylower2=0",
        "hotkeylower1name=",  "hotkeylower2name=",  "hotkeyhigher1=0",     "hotkeyhigher2=0",
        "hotkeyhigher1name=", "hotkeyhigher2name=", "hotkeyreset1=0",      "hotkeyreset2=0",
        "hotkeyreset1name=",  "hotkeyreset2name=",  "lockkeys=0"};
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(s.sim.shell.iconPresent);
    EXPECT_TRUE(app.Ended());
    EXPECT_EQ(s.sim.runtime.endCalls, 1);
}

TEST(Shutdown, EveryKeyRoundTripsToTheSameControlsOnEveryVersion) {
    for (OsVersionInfo v :
         {OsVersionInfo{2, 5, 1}, OsVersionInfo{2, 6, 0}, OsVersionInfo{2, 6, 1}}) {
        SCOPED_TRACE(v.minorVersion);
        SimApp first;
        first.sim.system.version = v;
        WriteBoundFile(first);
        first.Write("Windows", "loadonstartup", "1");
        first.Write("Gamma", "lockkeys", "1");
        first.Write("Volume", "lockkeys", "1");
        first.Write("Gamma", "hotkeyresetname2", "");
        App& a = first.Start();
        std::vector<std::string> texts;
        for (const Control* c : a.form1.Controls())
            if (auto* t = dynamic_cast<const TextBox*>(c))
                texts.push_back(t->text);
        a.Unload(UnloadReason::UserQuit);
        const std::string written = first.IniText();

        SimApp second;
        second.sim.system.version = v;
        second.IniText() = written;
        App& b = second.Start();
        std::size_t i = 0;
        for (const Control* c : b.form1.Controls())
            if (auto* t = dynamic_cast<const TextBox*>(c)) {
                EXPECT_EQ(t->text, texts[i++]) << t->name;
            }
        EXPECT_EQ(b.form1.HScroll1.Value(), 20);
        EXPECT_EQ(b.form1.Check1.value, 1);
        EXPECT_EQ(b.form1.Command7.caption, "Unlock Hkeys");
        EXPECT_EQ(b.form1.Command10.caption, "Unlock Hkeys");
        EXPECT_EQ(b.settings.HeldCodes(kVibranceGroup), a.settings.HeldCodes(kVibranceGroup));
        EXPECT_EQ(b.settings.HeldCodes(kVolumeGroup), a.settings.HeldCodes(kVolumeGroup));
        b.Unload(UnloadReason::UserQuit);
        EXPECT_EQ(second.IniText(), written);
    }
}

TEST(Shutdown, FileWithEveryKeyAwayFromItsDesignValueKeepsEveryValue) {
    for (OsVersionInfo v : {OsVersionInfo{2, 5, 1}, OsVersionInfo{2, 6, 1}}) {
        SCOPED_TRACE(v.minorVersion);
        SimApp s;
        s.sim.system.version = v;
        std::vector<std::string> values;
        for (std::size_t i = 0; i < kStartupSettingCount; ++i) {
            const Setting& row = kSettingsTable[i];
            switch (row.kind) {
            case SettingKind::Position:
                values.push_back(std::to_string(row.max - 1));
                break;
            case SettingKind::Code:
                values.push_back(std::to_string(100 + i));
                break;
            case SettingKind::Name:
                values.push_back("N" + std::to_string(i));
                break;
            default:
                values.push_back("1");
            }
            s.Write(row.section, row.key, values.back());
        }
        s.Start().Unload(UnloadReason::UserQuit);
        for (std::size_t i = 0; i < kStartupSettingCount; ++i)
            EXPECT_EQ(s.Read(kSettingsTable[i].section, kSettingsTable[i].key), values[i])
                << kSettingsTable[i].section << "/" << kSettingsTable[i].key;
    }
}

TEST(Shutdown, WritesBackExactlyTheGroupsStartupHeldEvenIfTheVersionAnswerChanges) {
    SimApp s;
    s.sim.system.SetVersion(2, 6, 0); // Vista: only vibrance held
    WriteBoundFile(s);
    App& app = s.Start();
    app.form1.Text32.text = "120";   // captured while running
    s.sim.system.failVersion = true; // would read "Failed" now
    app.Unload(UnloadReason::UserQuit);
    EXPECT_EQ(s.Read("Volume", "hotkeylower1"), "120");
    EXPECT_EQ(s.Read("Digital Vibrance", "hotkeylower1"), "65");
}

TEST(Shutdown, AutostartValueIsQuotedWithBlanksAndRemovedWhenUnticked) {
    struct Case {
        const char* folder;
        const char* expected;
    };
    for (const Case& c :
         {Case{"C:\\Program Files\\Lumatone", "\"C:\\Program Files\\Lumatone\\tool.exe\""},
          Case{"D:\\Tools", "D:\\Tools\\tool.exe"}, Case{"E:\\", "E:\\\\tool.exe"}}) {
        SCOPED_TRACE(c.folder);
        SimApp s;
        s.sim.system.programFolder = c.folder;
        s.sim.system.exeName = "tool";
        App& app = s.Start();
        app.form1.Check1.value = 1;
        app.Unload(UnloadReason::UserQuit);
        EXPECT_EQ(s.sim.registry.Get(kRunValuePath), c.expected);
    }

    SimApp s;
    s.sim.registry.WriteString(kRunValuePath, "C:\\old\\lumatone.exe");
    App& app = s.Start();
    app.Unload(UnloadReason::UserQuit);
    EXPECT_FALSE(s.sim.registry.ValueExists(kRunValuePath));
}

TEST(Shutdown, FailedSaveIsToldOnceOnAQuitNeverAtSystemShutdownAndKeepsTheOldFile) {
    for (UnloadReason reason : {UnloadReason::UserQuit, UnloadReason::SystemClosing}) {
        SimApp s;
        s.Write("Gamma", "lastgamma", "10");
        const std::string before = s.IniText();
        App& app = s.Start();
        app.form1.HScroll1.SetValue(30);
        s.sim.files.failWrites = true;
        app.Unload(reason);
        EXPECT_EQ(s.IniText(), before);
        EXPECT_EQ(app.saveFailurePath, s.SettingsFile());
        EXPECT_FALSE(s.sim.shell.iconPresent);
        EXPECT_TRUE(app.Ended());
        EXPECT_EQ(s.sim.shell.messageBoxes.size(), reason == UnloadReason::UserQuit ? 1u : 0u);
        if (!s.sim.shell.messageBoxes.empty()) {
            EXPECT_NE(s.sim.shell.messageBoxes[0].text.find(s.SettingsFile()), std::string::npos);
        }
    }
}

TEST(Shutdown, RunsExactlyOnce) {
    SimApp s;
    App& app = s.Start();
    app.Unload(UnloadReason::UserQuit);
    const auto writes = s.sim.files.writes;
    app.Unload(UnloadReason::SystemClosing);
    EXPECT_EQ(s.sim.files.writes, writes);
    EXPECT_EQ(s.sim.runtime.endCalls, 1);
}

} // namespace
} // namespace lumatone

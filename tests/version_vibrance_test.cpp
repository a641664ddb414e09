#include "display/vibrance.h"
#include "platform/sim/sim_launcher.h"
#include "platform/sim/sim_registry.h"
#include "platform/windows_version.h"
#include "settings/ini.h"
#include "settings/regedit.h"
#include "support/sim_app.h"

#include <gtest/gtest.h>

namespace lumatone {
namespace {

TEST(WindowsVersionName, CompleteTable) {
    struct Row {
        std::uint32_t platform, major, minor;
        const char* name;
    };
    for (const Row& r :
         {Row{1, 4, 0, "Windows 95"}, Row{1, 4, 10, "Windows 98"}, Row{1, 9, 10, "Windows 98"},
          Row{1, 4, 90, "Windows Millennium"}, Row{1, 4, 3, ""}, Row{2, 3, 51, "Windows NT 3.51"},
          Row{2, 4, 0, "Windows NT 4.0"}, Row{2, 5, 0, "Windows 2000"}, Row{2, 5, 1, "Windows XP"},
          Row{2, 5, 2, "Windows XP"}, Row{2, 6, 0, "Windows Vista"}, Row{2, 6, 1, "Windows 7"},
          Row{2, 6, 2, ""}, Row{2, 10, 0, ""}, Row{2, 7, 0, ""}, Row{0, 5, 1, "Failed"},
          Row{3, 10, 0, "Failed"}}) {
        SCOPED_TRACE(std::to_string(r.platform) + "/" + std::to_string(r.major) + "." +
                     std::to_string(r.minor));
        EXPECT_EQ(WindowsVersionName({r.platform, r.major, r.minor}), r.name);
    }
    SimSystem system;
    system.failVersion = true;
    EXPECT_EQ(WindowsVersionName(system), "Failed");
}

TEST(Registry, RunValueIsReplacedNotDuplicated) {
    SimRegistry registry;
    WriteRegValue(registry, kRunValuePath, "first");
    WriteRegValue(registry, kRunValuePath, "second");
    EXPECT_EQ(registry.values.size(), 1u);
    EXPECT_EQ(registry.Get(kRunValuePath), "second");
    registry.failWrites = true;
    WriteRegValue(registry, kRunValuePath, "third"); // returns normally, changes nothing
    EXPECT_EQ(registry.Get(kRunValuePath), "second");
}

TEST(Vibrance, CommandLines) {
    EXPECT_EQ(VibranceCommandLine(0), "RUNDLL32.exe NvCpl.dll,dtcfg setdvc all 0");
    EXPECT_EQ(VibranceCommandLine(57), "RUNDLL32.exe NvCpl.dll,dtcfg setdvc all 57");
    EXPECT_EQ(VibranceCommandLine(100), "RUNDLL32.exe NvCpl.dll,dtcfg setdvc all 100");
}

TEST(Vibrance, RunnerComesFromTheSystemFolderByFullPath) {
    SimLauncher launcher;
    EXPECT_TRUE(RunVibranceCommand(launcher, 5));
    ASSERT_EQ(launcher.launches.size(), 1u);
    EXPECT_EQ(launcher.launches[0].program, "C:\\WINDOWS\\system32\\rundll32.exe");
    EXPECT_EQ(launcher.launches[0].workingFolder, "C:\\WINDOWS\\system32");
    EXPECT_EQ(launcher.launches[0].showCommand, 2);
    EXPECT_EQ(launcher.launches[0].commandLine, "RUNDLL32.exe NvCpl.dll,dtcfg setdvc all 5");

    launcher.systemFolder = ""; // unknown: start nothing rather than a search-path lookup
    EXPECT_FALSE(RunVibranceCommand(launcher, 5));
    EXPECT_EQ(launcher.launches.size(), 1u);
}

TEST(VibranceSlider, OneProcessPerChangeResetOnlyWhenAway) {
    testing::SimApp s;
    App& app = s.Start();
    auto& launches = s.sim.launcher.launches;
    app.form1.HScroll2.SetValue(1);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(app.form1.Label11.caption, "1");
    app.form1.HScroll2.SetValue(35);
    app.form1.Command4.Click();
    ASSERT_EQ(launches.size(), 3u);
    EXPECT_EQ(launches.back().commandLine, "RUNDLL32.exe NvCpl.dll,dtcfg setdvc all 0");
    EXPECT_EQ(app.form1.Label11.caption, "0");
    app.form1.Command4.Click();
    EXPECT_EQ(launches.size(), 3u);

    s.sim.launcher.failLaunch = true; // no applet: the slider still follows
    app.form1.HScroll2.SetValue(40);
    EXPECT_EQ(app.form1.Label11.caption, "40");
}

// A system that is not Windows names its own groups, its settings folder and
// how programs are started; the version name plays no part.
TEST(PosixSystem, GroupsSettingsVibranceAndAutostartFollowTheSystem) {
    testing::SimApp s;
    s.sim.system.failVersion = true; // "Failed": on Windows both groups would go
    s.sim.system.features = Features{true, true, SystemFamily::Posix};
    s.sim.system.separator = '/';
    s.sim.system.programFolder = "/opt/lumatone";
    s.sim.system.settingsFolder = "/home/u/.config/lumatone";
    s.sim.launcher.systemFolder = "/usr/bin";
    const std::string ini = "/home/u/.config/lumatone/settings.ini";
    WriteIni(s.sim.profile, "Windows", "loadonstartup", "1", ini);
    App& app = s.Start();
    EXPECT_TRUE(app.form1.Frame3.visible);
    EXPECT_TRUE(app.form1.Timer3.enabled);
    EXPECT_EQ(app.form1.Check1.value, 1);

    app.form1.HScroll2.SetValue(40);
    ASSERT_EQ(s.sim.launcher.launches.size(), 1u);
    EXPECT_EQ(s.sim.launcher.launches[0].program, "/usr/bin/nvidia-settings");
    EXPECT_EQ(s.sim.launcher.launches[0].commandLine, "nvidia-settings -a DigitalVibrance=40");

    app.Unload(UnloadReason::UserQuit);
    EXPECT_EQ(ReadIni(s.sim.profile, "Digital Vibrance", "lastdigi", ini), "40");
    EXPECT_EQ(s.sim.registry.Get(kRunValuePath), "/opt/lumatone/lumatone");
}

} // namespace
} // namespace lumatone

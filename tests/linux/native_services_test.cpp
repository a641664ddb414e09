// The services that need no desktop: gamma resampling, autostart entries,
// the launcher, the settings folder, and every service without a display.
#include "linux/linux_support.h"
#include "platform/linux/gamma_resample.h"
#include "platform/linux/linux_keyboard.h"
#include "platform/linux/linux_launcher.h"
#include "platform/linux/linux_registry.h"
#include "platform/linux/linux_screen.h"
#include "platform/linux/linux_system.h"
#include "platform/portable/std_file_store.h"
#include "settings/regedit.h"

#include <dirent.h>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace lumatone {
namespace {

using linux_test::Eventually;
using linux_test::ScopedEnv;
using linux_test::TempFolder;

std::vector<std::uint16_t> Resample(const std::vector<std::uint16_t>& from, std::size_t count) {
    std::vector<std::uint16_t> to(count);
    ResampleRamp(from.data(), from.size(), to.data(), count);
    return to;
}

TEST(GammaResample, StretchesAndShrinksKeepingEndsAndShape) {
    std::vector<std::uint16_t> ramp(256);
    for (std::size_t i = 0; i < 256; ++i)
        ramp[i] = static_cast<std::uint16_t>(i * i); // bent, to show interpolation
    ramp[255] = 65535;

    EXPECT_EQ(Resample(ramp, 256), ramp);
    const auto wide = Resample(ramp, 1024);
    EXPECT_EQ(wide.front(), 0);
    EXPECT_EQ(wide.back(), 65535);
    // Entry 341 of 1023 sits on entry 85 of 255; entry 1020 a little over a
    // quarter of the way up the last step (258/1023 of 1019, rounded).
    EXPECT_EQ(wide[341], 85 * 85);
    EXPECT_EQ(wide[1020], 254 * 254 + 257);
    // Back to 256 within the tolerance the gamma keeper allows a driver.
    const auto back = Resample(wide, 256);
    for (std::size_t i = 0; i < 256; ++i)
        EXPECT_NEAR(back[i], ramp[i], 512) << i;

    const auto narrow = Resample(ramp, 16);
    EXPECT_EQ(narrow[0], 0);
    EXPECT_EQ(narrow[5], 85 * 85); // 5 * 255 / 15 = 85 exactly
    EXPECT_EQ(narrow[15], 65535);
    EXPECT_EQ(Resample(ramp, 1), std::vector<std::uint16_t>{0});
}

class AutostartEntry : public ::testing::Test {
  protected:
    std::string EntryFile() const { return config.path() + "/autostart/lumatone.desktop"; }
    std::string Entry() const { return StdFileStore().Read(EntryFile()).value_or("<none>"); }

    TempFolder config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.path()};
    LinuxRegistry registry;
};

TEST_F(AutostartEntry, IsWrittenReplacedAndRemoved) {
    ASSERT_FALSE(registry.ValueExists(kRunValuePath));
    ASSERT_TRUE(registry.WriteString(kRunValuePath, "/opt/lumatone/lumatone"));
    EXPECT_TRUE(registry.ValueExists(kRunValuePath));
    EXPECT_EQ(Entry(), "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Lumatone\n"
                       "Exec=/opt/lumatone/lumatone\n"
                       "X-GNOME-Autostart-enabled=true\n");

    // The value as the core makes it for a path with a blank: quoted once, for
    // the Exec line's rules, with '%' doubled and the string escapes applied.
    const std::string program =
        AutostartCommand("/home/me/My Apps/50% $off", '/', "lumatone", SystemFamily::Posix);
    ASSERT_TRUE(registry.WriteString(kRunValuePath, program));
    EXPECT_NE(Entry().find("\nExec=\"/home/me/My Apps/50%% \\\\$off/lumatone\"\n"),
              std::string::npos)
        << Entry();
    // Replaced in one step: no temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(config.path() + "/autostart"),
                            std::filesystem::directory_iterator()),
              1);

    EXPECT_TRUE(registry.DeleteValue(kRunValuePath));
    EXPECT_FALSE(registry.ValueExists(kRunValuePath));
    EXPECT_FALSE(std::filesystem::exists(EntryFile()));
    EXPECT_FALSE(registry.DeleteValue(kRunValuePath));
}

TEST_F(AutostartEntry, ServesOnlyTheRunKeyAndSafeValues) {
    const std::string other = "HKEY_CURRENT_USER\\Software\\Lumatone\\Run\\Lumatone";
    EXPECT_FALSE(registry.WriteString(other, "/usr/bin/lumatone"));
    EXPECT_FALSE(registry.ValueExists(other));
    const std::string runKey =
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
    for (const char* name : {"..", "a/b", "a\\b", ""})
        EXPECT_FALSE(registry.WriteString(runKey + name, "/usr/bin/lumatone")) << name;
    // A relative program would start from wherever the session happens to be.
    EXPECT_FALSE(registry.WriteString(kRunValuePath, "lumatone"));
    EXPECT_FALSE(registry.WriteString(kRunValuePath, "/usr/bin/x\nHidden=true"));
    EXPECT_FALSE(std::filesystem::exists(config.path() + "/autostart/lumatone.desktop"));
}

TEST(AutostartEntryHome, FallsBackToTheHomeFolder) {
    TempFolder home;
    ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv homeEnv("HOME", home.path());
    LinuxRegistry registry;
    ASSERT_TRUE(registry.WriteString(kRunValuePath, "/usr/bin/lumatone"));
    EXPECT_TRUE(
        std::filesystem::is_regular_file(home.path() + "/.config/autostart/lumatone.desktop"));
}

// The states of this process's children ('Z' for one finished and not reaped).
std::vector<char> ChildStates() {
    std::vector<char> states;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr)
        return states;
    while (dirent* entry = ::readdir(proc)) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line))
            continue;
        // pid (name) state ppid: the name may hold blanks and parentheses.
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos || close + 4 > line.size())
            continue;
        char state = line[close + 2];
        const long parent = std::strtol(line.c_str() + close + 4, nullptr, 10);
        if (parent == ::getpid())
            states.push_back(state);
    }
    ::closedir(proc);
    return states;
}

bool AllChildrenFinished() {
    for (char state : ChildStates())
        if (state != 'Z')
            return false;
    return true;
}

TEST(Launcher, StartsByFullPathWithArgumentsInTheFolderAndLeavesNoZombies) {
    TempFolder folder;
    {
        LinuxLauncher launcher;
        // Blanks separate arguments; the first is the program's own name.
        ASSERT_TRUE(launcher.Launch("/usr/bin/touch", "touch  made\tsecond", folder.path(),
                                    kSwShowMinimized));
        EXPECT_TRUE(Eventually([&] {
            return std::filesystem::exists(folder.path() + "/made") &&
                   std::filesystem::exists(folder.path() + "/second");
        }));
        ASSERT_TRUE(Eventually(AllChildrenFinished));
        EXPECT_FALSE(ChildStates().empty());
        // The next launch reaps the finished one, even when it fails itself.
        EXPECT_FALSE(launcher.Launch("touch", "touch other", folder.path(), kSwShowNormal));
        EXPECT_TRUE(ChildStates().empty());

        EXPECT_FALSE(launcher.Launch("/usr/bin/no-such-program", "x", folder.path(), 1));
        EXPECT_FALSE(launcher.Launch("/usr/bin/touch", "touch x", folder.path() + "/missing", 1));
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "/other"));
        // No shell: its characters are plain arguments.
        ASSERT_TRUE(launcher.Launch("/usr/bin/touch", "touch a;b $HOME", folder.path(), 1));
        ASSERT_TRUE(Eventually(AllChildrenFinished));
        EXPECT_TRUE(std::filesystem::exists(folder.path() + "/a;b"));
        EXPECT_TRUE(std::filesystem::exists(folder.path() + "/$HOME"));
    }
    // The end reaps the rest.
    EXPECT_TRUE(ChildStates().empty());
    EXPECT_EQ(LinuxLauncher().SystemFolder(), "/usr/bin");
}

class FakeMixer : public Mixer {
  public:
    std::uint32_t GetNumDevs() override { return ++asked, devices; }
    std::uint32_t Open(MixerHandle&, std::uint32_t, std::uint32_t) override { return 1; }
    std::uint32_t GetLineInfo(MixerHandle, MixerLine&, std::uint32_t) override { return 1; }
    std::uint32_t GetLineControls(MixerHandle, MixerLineControls&, std::uint32_t) override {
        return 1;
    }
    std::uint32_t GetControlDetails(MixerHandle, MixerControlDetails&, std::uint32_t) override {
        return 1;
    }
    std::uint32_t SetControlDetails(MixerHandle, const MixerControlDetails&,
                                    std::uint32_t) override {
        return 1;
    }
    std::uint32_t Close(MixerHandle) override { return 1; }
    std::uint32_t devices = 1;
    int asked = 0;
};

TEST(LinuxSystemFacts, NamesTheProgramAndKeepsSettingsInTheConfigFolder) {
    FakeMixer mixer;
    LinuxSystem system(mixer);
    const std::string folder = std::filesystem::canonical("/proc/self/exe").parent_path();
    EXPECT_EQ(system.ProgramFolder(), folder);
    EXPECT_EQ(system.ExeName(), "lumatone_linux_tests");
    EXPECT_EQ(system.PathSeparator(), '/');
    OsVersionInfo version;
    EXPECT_FALSE(system.GetVersionEx(version));

    const Features features = system.GetFeatures();
    EXPECT_EQ(features.family, SystemFamily::Posix);
    EXPECT_TRUE(features.volume);
    mixer.devices = 0;
    EXPECT_TRUE(system.GetFeatures().volume); // asked once for the process
    EXPECT_EQ(mixer.asked, 1);

    TempFolder config;
    const std::string nested = config.path() + "/deeper/config";
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nested);
        EXPECT_EQ(system.SettingsFolder(), nested + "/lumatone");
        EXPECT_TRUE(std::filesystem::is_directory(nested + "/lumatone"));
        EXPECT_EQ(std::filesystem::status(nested + "/lumatone").permissions() &
                      std::filesystem::perms::all,
                  std::filesystem::perms::owner_all);
    }
    {
        TempFolder home;
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/ignored");
        ScopedEnv homeEnv("HOME", home.path());
        EXPECT_EQ(system.SettingsFolder(), home.path() + "/.config/lumatone");
    }
    {
        // A writable settings.ini beside the program makes it portable.
        ScopedEnv xdg("XDG_CONFIG_HOME", nested);
        const std::string beside = folder + "/settings.ini";
        ASSERT_FALSE(std::filesystem::exists(beside));
        std::ofstream(beside) << "[Gamma]\n";
        EXPECT_EQ(system.SettingsFolder(), folder);
        std::filesystem::permissions(beside, std::filesystem::perms::owner_read);
        if (::access(beside.c_str(), W_OK) != 0) { // root may write anyway
            EXPECT_EQ(system.SettingsFolder(), nested + "/lumatone");
        }
        std::filesystem::remove(beside);
    }
}

// Without a display every call fails cleanly instead of ending the program.
TEST(WithoutDisplay, ScreenAndKeyboardFailCleanly) {
    ScopedEnv display("DISPLAY", std::nullopt);
    LinuxScreen screen;
    EXPECT_EQ(screen.GetDC(0), 0u);
    EXPECT_EQ(screen.CreateDisplayDC("DUMMY0"), 0u);
    EXPECT_TRUE(screen.EnumDisplayDevices().empty());
    GammaRamp ramp{};
    EXPECT_FALSE(screen.SetDeviceGammaRamp(1, ramp));
    EXPECT_FALSE(screen.GetDeviceGammaRamp(1, ramp));
    EXPECT_EQ(screen.GetDeviceCaps(1, kHorzRes), 0);
    DevModeA mode;
    EXPECT_FALSE(screen.EnumDisplaySettings(kEnumRegistrySettings, mode));
    EXPECT_NE(screen.ChangeDisplaySettings(mode, 0), kDispChangeSuccessful);
    LinuxKeyboard keyboard;
    EXPECT_EQ(keyboard.GetAsyncKeyState('A'), 0);
    EXPECT_EQ(keyboard.GetAsyncKeyState(1), 0);
}

} // namespace
} // namespace lumatone

// The services that need no desktop: gamma resampling, the autostart entry,
// the vibrance applet's start, the settings folder, and every service
// without a display.
#include "linux/linux_support.h"
#include "platform/linux/linux_autostart.h"
#include "platform/linux/linux_keyboard.h"
#include "platform/linux/linux_screen.h"
#include "platform/linux/linux_session.h"
#include "platform/linux/linux_system.h"
#include "platform/linux/linux_vibrance.h"
#include "platform/portable/std_file_store.h"

#include <dirent.h>
#include <fstream>
#include <map>
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
    LinuxAutostart autostart;
};

TEST_F(AutostartEntry, IsWrittenReplacedAndRemoved) {
    ASSERT_TRUE(autostart.Enable("/opt/lumatone/lumatone"));
    EXPECT_EQ(Entry(), "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Lumatone\n"
                       "Exec=/opt/lumatone/lumatone\n"
                       "X-GNOME-Autostart-enabled=true\n");

    // Quoted for the Exec line's rules, with '%' doubled and the string
    // escapes applied.
    const std::string program = "/home/me/My Apps/50% $off/lumatone";
    for (const std::string& command : {program, '"' + program + '"'}) {
        ASSERT_TRUE(autostart.Enable(command));
        EXPECT_NE(Entry().find("\nExec=\"/home/me/My Apps/50%% \\\\$off/lumatone\"\n"),
                  std::string::npos)
            << Entry();
    }
    // Replaced in one step: no temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(config.path() + "/autostart"),
                            std::filesystem::directory_iterator()),
              1);

    EXPECT_TRUE(autostart.Disable());
    EXPECT_FALSE(std::filesystem::exists(EntryFile()));
    EXPECT_TRUE(autostart.Disable());
}

TEST_F(AutostartEntry, RefusesAProgramItCannotStartSafely) {
    // A relative program would start from wherever the session happens to be.
    EXPECT_FALSE(autostart.Enable("lumatone"));
    EXPECT_FALSE(autostart.Enable("/usr/bin/x\nHidden=true"));
    EXPECT_FALSE(std::filesystem::exists(EntryFile()));
}

TEST(AutostartEntryHome, FallsBackToTheHomeFolder) {
    TempFolder home;
    ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv homeEnv("HOME", home.path());
    ASSERT_TRUE(LinuxAutostart().Enable("/usr/bin/lumatone"));
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

class FakeVolume : public MasterVolume {
  public:
    bool Present() override { return ++asked, present; }
    std::optional<std::int32_t> Read() override { return std::nullopt; }
    bool Set(std::int32_t) override { return false; }
    bool present = true;
    int asked = 0;
};

// A stand-in for NVIDIA's tool: "-q" answers as the driver does (or with
// the given text), "-a" logs its assignment after the given pause, and notes
// when two of them ever ran at once.
class FakeNvidiaSettings {
  public:
    explicit FakeNvidiaSettings(const std::string& query = kAnswer, const char* pause = "0") {
        std::ofstream(answer) << query;
        std::ofstream(program) << "#!/bin/sh\n"
                               << "if [ \"$1\" = -q ]; then cat '" << answer << "'; exit 0; fi\n"
                               << "[ -e '" << busy << "' ] && echo overlap >> '" << log << "'\n"
                               << ": > '" << busy << "'\n"
                               << "sleep " << pause << "\n"
                               << "printf '%s %s\\n' \"$1\" \"$2\" >> '" << log << "'\n"
                               << "rm -f '" << busy << "'\n";
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    }
    std::string Log() const { return StdFileStore().Read(log).value_or(""); }

    static constexpr const char* kAnswer =
        "\n  Attribute 'DigitalVibrance' (host:0.0): 0.\n"
        "    The valid values for 'DigitalVibrance' are in the range -1024 - 1023 (inclusive).\n"
        "    'DigitalVibrance' can use the following target types: X Screen, GPU.\n";
    TempFolder folder;
    const std::string program = folder.path() + "/nvidia-settings";
    const std::string log = folder.path() + "/log";
    const std::string busy = folder.path() + "/busy";
    const std::string answer = folder.path() + "/answer";
};

TEST(Vibrance, ReadsTheDriversRangeAndMapsTheSliderOntoIt) {
    const struct {
        const char* text;
        std::optional<std::pair<int, int>> range;
    } answers[] = {
        {FakeNvidiaSettings::kAnswer, std::pair{-1024, 1023}},
        {"are in the range 0 - 63 (inclusive).", std::pair{0, 63}},
        {"are in the range\t-1024-1023", std::pair{-1024, 1023}},
        {"ERROR: Unable to find display on any available system\n", std::nullopt},
        {"ERROR: Error querying attribute 'DigitalVibrance' ... in the range 5 - 5", std::nullopt},
        {"in the range - 1023", std::nullopt},
        {"in the range 99999999999 - 1", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& a : answers) {
        SCOPED_TRACE(a.text);
        const std::optional<VibranceRange> r = ParseVibranceRange(a.text);
        ASSERT_EQ(r.has_value(), a.range.has_value());
        if (r) {
            EXPECT_EQ(r->min, a.range->first);
            EXPECT_EQ(r->max, a.range->second);
        }
    }
    // 0 keeps the colours as they come, not the driver's grey -1024.
    const VibranceRange wide{-1024, 1023};
    EXPECT_EQ(DriverVibrance(0, wide), 0);
    EXPECT_EQ(DriverVibrance(50, wide), 512);
    EXPECT_EQ(DriverVibrance(100, wide), 1023);
    EXPECT_EQ(DriverVibrance(100, {0, 63}), 63);
    EXPECT_EQ(DriverVibrance(100, {10, 20}), 20);
    EXPECT_EQ(DriverVibrance(0, {10, 20}), 10);
}

TEST(Vibrance, TheGroupShowsOnlyWhereTheDriverAnswers) {
    FakeVolume volume;
    {
        FakeNvidiaSettings answering;
        LinuxVibrance vibrance(answering.program);
        EXPECT_TRUE(LinuxSystem(volume, &vibrance).GetFeatures().vibrance);
    }
    {
        FakeNvidiaSettings silent("ERROR: The control display is undefined; please run\n");
        LinuxVibrance vibrance(silent.program);
        EXPECT_FALSE(LinuxSystem(volume, &vibrance).GetFeatures().vibrance);
        EXPECT_FALSE(vibrance.Run(50));
        EXPECT_EQ(silent.Log(), "");
    }
    LinuxVibrance missing("/nonexistent/nvidia-settings");
    EXPECT_FALSE(LinuxSystem(volume, &missing).GetFeatures().vibrance);
    EXPECT_FALSE(LinuxSystem(volume).GetFeatures().vibrance);
}

TEST(Vibrance, OneToolAtATimeAndTheLastLevelAskedForIsAppliedLast) {
    FakeNvidiaSettings tool(FakeNvidiaSettings::kAnswer, "0.3");
    {
        LinuxVibrance vibrance(tool.program);
        // A slider dragged, then a hotkey's step that asks for its level twice.
        for (std::int16_t level : {10, 20, 30, 40, 50, 50})
            ASSERT_TRUE(vibrance.Run(level));
        ASSERT_TRUE(Eventually([&] {
            return tool.Log() == "-a DigitalVibrance=102\n-a DigitalVibrance=512\n" &&
                   ChildStates().empty();
        }));
        // Back to the level being applied: the one waiting is dropped.
        ASSERT_TRUE(vibrance.Run(100));
        ASSERT_TRUE(vibrance.Run(0));
        ASSERT_TRUE(vibrance.Run(100));
        ASSERT_TRUE(Eventually([] { return ChildStates().empty(); }));
        EXPECT_EQ(tool.Log(),
                  "-a DigitalVibrance=102\n-a DigitalVibrance=512\n-a DigitalVibrance=1023\n");
    }
    // Finished children are reaped without another call, and a tool that
    // cannot be started fails the call.
    EXPECT_TRUE(ChildStates().empty());
    LinuxVibrance vibrance(tool.program);
    ASSERT_TRUE(vibrance.Answers());
    std::filesystem::remove(tool.program);
    EXPECT_FALSE(vibrance.Run(0));
    EXPECT_TRUE(ChildStates().empty());
}

TEST(LinuxSystemFacts, NamesTheProgramAndKeepsSettingsInTheConfigFolder) {
    FakeVolume volume;
    LinuxSystem system(volume);
    const std::string folder = std::filesystem::canonical("/proc/self/exe").parent_path();
    EXPECT_EQ(system.ProgramFolder(), folder);
    EXPECT_EQ(system.ExeName(), "lumatone_linux_tests");
    EXPECT_EQ(system.PathSeparator(), '/');
    OsVersionInfo version;
    EXPECT_FALSE(system.GetVersionEx(version));

    const Features features = system.GetFeatures();
    EXPECT_EQ(features.family, SystemFamily::Posix);
    EXPECT_TRUE(features.volume);
    volume.present = false;
    EXPECT_TRUE(system.GetFeatures().volume); // asked once for the process
    EXPECT_EQ(volume.asked, 1);

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
    EXPECT_TRUE(screen.Displays().empty());
    GammaRamp ramp{};
    EXPECT_FALSE(screen.WriteRamp("", ramp));
    EXPECT_FALSE(screen.ReadRamp("DUMMY0", ramp));
    EXPECT_EQ(screen.Current().width, 0);
    EXPECT_TRUE(screen.Modes().empty());
    EXPECT_EQ(screen.TryRate(60), RateChange::Refused);
    LinuxKeyboard keyboard;
    EXPECT_EQ(keyboard.GetAsyncKeyState('A'), 0);
    EXPECT_EQ(keyboard.GetAsyncKeyState(1), 0);
}

TEST(Session, TellsWhatTheDesktopKeepsFromTheProgram) {
    using Vars = std::map<std::string, std::string>;
    const struct {
        Vars vars;
        bool wayland;
        const char* desktop;
        bool autostart;
        const char* note;
    } sessions[] = {
        {{{"XDG_SESSION_TYPE", "x11"}, {"XDG_CURRENT_DESKTOP", "XFCE"}}, false, "XFCE", true, ""},
        {{{"XDG_SESSION_TYPE", "wayland"}, {"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}},
         true,
         "ubuntu",
         true,
         "Wayland: global hotkeys need an X11 session"},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_CURRENT_DESKTOP", "KDE"}},
         true,
         "KDE",
         true,
         "Wayland: global hotkeys need an X11 session"},
        {{{"XDG_SESSION_TYPE", "x11"}, {"XDG_CURRENT_DESKTOP", "i3"}},
         false,
         "i3",
         false,
         "i3 runs no autostart entries: \"Start with Windows\" does nothing"},
        {{{"I3SOCK", "/run/user/1000/i3/ipc-socket.1"}},
         false,
         "i3",
         false,
         "i3 runs no autostart entries: \"Start with Windows\" does nothing"},
        {{{"XDG_SESSION_TYPE", "wayland"}, {"SWAYSOCK", "/run/user/1000/sway-ipc.sock"}},
         true,
         "sway",
         false,
         "sway: no global hotkeys (they need X11), no autostart entries"},
        {{{"WAYLAND_DISPLAY", ""}, {"XDG_SESSION_TYPE", "tty"}}, false, "", true, ""},
    };
    for (const auto& s : sessions) {
        const SessionFacts facts = ReadSession([&](const char* name) -> const char* {
            const auto it = s.vars.find(name);
            return it == s.vars.end() ? nullptr : it->second.c_str();
        });
        SCOPED_TRACE(facts.desktop);
        EXPECT_EQ(facts.wayland, s.wayland);
        EXPECT_EQ(facts.desktop, s.desktop);
        EXPECT_EQ(facts.runsAutostart, s.autostart);
        EXPECT_EQ(SessionNoteFor(facts), s.note);
        EXPECT_EQ(GammaNoteFor(facts), s.wayland ? "The desktop keeps gamma to itself" : "");
    }
    // A portal that carries the hotkeys speaks for them, on Wayland only.
    const SessionFacts gnome{true, "GNOME", true}, hyprland{true, "Hyprland", false};
    EXPECT_EQ(SessionNoteFor(gnome, ""), "");
    EXPECT_EQ(SessionNoteFor(gnome, "portal"), "portal");
    EXPECT_EQ(SessionNoteFor(hyprland, ""),
              "Hyprland runs no autostart entries: \"Start with Windows\" does nothing");
    EXPECT_EQ(SessionNoteFor(SessionFacts{}, "portal"), "");
    // The screen reads the program's own session.
    ScopedEnv wayland("WAYLAND_DISPLAY", "wayland-0");
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "GNOME");
    EXPECT_EQ(LinuxScreen().Unavailable(), "The desktop keeps gamma to itself");
    FakeVolume volume;
    EXPECT_EQ(LinuxSystem(volume).SessionNote(), "Wayland: global hotkeys need an X11 session");
}

} // namespace
} // namespace lumatone

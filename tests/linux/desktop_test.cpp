// The services on the test desktop (scripts/test-linux.sh): the Xorg dummy
// display with its 60/70/75 Hz modes and sixteen outputs, a tray host and a
// PulseAudio null sink as the default sink.
#include "display/gamma_ramp.h"
#include "linux/linux_support.h"
#include "platform/linux/linux_keyboard.h"
#include "platform/linux/linux_screen.h"
#include "platform/linux/linux_system.h"
#include "platform/linux/linux_volume.h"

#include <cmath>
#include <csignal>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace lumatone {
namespace {

using linux_test::Eventually;
using linux_test::Output;
using linux_test::Succeeds;

GammaRamp RampFor(std::int16_t position) {
    GammaRamp ramp;
    BuildGammaRamp(GammaForPosition(position), ramp);
    return ramp;
}

std::optional<GammaRamp> ReadBack(GammaOutput& gamma, const std::string& display) {
    GammaRamp ramp{};
    if (!gamma.ReadRamp(display, ramp))
        return std::nullopt;
    return ramp;
}

// A second output beside the first, for as long as the test runs.
class SecondOutput {
  public:
    SecondOutput() {
        Succeeds("xrandr --addmode DUMMY1 1024x768_60 2>/dev/null; true");
        on_ = Succeeds("xrandr --output DUMMY1 --mode 1024x768_60 --right-of DUMMY0");
    }
    ~SecondOutput() {
        Succeeds("xrandr --output DUMMY0 --primary");
        Succeeds("xrandr --output DUMMY1 --off");
    }
    SecondOutput(const SecondOutput&) = delete;
    SecondOutput& operator=(const SecondOutput&) = delete;
    bool on() const { return on_; }

  private:
    bool on_ = false;
};

TEST(DesktopScreen, SetsAndReadsBackTheRampOfEachCrtc) {
    SecondOutput second;
    ASSERT_TRUE(second.on());
    LinuxScreen screen;
    const std::vector<DisplayDevice> displays = screen.Displays();
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0].name, "DUMMY0");
    EXPECT_TRUE(displays[0].primary);
    EXPECT_EQ(displays[1].name, "DUMMY1");
    EXPECT_FALSE(displays[1].primary);

    ASSERT_TRUE(screen.WriteRamp("DUMMY0", RampFor(10)));
    ASSERT_TRUE(screen.WriteRamp("DUMMY1", RampFor(30)));
    EXPECT_EQ(ReadBack(screen, "DUMMY0"), RampFor(10));
    EXPECT_EQ(ReadBack(screen, "DUMMY1"), RampFor(30));

    // The whole screen is the primary output only.
    ASSERT_TRUE(screen.WriteRamp("", RampFor(20)));
    EXPECT_EQ(ReadBack(screen, "DUMMY0"), RampFor(20));
    EXPECT_EQ(ReadBack(screen, "DUMMY1"), RampFor(30));
    EXPECT_EQ(ReadBack(screen, ""), RampFor(20));

    // And follows the primary when it moves.
    ASSERT_TRUE(Succeeds("xrandr --output DUMMY1 --primary"));
    EXPECT_TRUE(screen.Displays().at(1).primary);
    ASSERT_TRUE(screen.WriteRamp("", RampFor(kGammaResetPosition)));
    EXPECT_EQ(ReadBack(screen, "DUMMY1"), RampFor(kGammaResetPosition));
    EXPECT_EQ(ReadBack(screen, "DUMMY0"), RampFor(20));

    // An output without a CRTC shows nothing to set.
    EXPECT_FALSE(screen.WriteRamp("DUMMY7", RampFor(27)));
    GammaRamp ramp{};
    EXPECT_FALSE(screen.ReadRamp("DUMMY7", ramp));
}

// The current mode as xrandr shows it: width, height and the rate marked '*'.
struct XrandrMode {
    std::uint32_t width = 0, height = 0, rate = 0;
};

XrandrMode XrandrCurrent() {
    const std::string text = Output("xrandr --current").value_or("");
    XrandrMode mode;
    std::smatch match;
    if (std::regex_search(text, match, std::regex(R"(DUMMY0 connected primary (\d+)x(\d+)\+)"))) {
        mode.width = static_cast<std::uint32_t>(std::stoul(match[1]));
        mode.height = static_cast<std::uint32_t>(std::stoul(match[2]));
    }
    if (std::regex_search(text, match, std::regex(R"(([0-9.]+)\*)")))
        mode.rate = static_cast<std::uint32_t>(std::lround(std::stod(match[1])));
    return mode;
}

class DesktopScreenModes : public ::testing::Test {
  protected:
    void TearDown() override { Succeeds("xrandr --output DUMMY0 --mode 1024x768_60"); }

    // The current mode agrees with xrandr; returns the rate.
    std::int32_t Refresh() {
        const XrandrMode shown = XrandrCurrent();
        const DisplayMode now = screen.Current();
        EXPECT_EQ(now.width, static_cast<std::int32_t>(shown.width));
        EXPECT_EQ(now.height, static_cast<std::int32_t>(shown.height));
        EXPECT_EQ(now.bitsPerPixel, 32);
        EXPECT_EQ(now.refreshRate, static_cast<std::int32_t>(shown.rate));
        return now.refreshRate;
    }

    LinuxScreen screen;
};

TEST_F(DesktopScreenModes, ListsTheOutputsModes) {
    EXPECT_EQ(Refresh(), 60);
    EXPECT_EQ(screen.Current().width, 1024);
    EXPECT_EQ(screen.Current().height, 768);

    // Every mode xrandr lists for the output, in its order.
    const std::string text = Output("xrandr --verbose").value_or("");
    const std::string own = text.substr(0, text.find("\nDUMMY1 "));
    std::vector<std::int32_t> rates;
    const std::regex clock(R"(\n\s+v: .* clock\s+([0-9.]+)Hz)");
    for (std::sregex_iterator it(own.begin(), own.end(), clock), end; it != end; ++it)
        rates.push_back(static_cast<std::int32_t>(std::lround(std::stod((*it)[1]))));
    ASSERT_GE(rates.size(), 3u);
    const std::vector<DisplayMode> modes = screen.Modes();
    ASSERT_EQ(modes.size(), rates.size());
    for (std::size_t n = 0; n < modes.size(); ++n) {
        EXPECT_EQ(modes[n].refreshRate, rates[n]) << n;
        EXPECT_EQ(modes[n].bitsPerPixel, 32) << n;
    }
}

TEST_F(DesktopScreenModes, SwitchesTheRateAndRefusesOneTheOutputLacks) {
    ASSERT_EQ(Refresh(), 60);
    EXPECT_EQ(screen.TryRate(75), RateChange::Changed);
    EXPECT_EQ(Refresh(), 75);
    // Asked again, nothing is to be done.
    EXPECT_EQ(screen.TryRate(75), RateChange::Changed);

    EXPECT_EQ(screen.TryRate(50), RateChange::Refused);
    EXPECT_EQ(Refresh(), 75);

    EXPECT_EQ(screen.TryRate(60), RateChange::Changed);
    EXPECT_EQ(Refresh(), 60);

    // Another program's switch shows at the next look.
    ASSERT_TRUE(Succeeds("xrandr --output DUMMY0 --mode 1024x768_75"));
    EXPECT_EQ(Refresh(), 75);
}

// A plain X window that holds the focus while the keys are pressed elsewhere.
class DesktopKeyboard : public ::testing::Test {
  protected:
    void SetUp() override {
        char program[] = "/usr/bin/xmessage";
        char name[] = "-name", value[] = "lumatone-focus";
        char geometry[] = "-geometry", where[] = "+10+40";
        char text[] = "focus";
        char* argv[] = {program, name, value, geometry, where, text, nullptr};
        ASSERT_EQ(::posix_spawn(&window_, program, nullptr, nullptr, argv, environ), 0);
        const auto id = Output("xdotool search --sync --classname lumatone-focus | head -n 1");
        ASSERT_TRUE(id.has_value());
        windowId_ = id->substr(0, id->find('\n'));
        ASSERT_TRUE(Succeeds("xdotool windowfocus --sync " + windowId_));
        // The pointer away from the window's button, which would close it.
        ASSERT_TRUE(Succeeds("xdotool mousemove 900 700"));
    }
    void TearDown() override {
        if (window_ > 0) {
            ::kill(window_, SIGTERM);
            ::waitpid(window_, nullptr, 0);
        }
    }
    bool FocusStayed() { return Output("xdotool getwindowfocus").value_or("") == windowId_ + "\n"; }

    pid_t window_ = 0;
    std::string windowId_;
};

constexpr std::int16_t kDown = static_cast<std::int16_t>(0x8000);
constexpr std::int32_t kShift = 0x10, kLShift = 0xa0, kRShift = 0xa1, kF7 = 0x76;

TEST_F(DesktopKeyboard, SeesHeldAndTappedKeysWhileAnotherWindowHasTheFocus) {
    LinuxKeyboard keyboard;

    // Tapped: bit 0 once, bit 15 never.
    ASSERT_TRUE(Succeeds("xdotool key a"));
    std::int16_t state = 0;
    ASSERT_TRUE(Eventually([&] { return (state = keyboard.GetAsyncKeyState('A')) != 0; }));
    EXPECT_EQ(state, 1);
    EXPECT_EQ(keyboard.GetAsyncKeyState('A'), 0);

    // Held: bit 15 on every query while down, bit 0 on one query only.
    int pressedSince = 0;
    ASSERT_TRUE(Succeeds("xdotool keydown Shift_L"));
    ASSERT_TRUE(Eventually([&] {
        state = keyboard.GetAsyncKeyState(kShift);
        pressedSince += state & 1;
        return (state & kDown) != 0;
    }));
    state = keyboard.GetAsyncKeyState(kShift);
    pressedSince += state & 1;
    EXPECT_NE(state & kDown, 0);
    EXPECT_EQ(pressedSince, 1);
    // The sided codes tell the two shifts apart. (xdotool presses the left
    // modifier along with a right one, so the left is the one held here.)
    EXPECT_EQ(keyboard.GetAsyncKeyState(kLShift), kDown | 1);
    EXPECT_EQ(keyboard.GetAsyncKeyState(kRShift), 0);
    ASSERT_TRUE(Succeeds("xdotool keyup Shift_L"));
    ASSERT_TRUE(Eventually([&] { return keyboard.GetAsyncKeyState(kShift) == 0; }));

    // A key held across many queries, as a held hotkey is polled.
    ASSERT_TRUE(Succeeds("xdotool keydown F7"));
    ASSERT_TRUE(Eventually([&] { return (keyboard.GetAsyncKeyState(kF7) & kDown) != 0; }));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(keyboard.GetAsyncKeyState(kF7), kDown);
    ASSERT_TRUE(Succeeds("xdotool keyup F7"));
    ASSERT_TRUE(Eventually([&] { return keyboard.GetAsyncKeyState(kF7) == 0; }));

    EXPECT_TRUE(FocusStayed());
}

// A key already down when the keyboard opens sends no event: it reads as
// held all the same. While the screen saver is on no key reads as down.
TEST_F(DesktopKeyboard, SeesAKeyHeldSinceBeforeItStartedButNoneUnderTheScreenSaver) {
    ASSERT_TRUE(Succeeds("xdotool keydown F7"));
    LinuxKeyboard keyboard;
    EXPECT_EQ(keyboard.GetAsyncKeyState(kF7), kDown);
    ASSERT_TRUE(Succeeds("xset s activate"));
    EXPECT_TRUE(Eventually([&] { return keyboard.GetAsyncKeyState(kF7) == 0; }));
    ASSERT_TRUE(Succeeds("xset s reset"));
    EXPECT_TRUE(Eventually([&] { return keyboard.GetAsyncKeyState(kF7) == kDown; }));
    ASSERT_TRUE(Succeeds("xdotool keyup F7"));
    EXPECT_TRUE(Eventually([&] { return keyboard.GetAsyncKeyState(kF7) == 0; }));
}

TEST_F(DesktopKeyboard, SeesMouseButtonsByTheirWindowsCodes) {
    constexpr std::int32_t kLButton = 1, kRButton = 2, kMButton = 4;
    LinuxKeyboard keyboard;
    // X numbers the right button 3 and the middle one 2.
    ASSERT_TRUE(Succeeds("xdotool mousedown 3"));
    ASSERT_TRUE(Eventually([&] { return (keyboard.GetAsyncKeyState(kRButton) & kDown) != 0; }));
    EXPECT_EQ(keyboard.GetAsyncKeyState(kMButton), 0);
    EXPECT_EQ(keyboard.GetAsyncKeyState(kLButton), 0);
    ASSERT_TRUE(Succeeds("xdotool mouseup 3"));
    ASSERT_TRUE(Eventually([&] { return keyboard.GetAsyncKeyState(kRButton) == 0; }));

    ASSERT_TRUE(Succeeds("xdotool click 2"));
    std::int16_t state = 0;
    ASSERT_TRUE(Eventually([&] { return (state = keyboard.GetAsyncKeyState(kMButton)) != 0; }));
    EXPECT_EQ(state, 1);
    EXPECT_EQ(keyboard.GetAsyncKeyState(kMButton), 0);
    EXPECT_TRUE(FocusStayed());
}

// The raw volume of each of the default sink's channels.
std::vector<long> SinkVolumes() {
    const std::string text = Output("pactl get-sink-volume @DEFAULT_SINK@").value_or("");
    std::vector<long> values;
    const std::regex channel(R"(: (\d+) /)");
    for (std::sregex_iterator it(text.begin(), text.end(), channel), end; it != end; ++it)
        values.push_back(std::stol((*it)[1]));
    return values;
}

bool SinkMuted() {
    return Output("pactl get-sink-mute @DEFAULT_SINK@").value_or("").find("yes") !=
           std::string::npos;
}

// Writes go out without waiting for the server, and its news comes in on
// its own: both are awaited.
bool SinkIs(const std::vector<long>& volumes) {
    return Eventually([&] { return SinkVolumes() == volumes; });
}
bool ReadsAs(LinuxVolume& volume, std::int32_t level) {
    return Eventually([&] { return volume.Read() == level; });
}

TEST(DesktopVolume, SetsAndReadsTheDefaultSink) {
    LinuxVolume volume;
    ASSERT_TRUE(volume.Present());
    LinuxSystem system(volume);
    EXPECT_TRUE(system.GetFeatures().volume);

    // 37% of PA_VOLUME_NORM (65536) on every channel.
    ASSERT_TRUE(volume.Set(37));
    EXPECT_TRUE(SinkIs({24248, 24248}));
    EXPECT_EQ(volume.Read(), 37);

    // Channels apart read as the loudest, 49152 of 65536, and move together.
    ASSERT_TRUE(Succeeds("pactl set-sink-volume @DEFAULT_SINK@ 32768 49152"));
    EXPECT_TRUE(ReadsAs(volume, 75));
    ASSERT_TRUE(volume.Set(50));
    EXPECT_TRUE(SinkIs({21845, 32768}));
    EXPECT_EQ(volume.Read(), 50);
    // Through silence and back, the balance is kept.
    ASSERT_TRUE(volume.Set(0));
    EXPECT_TRUE(SinkIs({0, 0}));
    EXPECT_EQ(volume.Read(), 0);
    ASSERT_TRUE(volume.Set(50));
    EXPECT_TRUE(SinkIs({21845, 32768}));
    ASSERT_TRUE(volume.Set(100));
    EXPECT_TRUE(SinkIs({43690, 65536}));
    EXPECT_EQ(volume.Read(), 100);

    // Louder than normal reads as full, and full written back leaves it so.
    ASSERT_TRUE(Succeeds("pactl set-sink-volume @DEFAULT_SINK@ 150%"));
    EXPECT_TRUE(ReadsAs(volume, 100));
    EXPECT_FALSE(volume.Set(101));
    ASSERT_TRUE(volume.Set(100));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(SinkVolumes(), (std::vector<long>{98304, 98304}));
    ASSERT_TRUE(volume.Set(80));
    EXPECT_TRUE(SinkIs({52429, 52429}));
}

TEST(DesktopVolume, TheServersMuteReadsAsSilenceUntilALevelIsSet) {
    LinuxVolume volume;
    ASSERT_TRUE(volume.Present());
    ASSERT_TRUE(Succeeds("pactl set-sink-volume @DEFAULT_SINK@ 65536 39322"));
    EXPECT_TRUE(ReadsAs(volume, 100));
    ASSERT_TRUE(Succeeds("pactl set-sink-mute @DEFAULT_SINK@ 1"));
    EXPECT_TRUE(ReadsAs(volume, 0));
    // Silence written back is no change: muted, the level kept for later.
    ASSERT_TRUE(volume.Set(0));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(SinkMuted());
    EXPECT_EQ(SinkVolumes(), (std::vector<long>{65536, 39322}));
    ASSERT_TRUE(volume.Set(40));
    EXPECT_TRUE(SinkIs({26214, 15728}));
    EXPECT_TRUE(Eventually([] { return !SinkMuted(); }));
    EXPECT_EQ(volume.Read(), 40);
}

TEST(WithoutSound, ThereIsNoMasterVolumeAndEveryCallFailsCleanly) {
    LinuxVolume volume;
    EXPECT_FALSE(volume.Present());
    EXPECT_FALSE(volume.Set(50));
    EXPECT_EQ(volume.Read(), std::nullopt);
    LinuxSystem system(volume);
    EXPECT_FALSE(system.GetFeatures().volume);
}

} // namespace
} // namespace lumatone

// Gamma ramps and display modes on Wine's X11 driver: the Xorg dummy display
// offers ramps and 60/75 Hz modes, Xvfb has no ramps at all.
#include "display/gamma.h"
#include "display/screen_gamma_output.h"
#include "platform/win32/win32_screen.h"
#include "win32/wine_support.h"

#include <cstdlib>
#include <vector>

namespace lumatone {
namespace {

GammaRamp RampFor(std::int16_t position) {
    GammaRamp ramp;
    BuildGammaRamp(GammaForPosition(position), ramp);
    return ramp;
}

std::optional<GammaRamp> ReadRamp() {
    HDC dc = GetDC(nullptr);
    GammaRamp ramp{};
    BOOL ok = GetDeviceGammaRamp(dc, ramp.data());
    ReleaseDC(nullptr, dc);
    if (!ok)
        return std::nullopt;
    return ramp;
}

int LargestDifference(const GammaRamp& a, const GammaRamp& b) {
    int largest = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        largest = std::max(largest, std::abs(int(a[i]) - int(b[i])));
    return largest;
}

TEST(Win32ScreenGamma, TakesTheResetRampAndRefusesRampsFarFromLinear) {
    Win32Screen screen;
    ScreenGammaOutput output{screen};
    ASSERT_TRUE(SetGamma(output, GammaForPosition(kGammaResetPosition)));
    auto back = ReadRamp();
    ASSERT_TRUE(back.has_value());
    // The X server keeps fewer bits than the ramp's words.
    EXPECT_LE(LargestDifference(*back, RampFor(kGammaResetPosition)), 512);

    for (std::int16_t position : {0, 37}) {
        SCOPED_TRACE(position);
        EXPECT_FALSE(SetGamma(output, GammaForPosition(position)));
        // The refused ramp left the screen as it was, and the next one still works.
        ASSERT_TRUE(SetGamma(output, GammaForPosition(30)));
        back = ReadRamp();
        ASSERT_TRUE(back.has_value());
        EXPECT_LE(LargestDifference(*back, RampFor(30)), 512);
    }
    EXPECT_TRUE(SetGamma(output, GammaForPosition(kGammaResetPosition)));
}

TEST(Win32ScreenGamma, GivesEveryContextBack) {
    // Held hotkeys write a ramp every 50 ms; contexts must not pile up.
    Win32Screen screen;
    DcHandle dc = screen.GetDC(0);
    ASSERT_NE(dc, 0u);
    screen.ReleaseDC(0, dc);
    // Given back already: the system no longer knows it. One still out it does.
    EXPECT_EQ(ReleaseDC(nullptr, reinterpret_cast<HDC>(dc)), 0);
    HDC out = GetDC(nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, out), 1);

    // No context: refused, not handed to the system.
    EXPECT_EQ(screen.GetDeviceCaps(0, kHorzRes), 0);
    EXPECT_FALSE(screen.SetDeviceGammaRamp(0, RampFor(27)));
}

TEST(OnXvfbGamma, KeeperSaysTheScreenRefused) {
    Win32Screen screen;
    ScreenGammaOutput output{screen};
    GammaKeeper keeper(output);
    keeper.Write(kGammaResetPosition, true);
    EXPECT_EQ(keeper.Note(), kNoteGammaRefused);
}

TEST(OnXvfbGamma, FailsWithoutHarm) {
    Win32Screen screen;
    ScreenGammaOutput output{screen};
    for (std::int16_t position : {27, 30, 0}) {
        SCOPED_TRACE(position);
        EXPECT_FALSE(SetGamma(output, GammaForPosition(position)));
    }
    ScopedDc dc(screen, 0);
    ASSERT_NE(dc.get(), 0u);
    EXPECT_EQ(screen.GetDeviceCaps(dc.get(), kHorzRes), 1024);
}

// Wine lists the X screen as one display; a context of its own reads the
// ramp the whole-screen context wrote.
TEST(Win32ScreenDisplays, ListsThePrimaryDisplayAndReadsItsRampBack) {
    Win32Screen screen;
    ScreenGammaOutput output{screen};
    const std::vector<DisplayDevice> displays = screen.EnumDisplayDevices();
    ASSERT_EQ(displays.size(), 1u);
    EXPECT_EQ(displays[0].name, "\\\\.\\DISPLAY1");
    EXPECT_TRUE(displays[0].primary);

    ASSERT_TRUE(SetGamma(output, GammaForPosition(kGammaResetPosition)));
    DcHandle dc = screen.CreateDisplayDC(displays[0].name);
    ASSERT_NE(dc, 0u);
    GammaRamp back{};
    EXPECT_TRUE(screen.GetDeviceGammaRamp(dc, back));
    EXPECT_LE(LargestDifference(back, RampFor(kGammaResetPosition)), 256);
    screen.DeleteDC(dc);
    // Deleted already: the system no longer knows it.
    EXPECT_EQ(DeleteDC(reinterpret_cast<HDC>(dc)), FALSE);

    EXPECT_EQ(screen.CreateDisplayDC(""), 0u);
    EXPECT_FALSE(screen.GetDeviceGammaRamp(0, back));
}

TEST(Win32ScreenDisplays, KeeperNotesARefusedLevelAndUndoesAnOutsideReset) {
    Win32Screen screen;
    ScreenGammaOutput output{screen};
    GammaKeeper keeper(output);
    for (std::int16_t position : {0, 37}) {
        SCOPED_TRACE(position);
        keeper.Write(position, true);
        EXPECT_EQ(keeper.Note(), kNoteGammaRefused);
        keeper.Write(kGammaResetPosition, true);
        EXPECT_EQ(keeper.Note(), "");
    }

    // Another program resets the screen to linear.
    GammaRamp linear;
    for (std::size_t i = 0; i < linear.size(); ++i)
        linear[i] = static_cast<WORD>((i % 256) * 257);
    HDC whole = GetDC(nullptr);
    ASSERT_TRUE(SetDeviceGammaRamp(whole, linear.data()));
    ReleaseDC(nullptr, whole);
    ASSERT_GT(LargestDifference(*ReadRamp(), RampFor(kGammaResetPosition)), 256);
    keeper.Check();
    EXPECT_LE(LargestDifference(*ReadRamp(), RampFor(kGammaResetPosition)), 256);
    EXPECT_EQ(keeper.Note(), "");
}

class Win32ScreenModes : public ::testing::Test {
  protected:
    // Back to 60 Hz, in the registry too, so every run starts alike.
    void TearDown() override { Change(60, kCdsUpdateRegistry); }

    std::int32_t Change(std::uint32_t hertz, std::uint32_t flags) {
        DevModeA mode;
        mode.dmSize = sizeof(mode);
        screen.EnumDisplaySettings(kEnumRegistrySettings, mode);
        // Wine refuses a change that flags the frequency alone.
        mode.dmFields = kDmPelsWidth | kDmPelsHeight | kDmDisplayFrequency;
        mode.dmDisplayFrequency = hertz;
        return screen.ChangeDisplaySettings(mode, flags);
    }

    std::int32_t Refresh() {
        wine::TestWindow window;
        ScopedDc dc(screen, reinterpret_cast<WindowHandle>(window.get()));
        return screen.GetDeviceCaps(dc.get(), kVRefresh);
    }

    Win32Screen screen;
};

TEST_F(Win32ScreenModes, ReadsTheRegistryModeIntoTheShortRecord) {
    ASSERT_EQ(Change(60, kCdsUpdateRegistry), kDispChangeSuccessful);
    DevModeA mode;
    mode.dmSize = sizeof(mode);
    ASSERT_TRUE(screen.EnumDisplaySettings(kEnumRegistrySettings, mode));
    EXPECT_EQ(mode.dmSize, 124);
    EXPECT_EQ(mode.dmDriverExtra, 0);
    EXPECT_EQ(mode.dmPelsWidth, 1024u);
    EXPECT_EQ(mode.dmPelsHeight, 768u);
    EXPECT_EQ(mode.dmDisplayFrequency, 60u);
    EXPECT_NE(mode.dmBitsPerPel, 0u);
    EXPECT_NE(mode.dmFields & kDmDisplayFrequency, 0u);
}

TEST_F(Win32ScreenModes, AppliesAnOfferedRateAndRefusesOthers) {
    ASSERT_EQ(Change(60, kCdsUpdateRegistry), kDispChangeSuccessful);
    EXPECT_EQ(Refresh(), 60);

    EXPECT_EQ(Change(75, kCdsFullscreen), kDispChangeSuccessful);
    EXPECT_EQ(Refresh(), 75);
    // Temporary: the registry still holds 60.
    DevModeA stored;
    ASSERT_TRUE(screen.EnumDisplaySettings(kEnumRegistrySettings, stored));
    EXPECT_EQ(stored.dmDisplayFrequency, 60u);

    EXPECT_EQ(Change(75, kCdsUpdateRegistry), kDispChangeSuccessful);
    ASSERT_TRUE(screen.EnumDisplaySettings(kEnumRegistrySettings, stored));
    EXPECT_EQ(stored.dmDisplayFrequency, 75u);

    EXPECT_EQ(Change(77, kCdsFullscreen), kDispChangeBadMode);
    EXPECT_EQ(Refresh(), 75);
}

} // namespace
} // namespace lumatone

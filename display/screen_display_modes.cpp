#include "display/screen_display_modes.h"

namespace lumatone {

std::int32_t ScreenDisplayModes::QueryCaps(int index) {
    // A fresh context per query, given back at once.
    const ScopedDc dc(screen_, runtime_.MainWindow());
    return screen_.GetDeviceCaps(dc.get(), index);
}

DisplayMode ScreenDisplayModes::Current() {
    DisplayMode mode;
    mode.width = QueryCaps(kHorzRes);
    mode.height = QueryCaps(kVertRes);
    mode.bitsPerPixel = QueryCaps(kBitsPixel);
    mode.refreshRate = QueryCaps(kVRefresh);
    return mode;
}

std::vector<DisplayMode> ScreenDisplayModes::Modes() {
    std::vector<DisplayMode> modes;
    for (std::int32_t i = 0;; ++i) {
        DevModeA m{};
        m.dmSize = sizeof(DevModeA);
        if (!screen_.EnumDisplaySettings(i, m))
            break;
        modes.push_back({static_cast<std::int32_t>(m.dmPelsWidth),
                         static_cast<std::int32_t>(m.dmPelsHeight),
                         static_cast<std::int32_t>(m.dmBitsPerPel),
                         static_cast<std::int32_t>(m.dmDisplayFrequency)});
    }
    return modes;
}

RateChange ScreenDisplayModes::TryRate(std::int32_t hz) {
    DevModeA mode{};
    mode.dmSize = sizeof(DevModeA);
    // Without the stored mode the record would be all zeros: no change is tried with it.
    if (!screen_.EnumDisplaySettings(kEnumRegistrySettings, mode))
        return RateChange::Refused;
    // Only the rate is flagged, so resolution and colour depth stay as they are.
    mode.dmFields = kDmDisplayFrequency;
    mode.dmDisplayFrequency = static_cast<std::uint32_t>(hz);
    const std::int32_t result = screen_.ChangeDisplaySettings(mode, kCdsFullscreen);
    if (result == kDispChangeSuccessful) {
        screen_.ChangeDisplaySettings(mode, kCdsUpdateRegistry);
        return RateChange::Changed;
    }
    return result == kDispChangeRestart ? RateChange::NeedsRestart : RateChange::Refused;
}

} // namespace lumatone

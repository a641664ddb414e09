#include "platform/sim/sim_screen.h"

#include <algorithm>
#include <cstring>

namespace lumatone {

DcHandle SimScreen::GetDC(WindowHandle) {
    if (failGetDC)
        return 0;
    ++contextsOutstanding;
    ++contextsObtained;
    DcHandle dc = nextDc_++;
    live_.push_back(dc);
    return dc;
}

void SimScreen::ReleaseDC(WindowHandle, DcHandle dc) {
    auto it = std::find(live_.begin(), live_.end(), dc);
    if (it == live_.end())
        return;
    live_.erase(it);
    --contextsOutstanding;
}

bool SimScreen::SetDeviceGammaRamp(DcHandle dc, const GammaRamp& r) {
    rampWrites.push_back(r);
    if (dc == 0 || refuseRamps || std::find(live_.begin(), live_.end(), dc) == live_.end())
        return false;
    ramp = r;
    return true;
}

std::int32_t SimScreen::GetDeviceCaps(DcHandle dc, int index) {
    capsQueries.push_back(
        {dc, index, dc != 0 && std::find(live_.begin(), live_.end(), dc) != live_.end()});
    if (dc == 0)
        return 0;
    switch (index) {
    case kHorzRes:
        return static_cast<std::int32_t>(current.width);
    case kVertRes:
        return static_cast<std::int32_t>(current.height);
    case kBitsPixel:
        return static_cast<std::int32_t>(current.bitsPerPixel);
    case kVRefresh:
        return static_cast<std::int32_t>(current.frequency);
    default:
        return 0;
    }
}

bool SimScreen::EnumDisplaySettings(std::int32_t modeNumber, DevModeA& mode) {
    ++enumCalls;
    // Like the real call, a record whose size is not set is refused.
    if (failEnum || modeNumber != kEnumRegistrySettings || mode.dmSize != sizeof(DevModeA))
        return false;
    mode = DevModeA{};
    std::strcpy(mode.dmDeviceName, "SIMDISPLAY");
    mode.dmSize = sizeof(DevModeA);
    mode.dmFields = kDmBitsPerPel | kDmPelsWidth | kDmPelsHeight | kDmDisplayFrequency;
    mode.dmBitsPerPel = registry.bitsPerPixel;
    mode.dmPelsWidth = registry.width;
    mode.dmPelsHeight = registry.height;
    mode.dmDisplayFrequency = registry.frequency;
    return true;
}

std::int32_t SimScreen::ChangeDisplaySettings(const DevModeA& mode, std::uint32_t flags) {
    Mode wanted = current;
    if (mode.dmFields & kDmPelsWidth)
        wanted.width = mode.dmPelsWidth;
    if (mode.dmFields & kDmPelsHeight)
        wanted.height = mode.dmPelsHeight;
    if (mode.dmFields & kDmBitsPerPel)
        wanted.bitsPerPixel = mode.dmBitsPerPel;
    if (mode.dmFields & kDmDisplayFrequency)
        wanted.frequency = mode.dmDisplayFrequency;
    std::int32_t result;
    if (mode.dmSize != sizeof(DevModeA) ||
        std::find(accepted.begin(), accepted.end(), wanted) == accepted.end()) {
        result = kDispChangeBadMode;
    } else if (answerRestart) {
        result = kDispChangeRestart;
    } else {
        current = wanted;
        if (flags & kCdsUpdateRegistry)
            registry = wanted;
        result = kDispChangeSuccessful;
    }
    changeCalls.push_back({mode, flags, result});
    return result;
}

} // namespace lumatone

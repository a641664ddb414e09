#include "platform/sim/sim_screen.h"

#include <algorithm>
#include <cstring>

namespace lumatone {

GammaRamp SimScreen::LinearRamp() {
    return IdentityRamp();
}

SimScreen::SimScreen() {
    AddDisplay().primary = true;
}

SimScreen::Display& SimScreen::AddDisplay(std::string name) {
    if (name.empty())
        name = "\\\\.\\DISPLAY" + std::to_string(displays.size() + 1);
    displays.push_back(Display{std::move(name)});
    return displays.back();
}

DcHandle SimScreen::Hand(std::string display, bool created) {
    ++contextsOutstanding;
    const DcHandle dc = nextDc_++;
    live_.push_back({dc, std::move(display), created});
    return dc;
}

SimScreen::LiveDc* SimScreen::Live(DcHandle dc) {
    auto it =
        std::find_if(live_.begin(), live_.end(), [dc](const LiveDc& l) { return l.dc == dc; });
    return it == live_.end() ? nullptr : &*it;
}

void SimScreen::GiveBack(DcHandle dc, bool created) {
    auto it = std::find_if(live_.begin(), live_.end(),
                           [&](const LiveDc& l) { return l.dc == dc && l.created == created; });
    // A context given back the wrong way stays outstanding, as a leak would.
    if (it == live_.end())
        return;
    live_.erase(it);
    --contextsOutstanding;
}

SimScreen::Display* SimScreen::Target(DcHandle dc) {
    const LiveDc* live = Live(dc);
    if (live == nullptr)
        return nullptr;
    for (Display& d : displays)
        if (live->display.empty() ? d.primary : d.name == live->display)
            return &d;
    return nullptr;
}

DcHandle SimScreen::GetDC(WindowHandle) {
    if (failGetDC)
        return 0;
    ++contextsObtained;
    return Hand({}, false);
}

void SimScreen::ReleaseDC(WindowHandle, DcHandle dc) {
    GiveBack(dc, false);
}

DcHandle SimScreen::CreateDisplayDC(const std::string& deviceName) {
    if (failGetDC || std::none_of(displays.begin(), displays.end(),
                                  [&](const Display& d) { return d.name == deviceName; }))
        return 0;
    ++displayContextsCreated;
    return Hand(deviceName, true);
}

void SimScreen::DeleteDC(DcHandle dc) {
    GiveBack(dc, true);
}

std::vector<DisplayDevice> SimScreen::EnumDisplayDevices() {
    std::vector<DisplayDevice> devices;
    for (const Display& d : displays)
        devices.push_back({d.name, d.primary});
    return devices;
}

bool SimScreen::WholeScreen(DcHandle dc) {
    const LiveDc* live = Live(dc);
    return live != nullptr && live->display.empty();
}

bool SimScreen::SetDeviceGammaRamp(DcHandle dc, const GammaRamp& r) {
    rampWrites.push_back(r);
    Display* d = Target(dc);
    if (d == nullptr || refuseRamps)
        return false;
    if (WholeScreen(dc) && wholeScreen != Answer::Takes)
        return wholeScreen == Answer::Ignores;
    ++d->writes;
    if (d->answer == Answer::Refuses)
        return false;
    if (d->answer == Answer::Takes) {
        const auto mask = static_cast<std::uint16_t>(0xFFFFu << (16 - d->keptBits));
        for (std::size_t i = 0; i < r.size(); ++i)
            d->ramp[i] = static_cast<std::uint16_t>(r[i] & mask);
        ramp = r;
    }
    return true;
}

bool SimScreen::GetDeviceGammaRamp(DcHandle dc, GammaRamp& r) {
    Display* d = Target(dc);
    if (d == nullptr || (WholeScreen(dc) && wholeScreen == Answer::Refuses))
        return false;
    ++d->readBacks;
    r = lockScreenRamp ? *lockScreenRamp : d->ramp;
    return true;
}

std::int32_t SimScreen::GetDeviceCaps(DcHandle dc, int index) {
    capsQueries.push_back({dc, index, dc != 0 && Live(dc) != nullptr});
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

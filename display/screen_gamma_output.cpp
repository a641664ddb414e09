#include "display/screen_gamma_output.h"

namespace lumatone {

std::vector<DisplayDevice> ScreenGammaOutput::Displays() {
    return screen_.EnumDisplayDevices();
}

bool ScreenGammaOutput::WriteRamp(const std::string& display, const GammaRamp& ramp) {
    if (display.empty()) {
        const ScopedDc dc(screen_, 0);
        return screen_.SetDeviceGammaRamp(dc.get(), ramp);
    }
    const ScopedDisplayDc dc(screen_, display);
    return screen_.SetDeviceGammaRamp(dc.get(), ramp);
}

bool ScreenGammaOutput::ReadRamp(const std::string& display, GammaRamp& ramp) {
    if (display.empty()) {
        const ScopedDc dc(screen_, 0);
        return dc.get() != 0 && screen_.GetDeviceGammaRamp(dc.get(), ramp);
    }
    const ScopedDisplayDc dc(screen_, display);
    return dc.get() != 0 && screen_.GetDeviceGammaRamp(dc.get(), ramp);
}

} // namespace lumatone

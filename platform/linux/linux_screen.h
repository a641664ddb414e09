#pragma once

#include "platform/screen.h"

#include <memory>

namespace lumatone {

// Contexts, ramps and modes of the X server's RandR outputs, over a display
// connection of its own. Without a display every call fails cleanly.
class LinuxScreen : public Screen {
  public:
    LinuxScreen();
    ~LinuxScreen() override;
    LinuxScreen(const LinuxScreen&) = delete;
    LinuxScreen& operator=(const LinuxScreen&) = delete;

    DcHandle GetDC(WindowHandle window) override;
    void ReleaseDC(WindowHandle window, DcHandle dc) override;
    bool SetDeviceGammaRamp(DcHandle dc, const GammaRamp& ramp) override;
    std::int32_t GetDeviceCaps(DcHandle dc, int index) override;
    bool EnumDisplaySettings(std::int32_t modeNumber, DevModeA& mode) override;
    std::int32_t ChangeDisplaySettings(const DevModeA& mode, std::uint32_t flags) override;
    std::vector<DisplayDevice> EnumDisplayDevices() override;
    DcHandle CreateDisplayDC(const std::string& deviceName) override;
    void DeleteDC(DcHandle dc) override;
    bool GetDeviceGammaRamp(DcHandle dc, GammaRamp& ramp) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace lumatone

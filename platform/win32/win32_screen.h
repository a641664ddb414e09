#pragma once

#include "platform/screen.h"

namespace lumatone {

class Win32Screen : public Screen {
  public:
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
};

} // namespace lumatone

#pragma once

#include "platform/handles.h"
#include "platform/records.h"

#include <cstdint>

namespace lumatone {

// Device contexts, gamma ramps, capabilities and display modes.
class Screen {
  public:
    virtual ~Screen() = default;
    // window 0 means the whole screen. Every context obtained must be released.
    virtual DcHandle GetDC(WindowHandle window) = 0;
    virtual void ReleaseDC(WindowHandle window, DcHandle dc) = 0;
    virtual bool SetDeviceGammaRamp(DcHandle dc, const GammaRamp& ramp) = 0;
    virtual std::int32_t GetDeviceCaps(DcHandle dc, int index) = 0;
    virtual bool EnumDisplaySettings(std::int32_t modeNumber, DevModeA& mode) = 0;
    virtual std::int32_t ChangeDisplaySettings(const DevModeA& mode, std::uint32_t flags) = 0;
};

// Gives a context back on every path out of a scope.
class ScopedDc {
  public:
    ScopedDc(Screen& screen, WindowHandle window)
        : screen_(screen), window_(window), dc_(screen.GetDC(window)) {}
    ~ScopedDc() {
        if (dc_ != 0)
            screen_.ReleaseDC(window_, dc_);
    }
    ScopedDc(const ScopedDc&) = delete;
    ScopedDc& operator=(const ScopedDc&) = delete;
    DcHandle get() const { return dc_; }

  private:
    Screen& screen_;
    WindowHandle window_;
    DcHandle dc_;
};

} // namespace lumatone

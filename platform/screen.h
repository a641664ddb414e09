#pragma once

#include "platform/gamma_output.h"
#include "platform/handles.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumatone {

// Records keep their 32-bit layouts; a backend with other native sizes copies
// field by field.
// DEVMODEA up to dmDisplayFrequency: the 124-byte form.
struct DevModeA {
    char dmDeviceName[32] = {};
    std::uint16_t dmSpecVersion = 0;
    std::uint16_t dmDriverVersion = 0;
    std::uint16_t dmSize = 0;
    std::uint16_t dmDriverExtra = 0;
    std::uint32_t dmFields = 0;
    std::int32_t dmPositionX = 0; // or dmOrientation/dmPaperSize
    std::int32_t dmPositionY = 0; // or dmPaperLength/dmPaperWidth
    std::uint32_t dmDisplayOrientation = 0;
    std::uint32_t dmDisplayFixedOutput = 0;
    std::int16_t dmColor = 0;
    std::int16_t dmDuplex = 0;
    std::int16_t dmYResolution = 0;
    std::int16_t dmTTOption = 0;
    std::int16_t dmCollate = 0;
    char dmFormName[32] = {};
    std::uint16_t dmLogPixels = 0;
    std::uint32_t dmBitsPerPel = 0;
    std::uint32_t dmPelsWidth = 0;
    std::uint32_t dmPelsHeight = 0;
    std::uint32_t dmDisplayFlags = 0;
    std::uint32_t dmDisplayFrequency = 0;
};
static_assert(sizeof(DevModeA) == 124);

constexpr std::uint32_t kDmBitsPerPel = 0x00040000;
constexpr std::uint32_t kDmPelsWidth = 0x00080000;
constexpr std::uint32_t kDmPelsHeight = 0x00100000;
constexpr std::uint32_t kDmDisplayFrequency = 0x00400000;
constexpr std::int32_t kEnumRegistrySettings = -2;
constexpr std::uint32_t kCdsUpdateRegistry = 1;
constexpr std::uint32_t kCdsTest = 2;
constexpr std::uint32_t kCdsFullscreen = 4;
constexpr std::int32_t kDispChangeSuccessful = 0;
constexpr std::int32_t kDispChangeRestart = 1;
constexpr std::int32_t kDispChangeFailed = -1;
constexpr std::int32_t kDispChangeBadMode = -2;

constexpr int kHorzRes = 8;
constexpr int kVertRes = 10;
constexpr int kBitsPixel = 12;
constexpr int kVRefresh = 116;

// Device contexts, gamma ramps, capabilities, display modes and display devices.
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

    // The displays that are active and part of the desktop, mirrors left out.
    virtual std::vector<DisplayDevice> EnumDisplayDevices() = 0;
    // A context of one display, 0 when there is none; give it back with DeleteDC.
    virtual DcHandle CreateDisplayDC(const std::string& deviceName) = 0;
    virtual void DeleteDC(DcHandle dc) = 0;
    virtual bool GetDeviceGammaRamp(DcHandle dc, GammaRamp& ramp) = 0;
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

// A context of one display, deleted on every path out of a scope.
class ScopedDisplayDc {
  public:
    ScopedDisplayDc(Screen& screen, const std::string& deviceName)
        : screen_(screen), dc_(screen.CreateDisplayDC(deviceName)) {}
    ~ScopedDisplayDc() {
        if (dc_ != 0)
            screen_.DeleteDC(dc_);
    }
    ScopedDisplayDc(const ScopedDisplayDc&) = delete;
    ScopedDisplayDc& operator=(const ScopedDisplayDc&) = delete;
    DcHandle get() const { return dc_; }

  private:
    Screen& screen_;
    DcHandle dc_;
};

} // namespace lumatone

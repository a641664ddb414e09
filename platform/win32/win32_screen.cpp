#include "platform/win32/win32_screen.h"

#include "platform/win32/win32_windows.h"

#include <cstring>
#include <string>

namespace lumatone {

namespace {

HWND ToWindow(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
HDC ToDc(DcHandle dc) {
    return reinterpret_cast<HDC>(dc);
}

// The names are BYTE arrays in the platform's record and char in the core's.
template <typename To, typename From, std::size_t N>
void CopyName(To (&to)[N], const From (&from)[N]) {
    static_assert(sizeof(To) == 1 && sizeof(From) == 1);
    std::memcpy(to, from, N);
}

// The fields both records name alike. The core's record is the 124-byte form;
// the platform's is longer and has its own layout, so they go field by field.
template <typename From, typename To> void CopyCommonFields(const From& from, To& to) {
    CopyName(to.dmDeviceName, from.dmDeviceName);
    to.dmSpecVersion = from.dmSpecVersion;
    to.dmDriverVersion = from.dmDriverVersion;
    to.dmFields = from.dmFields;
    to.dmDisplayOrientation = from.dmDisplayOrientation;
    to.dmDisplayFixedOutput = from.dmDisplayFixedOutput;
    to.dmColor = from.dmColor;
    to.dmDuplex = from.dmDuplex;
    to.dmYResolution = from.dmYResolution;
    to.dmTTOption = from.dmTTOption;
    to.dmCollate = from.dmCollate;
    CopyName(to.dmFormName, from.dmFormName);
    to.dmLogPixels = from.dmLogPixels;
    to.dmBitsPerPel = from.dmBitsPerPel;
    to.dmPelsWidth = from.dmPelsWidth;
    to.dmPelsHeight = from.dmPelsHeight;
    to.dmDisplayFlags = from.dmDisplayFlags;
    to.dmDisplayFrequency = from.dmDisplayFrequency;
}

void ToNative(const DevModeA& from, DEVMODEA& to) {
    to = DEVMODEA{};
    to.dmSize = sizeof(DEVMODEA);
    CopyCommonFields(from, to);
    to.dmPosition.x = from.dmPositionX;
    to.dmPosition.y = from.dmPositionY;
}

void FromNative(const DEVMODEA& from, DevModeA& to) {
    CopyCommonFields(from, to);
    to.dmSize = sizeof(DevModeA);
    to.dmDriverExtra = 0;
    to.dmPositionX = from.dmPosition.x;
    to.dmPositionY = from.dmPosition.y;
}

} // namespace

DcHandle Win32Screen::GetDC(WindowHandle window) {
    return reinterpret_cast<DcHandle>(::GetDC(ToWindow(window)));
}

void Win32Screen::ReleaseDC(WindowHandle window, DcHandle dc) {
    if (dc != 0)
        ::ReleaseDC(ToWindow(window), ToDc(dc));
}

bool Win32Screen::SetDeviceGammaRamp(DcHandle dc, const GammaRamp& ramp) {
    if (dc == 0)
        return false;
    // The call takes a writable pointer; hand it a copy rather than cast away const.
    WORD words[3][256];
    std::memcpy(words, ramp.data(), sizeof(words));
    return ::SetDeviceGammaRamp(ToDc(dc), words) != FALSE;
}

std::int32_t Win32Screen::GetDeviceCaps(DcHandle dc, int index) {
    if (dc == 0)
        return 0;
    return ::GetDeviceCaps(ToDc(dc), index);
}

bool Win32Screen::EnumDisplaySettings(std::int32_t modeNumber, DevModeA& mode) {
    DEVMODEA native{};
    native.dmSize = sizeof(native);
    if (!::EnumDisplaySettingsA(nullptr, static_cast<DWORD>(modeNumber), &native))
        return false;
    FromNative(native, mode);
    return true;
}

std::int32_t Win32Screen::ChangeDisplaySettings(const DevModeA& mode, std::uint32_t flags) {
    DEVMODEA native;
    ToNative(mode, native);
    return ::ChangeDisplaySettingsA(&native, flags);
}

std::vector<DisplayDevice> Win32Screen::EnumDisplayDevices() {
    std::vector<DisplayDevice> devices;
    DISPLAY_DEVICEA device{};
    device.cb = sizeof(device);
    for (DWORD i = 0; ::EnumDisplayDevicesA(nullptr, i, &device, 0); ++i) {
        // For an adapter, ACTIVE and ATTACHED_TO_DESKTOP are the same bit.
        if ((device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) != 0 &&
            (device.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER) == 0)
            devices.push_back({std::string(device.DeviceName,
                                           strnlen(device.DeviceName, sizeof device.DeviceName)),
                               (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) != 0});
        device = DISPLAY_DEVICEA{};
        device.cb = sizeof(device);
    }
    return devices;
}

DcHandle Win32Screen::CreateDisplayDC(const std::string& deviceName) {
    if (deviceName.empty())
        return 0;
    return reinterpret_cast<DcHandle>(::CreateDCA("DISPLAY", deviceName.c_str(), nullptr, nullptr));
}

void Win32Screen::DeleteDC(DcHandle dc) {
    if (dc != 0)
        ::DeleteDC(ToDc(dc));
}

bool Win32Screen::GetDeviceGammaRamp(DcHandle dc, GammaRamp& ramp) {
    if (dc == 0)
        return false;
    WORD words[3][256];
    if (!::GetDeviceGammaRamp(ToDc(dc), words))
        return false;
    std::memcpy(ramp.data(), words, sizeof(words));
    return true;
}

} // namespace lumatone

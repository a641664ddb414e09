// Fixed-layout records exchanged with the operating system. They keep the
// 32-bit layouts; a backend with other native sizes copies field by field.
#pragma once

#include <array>
#include <cstdint>

namespace lumatone {

// 256 red, 256 green, 256 blue words, as SetDeviceGammaRamp takes them.
using GammaRamp = std::array<std::uint16_t, 768>;

struct OsVersionInfo {
    std::uint32_t platformId = 0;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
};

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
constexpr std::uint32_t kCdsFullscreen = 4;
constexpr std::int32_t kDispChangeSuccessful = 0;
constexpr std::int32_t kDispChangeRestart = 1;
constexpr std::int32_t kDispChangeBadMode = -2;

constexpr int kHorzRes = 8;
constexpr int kVertRes = 10;
constexpr int kBitsPixel = 12;
constexpr int kVRefresh = 116;

// NOTIFYICONDATAA in its first, 88-byte form (window handle 32 bits wide).
struct NotifyIconData {
    std::uint32_t cbSize = 0;
    std::uint32_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uint32_t hIcon = 0;
    char szTip[64] = {};
};
static_assert(sizeof(NotifyIconData) == 88);

constexpr std::uint32_t kNimAdd = 0;
constexpr std::uint32_t kNimModify = 1;
constexpr std::uint32_t kNimDelete = 2;

// MIXERCONTROLA as the volume module keeps it: one reserved word longer
// than the published record, 152 bytes.
struct MixerControl {
    std::uint32_t cbStruct = 0;
    std::uint32_t dwControlID = 0;
    std::uint32_t dwControlType = 0;
    std::uint32_t fdwControl = 0;
    std::uint32_t cMultipleItems = 0;
    char szShortName[16] = {};
    char szName[64] = {};
    std::int32_t lMinimum = 0;
    std::int32_t lMaximum = 0;
    std::uint32_t reserved[11] = {};
};
static_assert(sizeof(MixerControl) == 152);

// MIXERLINEA in its 32-bit layout (168 bytes).
struct MixerLine {
    std::uint32_t cbStruct = 0;
    std::uint32_t dwDestination = 0;
    std::uint32_t dwSource = 0;
    std::uint32_t dwLineID = 0;
    std::uint32_t fdwLine = 0;
    std::uint32_t dwUser = 0;
    std::uint32_t dwComponentType = 0;
    std::uint32_t cChannels = 0;
    std::uint32_t cConnections = 0;
    std::uint32_t cControls = 0;
    char szShortName[16] = {};
    char szName[64] = {};
    std::uint32_t targetType = 0;
    std::uint32_t targetDeviceID = 0;
    std::uint16_t targetMid = 0;
    std::uint16_t targetPid = 0;
    std::uint32_t targetDriverVersion = 0;
    char targetPname[32] = {};
};
static_assert(sizeof(MixerLine) == 168);

// MIXERLINECONTROLSA. The transfer buffer is named by a handle of the
// memory service rather than a raw pointer, so the record has no width.
struct MixerLineControls {
    std::uint32_t cbStruct = 0;
    std::uint32_t dwLineID = 0;
    std::uint32_t dwControlType = 0;
    std::uint32_t cControls = 0;
    std::uint32_t cbmxctrl = 0;
    std::uint8_t* pamxctrl = nullptr;
};

// MIXERCONTROLDETAILS, likewise with a plain pointer to the details buffer.
struct MixerControlDetails {
    std::uint32_t cbStruct = 0;
    std::uint32_t dwControlID = 0;
    std::uint32_t cChannels = 0;
    std::uint32_t cMultipleItems = 0;
    std::uint32_t cbDetails = 0;
    std::uint8_t* paDetails = nullptr;
};

constexpr std::uint32_t kMixerLineComponentTypeDstSpeakers = 4;
constexpr std::uint32_t kMixerControlTypeVolume = 0x50030001;
constexpr std::uint32_t kMixerGetLineInfoComponentType = 3;
constexpr std::uint32_t kMixerGetLineControlsOneByType = 2;
constexpr std::uint32_t kMixerGetControlDetailsValue = 0;
constexpr std::uint32_t kMixerSetControlDetailsValue = 0;
constexpr std::uint32_t kMmSysErrNoError = 0;
constexpr std::uint32_t kMmSysErrError = 1;
constexpr std::uint32_t kMmSysErrBadDeviceId = 2;
constexpr std::uint32_t kMmSysErrInvalHandle = 5;
constexpr std::uint32_t kMmSysErrInvalParam = 11;
constexpr std::uint32_t kMixerErrInvalLine = 1024;
constexpr std::uint32_t kMixerErrInvalControl = 1025;

constexpr int kSwShowNormal = 1;
constexpr int kSwShowMinimized = 2;

constexpr std::uint32_t kMbOk = 0;
constexpr std::uint32_t kMbYesNo = 4;
constexpr std::uint32_t kMbIconWarning = 0x30;
constexpr std::uint32_t kMbSystemModal = 4096;

} // namespace lumatone

#pragma once

#include "platform/handles.h"

#include <cstddef>
#include <cstdint>

namespace lumatone {

// Records keep their 32-bit layouts; a backend with other native sizes copies
// field by field.
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
// mixerOpen's CALLBACK_WINDOW, and what the mixer then posts to that window:
// wParam the handle, lParam the line or control that changed.
constexpr std::uint32_t kMixerCallbackWindow = 0x00010000;
constexpr std::uint32_t kMmMixmLineChange = 0x3D0;
constexpr std::uint32_t kMmMixmControlChange = 0x3D1;

// The seven winmm mixer operations.
class Mixer {
  public:
    virtual ~Mixer() = default;
    virtual std::uint32_t GetNumDevs() = 0;
    // With flags kMixerCallbackWindow, changes are posted to `callback`.
    virtual std::uint32_t Open(MixerHandle& handle, std::uint32_t device, WindowHandle callback,
                               std::uint32_t flags) = 0;
    std::uint32_t Open(MixerHandle& handle, std::uint32_t device, std::uint32_t flags) {
        return Open(handle, device, 0, flags);
    }
    virtual std::uint32_t GetLineInfo(MixerHandle handle, MixerLine& line, std::uint32_t flags) = 0;
    virtual std::uint32_t GetLineControls(MixerHandle handle, MixerLineControls& request,
                                          std::uint32_t flags) = 0;
    virtual std::uint32_t GetControlDetails(MixerHandle handle, MixerControlDetails& request,
                                            std::uint32_t flags) = 0;
    virtual std::uint32_t SetControlDetails(MixerHandle handle, const MixerControlDetails& request,
                                            std::uint32_t flags) = 0;
    virtual std::uint32_t Close(MixerHandle handle) = 0;
};

// Zero-filled transfer buffers (GlobalAlloc/GlobalFree on Windows).
class Memory {
  public:
    virtual ~Memory() = default;
    virtual std::uint8_t* Allocate(std::size_t bytes) = 0;
    virtual void Free(std::uint8_t* buffer) = 0;
};

// Frees a transfer buffer on every path out of a scope.
class TransferBuffer {
  public:
    TransferBuffer(Memory& memory, std::size_t bytes)
        : memory_(memory), data_(memory.Allocate(bytes)) {}
    ~TransferBuffer() {
        if (data_ != nullptr)
            memory_.Free(data_);
    }
    TransferBuffer(const TransferBuffer&) = delete;
    TransferBuffer& operator=(const TransferBuffer&) = delete;
    std::uint8_t* data() const { return data_; }

  private:
    Memory& memory_;
    std::uint8_t* data_;
};

} // namespace lumatone

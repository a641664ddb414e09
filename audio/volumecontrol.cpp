#include "audio/volumecontrol.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace lumatone {
namespace {

// The platform's 32-bit record sizes; a backend with wider pointers
// translates them.
constexpr std::uint32_t kLineRecordBytes = 168;
constexpr std::uint32_t kRequestBytes = 24;
constexpr std::uint32_t kControlRecordBytes = sizeof(MixerControl);
constexpr std::uint32_t kValueBytes = 4;

// n / d rounded to nearest, halfway cases to even; d > 0. |n| stays below
// 2^40 here, so nothing overflows.
std::int64_t DivideRoundingToEven(std::int64_t n, std::int64_t d) {
    if (n < 0)
        return -DivideRoundingToEven(-n, d);
    std::int64_t q = n / d;
    const std::int64_t twiceRest = 2 * (n % d);
    if (twiceRest > d || (twiceRest == d && q % 2 != 0))
        ++q;
    return q;
}

std::uint32_t Bits(std::int32_t bound) {
    return static_cast<std::uint32_t>(bound);
}

// Closes a handle of SetVolume's own on every way out.
class OwnHandle {
  public:
    explicit OwnHandle(Mixer& mixer) : mixer_(mixer) {}
    ~OwnHandle() {
        if (handle != 0)
            mixer_.Close(handle);
    }
    OwnHandle(const OwnHandle&) = delete;
    OwnHandle& operator=(const OwnHandle&) = delete;
    MixerHandle handle = 0;

  private:
    Mixer& mixer_;
};

MixerControlDetails ValueRequest(const MixerControl& control, std::uint8_t* value) {
    MixerControlDetails request;
    request.cbStruct = kRequestBytes;
    request.dwControlID = control.dwControlID;
    request.cChannels = 1;
    request.cMultipleItems = 0;
    request.cbDetails = kValueBytes;
    request.paDetails = value;
    return request;
}

} // namespace

std::optional<std::uint32_t> PercentToControlValue(std::int32_t percent, std::uint32_t minimum,
                                                   std::uint32_t maximum) {
    if (percent < 0 || percent > 100 || maximum <= minimum)
        return std::nullopt;
    const std::int64_t span = static_cast<std::int64_t>(maximum) - minimum;
    return static_cast<std::uint32_t>(minimum + DivideRoundingToEven(percent * span, 100));
}

std::optional<std::int32_t> ControlValueToPercent(std::uint32_t raw, std::uint32_t minimum,
                                                  std::uint32_t maximum) {
    if (maximum <= minimum)
        return std::nullopt;
    const std::int64_t span = static_cast<std::int64_t>(maximum) - minimum;
    const std::int64_t offset = static_cast<std::int64_t>(raw) - minimum;
    std::int64_t percent = DivideRoundingToEven(offset * 100, span);
    percent = std::max<std::int64_t>(percent, std::numeric_limits<std::int32_t>::min());
    percent = std::min<std::int64_t>(percent, std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(percent);
}

VolumeControl::~VolumeControl() {
    CloseMixer();
}

bool VolumeControl::SetVolume(std::int32_t percent) {
    if (percent < 0 || percent > 100)
        return false;
    OwnHandle mixer(mixer_);
    if (mixer_.Open(mixer.handle, 0, 0) != kMmSysErrNoError) {
        // A failed open owns nothing, whatever it left in the handle.
        mixer.handle = 0;
        return false;
    }
    MixerControl control;
    if (!GetVolumeControl(mixer.handle, kMixerLineComponentTypeDstSpeakers, kMixerControlTypeVolume,
                          control))
        return false;
    const auto value =
        PercentToControlValue(percent, Bits(control.lMinimum), Bits(control.lMaximum));
    if (!value)
        return false;
    TransferBuffer buffer(memory_, kValueBytes);
    if (buffer.data() == nullptr)
        return false;
    std::memcpy(buffer.data(), &*value, kValueBytes);
    return mixer_.SetControlDetails(mixer.handle, ValueRequest(control, buffer.data()),
                                    kMixerSetControlDetailsValue) == kMmSysErrNoError;
}

bool VolumeControl::OpenMixer(std::int32_t device, WindowHandle notices) {
    // Never lose a handle still open from an earlier call.
    CloseMixer();
    const std::uint32_t count = mixer_.GetNumDevs();
    if (device < 0 || static_cast<std::uint32_t>(device) >= count)
        return false;
    const std::uint32_t flags = notices != 0 ? kMixerCallbackWindow : 0;
    if (mixer_.Open(hMixer_, static_cast<std::uint32_t>(device), notices, flags) !=
        kMmSysErrNoError) {
        hMixer_ = 0;
        return false;
    }
    slotCurrent_[0] = GetVolumeControl(hMixer_, kMixerLineComponentTypeDstSpeakers,
                                       kMixerControlTypeVolume, volumeControls_[0]);
    return true;
}

std::optional<std::int32_t> VolumeControl::ReadVolume(std::int32_t slot) {
    if (slot < 0 || slot >= kSlots || hMixer_ == 0)
        return std::nullopt;
    const auto i = static_cast<std::size_t>(slot);
    if (!slotCurrent_[i])
        return std::nullopt;
    return GetVolumeLevel(hMixer_, volumeControls_[i]);
}

std::uint32_t VolumeControl::CloseMixer() {
    slotCurrent_.fill(false);
    if (hMixer_ == 0)
        return kMmSysErrInvalHandle;
    const std::uint32_t result = mixer_.Close(hMixer_);
    hMixer_ = 0;
    return result;
}

bool VolumeControl::GetVolumeControl(MixerHandle mixer, std::uint32_t componentType,
                                     std::uint32_t controlType, MixerControl& control) {
    MixerLine line;
    line.cbStruct = kLineRecordBytes;
    line.dwComponentType = componentType;
    if (mixer_.GetLineInfo(mixer, line, kMixerGetLineInfoComponentType) != kMmSysErrNoError)
        return false;

    TransferBuffer buffer(memory_, kControlRecordBytes);
    if (buffer.data() == nullptr)
        return false;
    MixerLineControls request;
    request.cbStruct = kRequestBytes;
    request.dwLineID = line.dwLineID;
    request.dwControlType = controlType;
    request.cControls = 1;
    request.cbmxctrl = kControlRecordBytes;
    request.pamxctrl = buffer.data();

    control.cbStruct = kControlRecordBytes;
    if (mixer_.GetLineControls(mixer, request, kMixerGetLineControlsOneByType) != kMmSysErrNoError)
        return false;
    std::memcpy(&control, buffer.data(), kControlRecordBytes);
    return true;
}

std::optional<std::int32_t> VolumeControl::GetVolumeLevel(MixerHandle mixer,
                                                          const MixerControl& control) {
    TransferBuffer buffer(memory_, kValueBytes);
    if (buffer.data() == nullptr)
        return std::nullopt;
    MixerControlDetails request = ValueRequest(control, buffer.data());
    if (mixer_.GetControlDetails(mixer, request, kMixerGetControlDetailsValue) != kMmSysErrNoError)
        return std::nullopt;
    std::uint32_t raw = 0;
    std::memcpy(&raw, buffer.data(), kValueBytes);
    return ControlValueToPercent(raw, Bits(control.lMinimum), Bits(control.lMaximum));
}

} // namespace lumatone

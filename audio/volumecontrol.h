// Master volume through the multimedia mixer.
#pragma once

#include "platform/mixer.h"

#include <array>
#include <cstdint>
#include <optional>

namespace lumatone {

// The raw value a control of range minimum..maximum takes for a percentage
// 0..100, and the percentage a raw value reads as. The bounds and values are
// the platform's unsigned 32-bit ones. The two are exact inverses whenever
// the range has at least 100 steps; with fewer, a percentage read back writes
// the very raw value it came from, so a poll never drifts. nullopt for a
// percentage outside 0..100 or a range with no span.
std::optional<std::uint32_t> PercentToControlValue(std::int32_t percent, std::uint32_t minimum,
                                                   std::uint32_t maximum);
// A raw value outside the range gives a percentage outside 0..100 (saturated
// to 32 bits) rather than a plausible one.
std::optional<std::int32_t> ControlValueToPercent(std::uint32_t raw, std::uint32_t minimum,
                                                  std::uint32_t maximum);

class VolumeControl {
  public:
    static constexpr std::int32_t kSlots = 21;

    VolumeControl(Mixer& mixer, Memory& memory) : mixer_(mixer), memory_(memory) {}
    VolumeControl(const VolumeControl&) = delete;
    VolumeControl& operator=(const VolumeControl&) = delete;
    ~VolumeControl();

    // Opens, sets and closes device 0 on a handle of its own.
    bool SetVolume(std::int32_t percent);
    // Opens `device` for ReadVolume and looks up its master volume into slot 0;
    // with a window, the mixer posts its changes there while the handle is open.
    bool OpenMixer(std::int32_t device, WindowHandle notices = 0);
    // The level through a slot filled since the last OpenMixer; nullopt when
    // nothing was read (no open mixer, no control found, a failed read).
    std::optional<std::int32_t> ReadVolume(std::int32_t slot);
    std::uint32_t CloseMixer();

    bool GetVolumeControl(MixerHandle mixer, std::uint32_t componentType, std::uint32_t controlType,
                          MixerControl& control);
    std::optional<std::int32_t> GetVolumeLevel(MixerHandle mixer, const MixerControl& control);

    MixerHandle OpenHandle() const { return hMixer_; }
    const std::array<MixerControl, kSlots>& VolumeControls() const { return volumeControls_; }

  private:
    Mixer& mixer_;
    Memory& memory_;
    MixerHandle hMixer_ = 0;
    std::array<MixerControl, kSlots> volumeControls_{};
    // A slot keeps its record when a later lookup fails, but only a record
    // found on the open handle may be read through.
    std::array<bool, kSlots> slotCurrent_{};
};

} // namespace lumatone

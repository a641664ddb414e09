// Master volume through the multimedia mixer.
#pragma once

#include "platform/mixer.h"

#include <array>
#include <cstdint>
#include <optional>

namespace lumatone {

class VolumeControl {
  public:
    VolumeControl(Mixer& mixer, Memory& memory) : mixer_(mixer), memory_(memory) {}
    bool SetVolume(std::int32_t percent);
    bool OpenMixer(std::int32_t device);
    // nullopt when nothing was read.
    std::optional<std::int32_t> ReadVolume(std::int32_t slot);
    std::uint32_t CloseMixer();

  private:
    Mixer& mixer_;
    Memory& memory_;
    MixerHandle hMixer_ = 0;
    std::array<MixerControl, 21> volumeControls_{};
};

} // namespace lumatone

// The master volume through the mixer's volume control.
#pragma once

#include "audio/volumecontrol.h"
#include "platform/master_volume.h"

namespace lumatone {

// A poll opens device 0 once for all its reads; a level is set on a handle
// of its own, as SetVolume does.
class MixerMasterVolume : public MasterVolume {
  public:
    MixerMasterVolume(Mixer& mixer, Memory& memory) : mixer_(mixer), volume_(mixer, memory) {}
    bool Present() override;
    std::optional<std::int32_t> Read() override;
    bool Set(std::int32_t percent) override;
    void BeginPoll() override;
    void EndPoll() override;

  private:
    Mixer& mixer_;
    VolumeControl volume_;
    bool polling_ = false;
};

} // namespace lumatone

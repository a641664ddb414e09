#pragma once

#include "platform/mixer.h"

#include <memory>

namespace lumatone {

// The default sink of the PulseAudio (or PipeWire) server as one mixer
// device: the speakers line with one volume control, 0 to 65535. Without a
// server there are no devices.
class LinuxMixer : public Mixer {
  public:
    LinuxMixer();
    ~LinuxMixer() override;
    LinuxMixer(const LinuxMixer&) = delete;
    LinuxMixer& operator=(const LinuxMixer&) = delete;

    std::uint32_t GetNumDevs() override;
    std::uint32_t Open(MixerHandle& handle, std::uint32_t device, std::uint32_t flags) override;
    std::uint32_t GetLineInfo(MixerHandle handle, MixerLine& line, std::uint32_t flags) override;
    std::uint32_t GetLineControls(MixerHandle handle, MixerLineControls& request,
                                  std::uint32_t flags) override;
    std::uint32_t GetControlDetails(MixerHandle handle, MixerControlDetails& request,
                                    std::uint32_t flags) override;
    std::uint32_t SetControlDetails(MixerHandle handle, const MixerControlDetails& request,
                                    std::uint32_t flags) override;
    std::uint32_t Close(MixerHandle handle) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace lumatone

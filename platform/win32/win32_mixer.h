#pragma once

#include "platform/mixer.h"

namespace lumatone {

class Win32Mixer : public Mixer {
  public:
    using Mixer::Open;
    std::uint32_t GetNumDevs() override;
    std::uint32_t Open(MixerHandle& handle, std::uint32_t device, WindowHandle callback,
                       std::uint32_t flags) override;
    std::uint32_t GetLineInfo(MixerHandle handle, MixerLine& line, std::uint32_t flags) override;
    std::uint32_t GetLineControls(MixerHandle handle, MixerLineControls& request,
                                  std::uint32_t flags) override;
    std::uint32_t GetControlDetails(MixerHandle handle, MixerControlDetails& request,
                                    std::uint32_t flags) override;
    std::uint32_t SetControlDetails(MixerHandle handle, const MixerControlDetails& request,
                                    std::uint32_t flags) override;
    std::uint32_t Close(MixerHandle handle) override;
};

} // namespace lumatone

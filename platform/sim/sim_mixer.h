#pragma once

#include "platform/mixer.h"

#include <cstdint>
#include <set>

namespace lumatone {

// A mixer with no devices until a test adds one (filled in with the volume module).
class SimMixer : public Mixer {
  public:
    std::uint32_t GetNumDevs() override { return 0; }
    std::uint32_t Open(MixerHandle& handle, std::uint32_t, std::uint32_t) override {
        handle = 0;
        return kMmSysErrBadDeviceId;
    }
    std::uint32_t GetLineInfo(MixerHandle, MixerLine&, std::uint32_t) override {
        return kMmSysErrInvalHandle;
    }
    std::uint32_t GetLineControls(MixerHandle, MixerLineControls&, std::uint32_t) override {
        return kMmSysErrInvalHandle;
    }
    std::uint32_t GetControlDetails(MixerHandle, MixerControlDetails&, std::uint32_t) override {
        return kMmSysErrInvalHandle;
    }
    std::uint32_t SetControlDetails(MixerHandle, const MixerControlDetails&,
                                    std::uint32_t) override {
        return kMmSysErrInvalHandle;
    }
    std::uint32_t Close(MixerHandle) override { return kMmSysErrInvalHandle; }
};

} // namespace lumatone

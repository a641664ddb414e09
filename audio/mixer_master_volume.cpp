#include "audio/mixer_master_volume.h"

namespace lumatone {

bool MixerMasterVolume::Present() {
    return mixer_.GetNumDevs() > 0;
}

std::optional<std::int32_t> MixerMasterVolume::Read() {
    if (polling_)
        return volume_.ReadVolume(0);
    volume_.OpenMixer(0);
    const auto level = volume_.ReadVolume(0);
    volume_.CloseMixer();
    return level;
}

bool MixerMasterVolume::Set(std::int32_t percent) {
    return volume_.SetVolume(percent);
}

void MixerMasterVolume::BeginPoll() {
    volume_.OpenMixer(0);
    polling_ = true;
}

void MixerMasterVolume::EndPoll() {
    volume_.CloseMixer();
    polling_ = false;
}

} // namespace lumatone

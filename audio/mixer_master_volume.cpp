#include "audio/mixer_master_volume.h"

namespace lumatone {

bool MixerMasterVolume::Present() {
    return mixer_.GetNumDevs() > 0;
}

std::optional<std::int32_t> MixerMasterVolume::Read() {
    if (!polling_) {
        volume_.OpenMixer(0);
        const auto level = volume_.ReadVolume(0);
        volume_.CloseMixer();
        return level;
    }
    if (window_ == 0)
        return volume_.ReadVolume(0);
    // A second read in one poll wants the mixer's own answer.
    if (changed_ || readsThisPoll_ > 0) {
        level_ = volume_.ReadVolume(0);
        changed_ = false;
        if (!level_)
            reopen_ = true;
    }
    ++readsThisPoll_;
    return level_;
}

bool MixerMasterVolume::Set(std::int32_t percent) {
    // The mixer may not tell the writer of its own change.
    changed_ = true;
    return volume_.SetVolume(percent);
}

void MixerMasterVolume::BeginPoll() {
    polling_ = true;
    readsThisPoll_ = 0;
    if (window_ == 0) {
        volume_.OpenMixer(0);
        return;
    }
    if (reopen_ || volume_.OpenHandle() == 0 || ++pollsSinceOpen_ >= kPollsPerCheck) {
        volume_.OpenMixer(0, window_);
        reopen_ = false;
        changed_ = true;
        pollsSinceOpen_ = 0;
    }
}

void MixerMasterVolume::EndPoll() {
    polling_ = false;
    if (window_ == 0)
        volume_.CloseMixer();
}

void MixerMasterVolume::SendNoticesTo(WindowHandle window) {
    if (window == window_)
        return;
    volume_.CloseMixer();
    window_ = window;
    level_.reset();
    reopen_ = true;
}

void MixerMasterVolume::OnMixerNotice(std::uint32_t message, MixerHandle handle, std::uint32_t id) {
    // A handle closed since may still have notices on their way.
    if (window_ == 0 || handle == 0 || handle != volume_.OpenHandle())
        return;
    if (message == kMmMixmLineChange)
        reopen_ = true;
    else if (message == kMmMixmControlChange && id == volume_.VolumeControls()[0].dwControlID)
        changed_ = true;
}

} // namespace lumatone

// The master volume through the mixer's volume control.
#pragma once

#include "audio/volumecontrol.h"
#include "platform/master_volume.h"

namespace lumatone {

// A poll opens device 0 once for all its reads; a level is set on a handle
// of its own, as SetVolume does.
//
// Once the mixer has a window to post its changes to, the poll's handle stays
// open between polls and the level is read only when the mixer said it
// changed. The handle is opened afresh, with a new lookup and read, when the
// line changed, a read failed, a device came or went, and every
// kPollsPerCheck polls in case a notice was lost.
class MixerMasterVolume : public MasterVolume {
  public:
    // Timer3 polls every 100 ms: a check every 2 s.
    static constexpr int kPollsPerCheck = 20;

    MixerMasterVolume(Mixer& mixer, Memory& memory) : mixer_(mixer), volume_(mixer, memory) {}
    bool Present() override;
    std::optional<std::int32_t> Read() override;
    bool Set(std::int32_t percent) override;
    void BeginPoll() override;
    void EndPoll() override;

    // Where the mixer posts its changes from now on; 0 to poll without them.
    void SendNoticesTo(WindowHandle window);
    // A notice the mixer posted: kMmMixmControlChange or kMmMixmLineChange,
    // with the handle and the control or line it names.
    void OnMixerNotice(std::uint32_t message, MixerHandle handle, std::uint32_t id);
    // The system's devices changed: a sound card may have come or gone.
    void OnDeviceChange() { reopen_ = true; }

  private:
    Mixer& mixer_;
    VolumeControl volume_;
    bool polling_ = false;

    WindowHandle window_ = 0;
    bool reopen_ = false;  // the next poll opens afresh
    bool changed_ = false; // the next read asks the mixer
    int pollsSinceOpen_ = 0;
    int readsThisPoll_ = 0;
    std::optional<std::int32_t> level_;
};

} // namespace lumatone

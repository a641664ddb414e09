#pragma once

#include "platform/mixer.h"

#include <cstdint>
#include <map>
#include <vector>

namespace lumatone {

// winmm answers a handle whose device has gone away with MMSYSERR_NODRIVER.
constexpr std::uint32_t kSimMixerNoDriver = 6;

// Mixer devices in memory. Each has a speakers destination line carrying one
// master-volume control; the level is the raw value the sound card plays.
// Requests are checked field by field, as a strict driver would, so a
// malformed record or an out-of-range value is refused rather than guessed.
class SimMixer : public Mixer {
  public:
    struct Device {
        bool hasSpeakers = true;
        bool hasVolume = true;
        std::uint32_t lineId = 0xFFFF0000;
        std::uint32_t controlId = 1;
        // The platform's bounds of a volume control are unsigned.
        std::uint32_t minimum = 0;
        std::uint32_t maximum = 65535;
        std::uint32_t level = 65535;
    };

    // Notice stands for each message the mixer would post; failing it loses that message.
    enum class Op {
        Open,
        GetLineInfo,
        GetLineControls,
        GetControlDetails,
        SetControlDetails,
        Notice
    };

    // A message posted to a handle's callback window, waiting to be taken.
    struct Notice {
        WindowHandle window = 0;
        std::uint32_t message = 0;
        MixerHandle handle = 0;
        std::uint32_t id = 0; // the line's or the control's
    };

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

    // Device 0, which the program uses. Tests must not call these with no device.
    Device& Main() { return devices.front(); }
    void SetRange(std::uint32_t minimum, std::uint32_t maximum, std::uint32_t level);
    // A change made outside the program (the system's volume control).
    void SetLevelOutside(std::uint32_t level);
    // The line of device 0 changed outside the program (tests change Main() first).
    void ChangeLineOutside();
    std::uint32_t Level() { return Main().level; }
    // Unplugs device `index`: later numbering shifts down, handles on it go dead.
    void LoseDevice(std::size_t index = 0);
    // After `after` more calls of `op` succeed, the next `times` fail with `code`.
    void FailNext(Op op, std::uint32_t code = kMmSysErrError, int times = 1, int after = 0) {
        failures_[op] = {code, times, after};
    }

    std::vector<Device> devices{Device{}};
    // Posted and not yet taken, oldest first.
    std::vector<Notice> posted;

    // Counters.
    std::int64_t OpenHandles() const { return static_cast<std::int64_t>(handles_.size()); }
    std::uint64_t opens = 0;
    std::uint64_t closes = 0;
    std::uint64_t getCalls = 0;        // value reads
    std::uint64_t setCalls = 0;        // value writes, accepted or not
    std::vector<std::uint32_t> writes; // values accepted, in order
    std::uint64_t lineControlQueries = 0;

  private:
    struct Failure {
        std::uint32_t code = 0;
        int times = 0;
        int after = 0;
    };
    bool Fails(Op op, std::uint32_t& code);
    // Follows tests that add or clear `devices` directly.
    void SyncKeys();
    // The device behind a live handle, or null with the error code to answer.
    Device* Lookup(MixerHandle handle, std::uint32_t& code);
    std::uint32_t CheckDetails(const MixerControlDetails& request, std::uint32_t flags,
                               std::uint32_t expectedFlags, Device& d) const;

    struct HandleInfo {
        std::uint64_t device = 0; // its key
        WindowHandle window = 0;  // where its notices go, 0 for none
    };
    // Posts `message` to every handle on device `index` that asked for notices.
    void Post(std::size_t index, std::uint32_t message, std::uint32_t id);

    std::map<Op, Failure> failures_;
    std::map<MixerHandle, HandleInfo> handles_;
    // Stable identity of each entry of `devices`, so a lost device can be told apart.
    std::vector<std::uint64_t> keys_{1};
    std::uint64_t nextKey_ = 2;
    MixerHandle nextHandle_ = 0x2000;
};

} // namespace lumatone

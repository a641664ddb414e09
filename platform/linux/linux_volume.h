#pragma once

#include "platform/master_volume.h"

#include <memory>

namespace lumatone {

// The volume of the PulseAudio (or PipeWire) server's default sink, in
// percent of its normal level: its loudest channel, louder settings read as
// 100 and a muted sink as 0. Without a server there is no master volume.
//
// The sink is followed on a thread of its own through the server's change
// events, so a call answers from the last state heard at once, also while the
// server hangs; a level is sent without waiting for the answer. A server that
// goes away is looked for again after 1 s, then less and less often, up to
// every 30 s.
class LinuxVolume : public MasterVolume {
  public:
    LinuxVolume();
    ~LinuxVolume() override;
    LinuxVolume(const LinuxVolume&) = delete;
    LinuxVolume& operator=(const LinuxVolume&) = delete;

    bool Present() override;
    std::optional<std::int32_t> Read() override;
    // Scales every channel together, so their balance stays; a level equal
    // to what Read gives writes nothing (a louder than normal sink stays as
    // it is, and so does a muted one at 0); above 0 it also unmutes.
    bool Set(std::int32_t percent) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace lumatone

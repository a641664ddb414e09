#pragma once

#include "platform/master_volume.h"

#include <memory>

namespace lumatone {

// The volume of the PulseAudio (or PipeWire) server's default sink, in
// percent of its normal level; louder settings read as 100. Without a server
// there is no master volume.
class LinuxVolume : public MasterVolume {
  public:
    LinuxVolume();
    ~LinuxVolume() override;

    bool Present() override;
    std::optional<std::int32_t> Read() override;
    bool Set(std::int32_t percent) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace lumatone

// The system's master volume.
#pragma once

#include <cstdint>
#include <optional>

namespace lumatone {

class MasterVolume {
  public:
    virtual ~MasterVolume() = default;
    // Whether there is a master volume to set at all.
    virtual bool Present() = 0;
    // The level in percent, 0..100; nullopt when it cannot be read now.
    virtual std::optional<std::int32_t> Read() = 0;
    // true when the system took the level.
    virtual bool Set(std::int32_t percent) = 0;
    // Brackets the reads of one poll, so that they share one connection
    // where the system has such a thing; Read works outside them too.
    virtual void BeginPoll() {}
    virtual void EndPoll() {}
};

} // namespace lumatone

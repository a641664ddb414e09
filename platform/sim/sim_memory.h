#pragma once

#include "platform/mixer.h"

#include <cstdint>
#include <map>
#include <vector>

namespace lumatone {

// Zero-filled buffers, counted so a test can prove none is left behind.
class SimMemory : public Memory {
  public:
    std::uint8_t* Allocate(std::size_t bytes) override;
    void Free(std::uint8_t* buffer) override;
    std::int64_t outstanding = 0;
    std::uint64_t allocations = 0;
    bool failAllocations = false;

  private:
    std::map<std::uint8_t*, std::vector<std::uint8_t>> live_;
};

} // namespace lumatone

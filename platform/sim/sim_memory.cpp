#include "platform/sim/sim_memory.h"

namespace lumatone {

std::uint8_t* SimMemory::Allocate(std::size_t bytes) {
    if (failAllocations)
        return nullptr;
    std::vector<std::uint8_t> block(bytes == 0 ? 1 : bytes, 0);
    std::uint8_t* p = block.data();
    live_.emplace(p, std::move(block));
    ++outstanding;
    ++allocations;
    return p;
}

void SimMemory::Free(std::uint8_t* buffer) {
    if (live_.erase(buffer) > 0)
        --outstanding;
}

} // namespace lumatone

#pragma once

#include "platform/mixer.h"

namespace lumatone {

// Zero-filled transfer buffers from the C heap.
class PortableMemory : public Memory {
  public:
    std::uint8_t* Allocate(std::size_t bytes) override;
    void Free(std::uint8_t* buffer) override;
};

} // namespace lumatone

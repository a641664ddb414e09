#pragma once

#include "platform/mixer.h"

namespace lumatone {

class Win32Memory : public Memory {
  public:
    std::uint8_t* Allocate(std::size_t bytes) override;
    void Free(std::uint8_t* buffer) override;
};

} // namespace lumatone

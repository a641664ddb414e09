// The graphics vendor's digital-vibrance control.
#pragma once

#include <cstdint>

namespace lumatone {

class VibranceApplet {
  public:
    virtual ~VibranceApplet() = default;
    // Starts the vendor's control for the level 0..100 without waiting for it.
    virtual bool Run(std::int16_t level) = 0;
};

} // namespace lumatone

// The main display's mode and its refresh rate.
#pragma once

#include <cstdint>
#include <vector>

namespace lumatone {

struct DisplayMode {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;
    std::int32_t refreshRate = 0; // hz
};

enum class RateChange {
    Changed,      // in force now, and kept for the next start
    NeedsRestart, // the system takes it only after a restart
    Refused       // the mode was not changed
};

class DisplayModes {
  public:
    virtual ~DisplayModes() = default;
    // What the main display shows now; zeros where the system does not say.
    virtual DisplayMode Current() = 0;
    // Every mode the main display offers.
    virtual std::vector<DisplayMode> Modes() = 0;
    // The same resolution and colour depth at another rate.
    virtual RateChange TryRate(std::int32_t hz) = 0;
};

} // namespace lumatone

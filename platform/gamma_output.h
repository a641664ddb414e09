// Gamma ramps of the desktop's displays.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumatone {

// 256 red, 256 green, 256 blue words.
using GammaRamp = std::array<std::uint16_t, 768>;

// The ramp that leaves every colour as it is, as systems hand it out.
inline GammaRamp IdentityRamp() {
    GammaRamp ramp;
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<std::uint16_t>((i % 256) * 257);
    return ramp;
}

// One display of the desktop.
struct DisplayDevice {
    std::string name;     // as the system names it, e.g. "\\.\DISPLAY2" or "HDMI-1"
    bool primary = false; // the one the whole screen's ramp reaches
};

class GammaOutput {
  public:
    virtual ~GammaOutput() = default;
    // The displays that are active and part of the desktop, mirrors left out.
    virtual std::vector<DisplayDevice> Displays() = 0;
    // An empty name is the whole screen: what the system's own screen-wide
    // ramp reaches.
    virtual bool WriteRamp(const std::string& display, const GammaRamp& ramp) = 0;
    virtual bool ReadRamp(const std::string& display, GammaRamp& ramp) = 0;
    // How far a read-back entry may stray from the one written and still be
    // the same ramp: 0 where the system keeps ramps exactly. Larger than the
    // distance between two ramps, the identity set from outside would pass
    // for the user's.
    virtual int ReadBackTolerance() const { return 0; }
    // Why ramps cannot reach the screens here, as the "Gamma" group's note
    // says it; empty where they can. Where they cannot, none is written or read.
    virtual std::string Unavailable() const { return {}; }
    // The "Gamma" group's note for a refused ramp where the system's reason
    // is known better than "this level"; empty: the keeper's own.
    virtual std::string RefusedNote() const { return {}; }
};

} // namespace lumatone

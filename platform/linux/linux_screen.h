#pragma once

#include "platform/display_modes.h"
#include "platform/gamma_output.h"

#include <cstddef>
#include <memory>

namespace lumatone {

// Fills to[0..toCount) with from[0..fromCount) stretched or shrunk by linear
// interpolation, first and last entries kept: a CRTC's ramp may have other
// than 256 entries per colour. Either count may be 1.
void ResampleRamp(const std::uint16_t* from, std::size_t fromCount, std::uint16_t* to,
                  std::size_t toCount);

// The X server's RandR outputs, over a display connection of its own: a
// ramp per CRTC, and the primary output's modes. The whole screen is the
// primary output, or the first active one. Without a display every call
// fails cleanly.
class LinuxScreen : public GammaOutput, public DisplayModes {
  public:
    LinuxScreen();
    ~LinuxScreen() override;

    std::vector<DisplayDevice> Displays() override;
    bool WriteRamp(const std::string& display, const GammaRamp& ramp) override;
    bool ReadRamp(const std::string& display, GammaRamp& ramp) override;
    // The server keeps a CRTC's ramp exactly as sent, and a CRTC of another
    // size than 256 reads back the ramp this program gave it, not the
    // resampled one.
    int ReadBackTolerance() const override { return 0; }
    // Under Xwayland ramps are taken and read back, and never shown.
    std::string Unavailable() const override;

    DisplayMode Current() override;
    std::vector<DisplayMode> Modes() override;
    RateChange TryRate(std::int32_t hz) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace lumatone

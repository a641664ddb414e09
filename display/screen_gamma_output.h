// The displays' gamma ramps through device contexts.
#pragma once

#include "platform/gamma_output.h"
#include "platform/screen.h"

namespace lumatone {

// The whole screen through the context of no window, a named display through
// a context of its own; each given back before the call returns.
class ScreenGammaOutput : public GammaOutput {
  public:
    explicit ScreenGammaOutput(Screen& screen) : screen_(screen) {}
    std::vector<DisplayDevice> Displays() override;
    bool WriteRamp(const std::string& display, const GammaRamp& ramp) override;
    bool ReadRamp(const std::string& display, GammaRamp& ramp) override;
    // A driver may keep as few as 8 bits of each entry, truncate, and report
    // them scaled by 256 or 257.
    int ReadBackTolerance() const override { return 512; }

  private:
    Screen& screen_;
};

} // namespace lumatone

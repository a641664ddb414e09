// The main display's mode through the main window's context and the
// display settings.
#pragma once

#include "platform/display_modes.h"
#include "platform/screen.h"
#include "platform/window_runtime.h"

namespace lumatone {

class ScreenDisplayModes : public DisplayModes {
  public:
    ScreenDisplayModes(Screen& screen, WindowRuntime& runtime)
        : screen_(screen), runtime_(runtime) {}
    DisplayMode Current() override;
    std::vector<DisplayMode> Modes() override;
    // Tried on the stored mode with only the rate flagged; kept for the next
    // start once it is in force.
    RateChange TryRate(std::int32_t hz) override;

  private:
    std::int32_t QueryCaps(int index);

    Screen& screen_;
    WindowRuntime& runtime_;
};

} // namespace lumatone

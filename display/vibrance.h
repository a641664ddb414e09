// Digital vibrance through the graphics vendor's control-panel applet.
#pragma once

#include "platform/launcher.h"

#include <cstdint>
#include <string>

namespace lumatone {

class Form1;

std::string VibranceCommandLine(std::int16_t level);
// Starts the applet runner for the level, minimised and activated, without waiting.
bool RunVibranceCommand(Launcher& launcher, std::int16_t level);

// HScroll2's change handler and the "Reset" button (Command4).
class VibranceControls {
  public:
    VibranceControls(Form1& form, Launcher& launcher);
    void OnChange();
    void OnReset();

  private:
    Form1& form_;
    Launcher& launcher_;
};

} // namespace lumatone

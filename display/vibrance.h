// Digital vibrance through the graphics vendor's control-panel applet.
#pragma once

#include "platform/launcher.h"
#include "platform/system.h"
#include "platform/vibrance_applet.h"

#include <cstdint>
#include <string>

namespace lumatone {

class Form1;

std::string VibranceCommandLine(std::int16_t level, SystemFamily family = SystemFamily::Windows);
// Starts the vendor's control for the level without waiting: on Windows the
// applet runner, minimised and activated; elsewhere NVIDIA's settings tool.
bool RunVibranceCommand(Launcher& launcher, std::int16_t level,
                        SystemFamily family = SystemFamily::Windows);

// The vendor's control as RunVibranceCommand starts it for the system's family.
class LauncherVibranceApplet : public VibranceApplet {
  public:
    LauncherVibranceApplet(Launcher& launcher, System& system)
        : launcher_(launcher), system_(system) {}
    bool Run(std::int16_t level) override;

  private:
    Launcher& launcher_;
    System& system_;
};

// HScroll2's change handler and the "Reset" button (Command4).
class VibranceControls {
  public:
    VibranceControls(Form1& form, VibranceApplet& applet);
    void OnChange();
    void OnReset();

  private:
    Form1& form_;
    VibranceApplet& applet_;
};

} // namespace lumatone

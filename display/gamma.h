// Screen gamma from the gamma slider.
#pragma once

#include "platform/screen.h"

#include <cstdint>

namespace lumatone {

class Form1;

constexpr std::int16_t kGammaResetPosition = 27;

double GammaForPosition(std::int16_t position);
std::int16_t LowWord(std::int32_t n);
// The ramp for exponent g; identical channels. Entries stay within 0..65535
// for any exponent.
void BuildGammaRamp(double exponent, GammaRamp& ramp);
// Builds the ramp and writes it to the whole screen. Refuses exponents that
// are not greater than 0 or not finite. True when the display accepted the ramp.
bool SetGamma(Screen& screen, double exponent);

// HScroll1's change handler and the "Reset" button (Command3).
class GammaControls {
  public:
    GammaControls(Form1& form, Screen& screen);
    void OnChange();
    void OnReset();

  private:
    Form1& form_;
    Screen& screen_;
};

} // namespace lumatone

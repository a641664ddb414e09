// The gamma slider's positions as ramps, and a ramp on the whole screen.
#pragma once

#include "platform/gamma_output.h"

#include <cstdint>

namespace lumatone {

constexpr std::int16_t kGammaResetPosition = 27;
constexpr std::int16_t kGammaMaxPosition = 37;

double GammaForPosition(std::int16_t position);
// The ramp for exponent g; identical channels. Entries stay within 0..65535
// for any exponent.
void BuildGammaRamp(double exponent, GammaRamp& ramp);
// Builds the ramp and writes it to the whole screen. Refuses exponents that
// are not greater than 0 or not finite. True when the display accepted the ramp.
bool SetGamma(GammaOutput& output, double exponent);

} // namespace lumatone

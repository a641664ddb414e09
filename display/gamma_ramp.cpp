#include "display/gamma_ramp.h"

#include <cmath>
#include <cstring>

namespace lumatone {

// Not in the header: only the ramp's entries are stored through it.
std::int16_t LowWord(std::int32_t n);

std::int16_t LowWord(std::int32_t n) {
    std::int16_t low;
    const std::uint16_t bits = static_cast<std::uint16_t>(static_cast<std::uint32_t>(n) & 0xFFFFu);
    std::memcpy(&low, &bits, sizeof low);
    return low;
}

double GammaForPosition(std::int16_t position) {
    return static_cast<double>(40 - position) / 10.01;
}

void BuildGammaRamp(double exponent, GammaRamp& ramp) {
    for (int i = 0; i < 256; ++i) {
        const double base = static_cast<double>(i + 1) / 256.01;
        const double x = std::pow(base, exponent) * 65535.0 + 0.5;
        // nearbyint follows the current rounding mode: to nearest, halves to even.
        // Exponents near 0 round the top entries up to 65536, which the 16-bit
        // store would wrap to black; negative ones can exceed any integer.
        const double r = std::nearbyint(x);
        const auto n = static_cast<std::int32_t>(r >= 65535.0 ? 65535.0 : r > 0.0 ? r : 0.0);
        const auto w = static_cast<std::uint16_t>(LowWord(n));
        ramp[static_cast<std::size_t>(i)] = w;
        ramp[static_cast<std::size_t>(i) + 256] = w;
        ramp[static_cast<std::size_t>(i) + 512] = w;
    }
}

bool SetGamma(GammaOutput& output, double exponent) {
    // 0 or less would turn the whole screen white; the slider's exponents all
    // lie well above 0.
    if (!std::isfinite(exponent) || exponent <= 0.0)
        return false;
    GammaRamp ramp;
    BuildGammaRamp(exponent, ramp);
    return output.WriteRamp({}, ramp);
}

} // namespace lumatone

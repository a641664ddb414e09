#include "platform/linux/gamma_resample.h"

namespace lumatone {

void ResampleRamp(const std::uint16_t* from, std::size_t fromCount, std::uint16_t* to,
                  std::size_t toCount) {
    if (fromCount == 0 || toCount == 0)
        return;
    if (fromCount == 1 || toCount == 1) {
        for (std::size_t i = 0; i < toCount; ++i)
            to[i] = from[0];
        return;
    }
    // Entry i sits at i * (fromCount-1) / (toCount-1) in from; exact integers
    // keep the ends and every shared point of the two grids exact.
    const auto span = static_cast<std::uint64_t>(toCount - 1);
    for (std::size_t i = 0; i < toCount; ++i) {
        const std::uint64_t at = static_cast<std::uint64_t>(i) * (fromCount - 1);
        const std::size_t k = static_cast<std::size_t>(at / span);
        const std::uint64_t part = at % span;
        if (part == 0) {
            to[i] = from[k];
            continue;
        }
        const std::int64_t a = from[k];
        const std::int64_t b = from[k + 1];
        const std::int64_t twice = 2 * (b - a) * static_cast<std::int64_t>(part);
        const auto s = static_cast<std::int64_t>(span);
        // a + (b - a) * part / span, rounded to nearest (halves away from a).
        const std::int64_t step = twice >= 0 ? (twice + s) / (2 * s) : -((-twice + s) / (2 * s));
        to[i] = static_cast<std::uint16_t>(a + step);
    }
}

} // namespace lumatone

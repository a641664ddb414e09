// Ramps of other lengths than the 256 entries the core keeps per colour.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumatone {

// Fills to[0..toCount) with from[0..fromCount) stretched or shrunk by linear
// interpolation, first and last entries kept. Either count may be 1.
void ResampleRamp(const std::uint16_t* from, std::size_t fromCount, std::uint16_t* to,
                  std::size_t toCount);

} // namespace lumatone

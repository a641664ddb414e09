#pragma once

#include <cstdint>

namespace lumatone {

// Opaque handles of the operating system; 0 is "none" everywhere.
using DcHandle = std::uintptr_t;
using MixerHandle = std::uintptr_t;
using WindowHandle = std::uintptr_t;
using IconHandle = std::uintptr_t;

} // namespace lumatone

#pragma once

#include <cstdint>

namespace lumatone {

// Opaque handles of the operating system; 0 is "none" everywhere.
using DcHandle = std::uintptr_t;
using MixerHandle = std::uintptr_t;
using WindowHandle = std::uintptr_t;
using IconHandle = std::uintptr_t;

// Show commands of a started program or opened document.
constexpr int kSwShowNormal = 1;
constexpr int kSwShowMinimized = 2;

} // namespace lumatone

// Keys by their place on the keyboard: the one table between X keycodes and
// Windows virtual-key codes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace lumatone {

// The virtual key of the key at this place on a US keyboard, whatever layout
// is in use and whatever the lock and shift state, as WM_KEYDOWN names it:
// generic VK_SHIFT, VK_CONTROL and VK_MENU for either side, VK_NUMPAD7 for
// the keypad's 7 also without NumLock. The keycode is the evdev driver's: the
// Linux input code + 8. 0 for none.
std::int32_t VirtualKeyForKeycode(std::uint32_t keycode);

// The keycodes of the keys that are the virtual key: both shifts for
// VK_SHIFT, the left one for VK_LSHIFT, both Enter keys for VK_RETURN.
struct Keycodes {
    std::array<std::uint8_t, 4> codes{};
    std::size_t count = 0;
    const std::uint8_t* begin() const { return codes.data(); }
    const std::uint8_t* end() const { return codes.data() + count; }
};
const Keycodes& KeycodesForVirtualKey(std::int32_t virtualKey);

} // namespace lumatone

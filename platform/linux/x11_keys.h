// The one table between Windows virtual-key codes and X keysyms.
#pragma once

#include <cstdint>
#include <vector>

namespace lumatone {

// The key a keysym names, as WM_KEYDOWN would report it: generic VK_SHIFT,
// VK_CONTROL and VK_MENU for either side, 'A' for both 'a' and 'A', '1'
// for '!' and the US layout's punctuation on its OEM codes. 0 for none.
std::int32_t VirtualKeyForKeysym(std::uint32_t keysym);

// The keysyms whose keys are the virtual key, for reading key state: both
// shifts for VK_SHIFT, one for VK_LSHIFT. Shifted symbols and the keypad's
// navigation meanings are left out, so each keysym names a physical key that
// is this virtual key whatever the lock and shift state. Empty for none.
std::vector<std::uint32_t> KeysymsForVirtualKey(std::int32_t virtualKey);

} // namespace lumatone

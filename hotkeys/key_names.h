// The names the binding boxes show for virtual-key codes.
#pragma once

#include <optional>
#include <string_view>

namespace lumatone {

// Text1, the first box of the window, has always said "Caps" and "Esc"; the
// other boxes say "Capital" and "Escape".
enum class KeyNameStyle { Full, Short };

// The display name of a key; none for a code without one.
std::optional<std::string_view> KeyName(int virtualKey, KeyNameStyle style = KeyNameStyle::Full);

} // namespace lumatone

// Blanks: what surrounds a stored or typed value without being part of it.
#pragma once

#include <string_view>

namespace lumatone {

// Space, tab, vertical tab and form feed, as the profile functions strip them.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// The text without the blanks around it.
constexpr std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace lumatone

// "The integer of a text": the one conversion every reader of stored or
// typed numbers uses, so they agree on what a usable number is.
#pragma once

#include "base/blanks.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumatone {

// What a number's text may hold besides its decimal digits (leading zeros
// are always allowed).
enum class NumberText {
    Loose,      // blanks around it and one sign: stored values, typed boxes
    DigitsOnly, // nothing else: what the program itself writes
};

// Loose text loses its blanks and its sign; true for a minus.
constexpr bool TakeSign(std::string_view& text) {
    text = TrimBlanks(text);
    if (text.empty() || (text.front() != '+' && text.front() != '-'))
        return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

// The value when the text is a whole number of that form within lo..hi.
// Never throws and never allocates; inline, since the hotkey poll runs it
// for every code box on every tick.
constexpr std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t lo,
                                                   std::int64_t hi,
                                                   NumberText form = NumberText::Loose) {
    const bool negative = form == NumberText::Loose && TakeSign(text);
    if (text.empty())
        return std::nullopt;
    // Checked per digit, so long texts end early and nothing overflows.
    const std::int64_t limit = std::max(hi, -lo);
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

// Loose text within the type's range.
std::optional<std::int16_t> ParseInt16(std::string_view text);
std::optional<std::int32_t> ParseInt32(std::string_view text);

// Loose text with digits of any length: a whole number, though perhaps too
// large for any integer type.
bool IsWholeNumberText(std::string_view text);

// Plain decimal text: no leading zeros or blanks, a minus only for negatives.
std::string DecimalText(std::int64_t value);

} // namespace lumatone

// "The integer of a text": the one conversion every reader of stored or
// typed numbers uses, so they agree on what a usable number is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumatone {

// Blanks around the number, an optional sign and decimal digits (leading
// zeros allowed). Anything else, or a value outside the type, is no integer.
std::optional<std::int16_t> ParseInt16(std::string_view text);
std::optional<std::int32_t> ParseInt32(std::string_view text);

// The text without the blanks around it.
std::string_view TrimBlanks(std::string_view text);
// Blanks around, an optional sign and digits of any length: a whole number,
// though perhaps too large for any integer type.
bool IsWholeNumberText(std::string_view text);

// Plain decimal text: no leading zeros or blanks, a minus only for negatives.
std::string DecimalText(std::int64_t value);

} // namespace lumatone

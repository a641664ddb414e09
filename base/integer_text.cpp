#include "base/integer_text.h"

#include <limits>

namespace lumatone {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::optional<std::int64_t> ParseBounded(std::string_view text, std::int64_t lo, std::int64_t hi) {
    text = TrimBlanks(text);
    if (!IsWholeNumberText(text))
        return std::nullopt;
    const bool negative = text.front() == '-';
    if (text.front() == '+' || text.front() == '-')
        text.remove_prefix(1);
    std::int64_t magnitude = 0;
    for (const char c : text) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > hi + 1) // the limit is checked per digit, so no overflow
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsWholeNumberText(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::optional<std::int16_t> ParseInt16(std::string_view text) {
    auto v = ParseBounded(text, std::numeric_limits<std::int16_t>::min(),
                          std::numeric_limits<std::int16_t>::max());
    if (!v)
        return std::nullopt;
    return static_cast<std::int16_t>(*v);
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    auto v = ParseBounded(text, std::numeric_limits<std::int32_t>::min(),
                          std::numeric_limits<std::int32_t>::max());
    if (!v)
        return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

std::string DecimalText(std::int64_t value) {
    return std::to_string(value);
}

} // namespace lumatone

#include "settings/integer_text.h"

#include <limits>

namespace lumatone {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::optional<std::int64_t> ParseBounded(std::string_view text, std::int64_t lo, std::int64_t hi) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    if (b == e)
        return std::nullopt;
    bool negative = false;
    if (text[b] == '+' || text[b] == '-') {
        negative = text[b] == '-';
        ++b;
    }
    if (b == e)
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (std::size_t i = b; i < e; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
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

#include "base/integer_text.h"

#include <limits>

namespace lumatone {
namespace {

template <class Int> std::optional<Int> ParseWithin(std::string_view text) {
    const auto v =
        ParseInteger(text, std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max());
    if (!v)
        return std::nullopt;
    return static_cast<Int>(*v);
}

} // namespace

std::optional<std::int16_t> ParseInt16(std::string_view text) {
    return ParseWithin<std::int16_t>(text);
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    return ParseWithin<std::int32_t>(text);
}

bool IsWholeNumberText(std::string_view text) {
    TakeSign(text);
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string DecimalText(std::int64_t value) {
    return std::to_string(value);
}

} // namespace lumatone

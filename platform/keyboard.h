#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace lumatone {

// One of the poll's pairs, for a desktop that hands out shortcuts itself:
// a stable id, what it does, and its two virtual keys (0: unbound).
struct KeyPair {
    std::string_view id;
    std::string_view description;
    std::int32_t first = 0;
    std::int32_t second = 0;

    bool operator==(const KeyPair&) const = default;
};

class Keyboard {
  public:
    virtual ~Keyboard() = default;
    // Bit 15: down now; bit 0: pressed since this key's previous query.
    virtual std::int16_t GetAsyncKeyState(std::int32_t virtualKey) = 0;
    // A keyboard that binds the pairs as shortcuts rather than seeing the keys
    // themselves gets them through WatchPairs, again whenever one changes.
    virtual bool WatchesPairs() const { return false; }
    virtual void WatchPairs(std::span<const KeyPair> /*pairs*/) {}
};

} // namespace lumatone

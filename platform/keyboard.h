#pragma once

#include <cstdint>

namespace lumatone {

class Keyboard {
  public:
    virtual ~Keyboard() = default;
    // Bit 15: down now; bit 0: pressed since this key's previous query.
    virtual std::int16_t GetAsyncKeyState(std::int32_t virtualKey) = 0;
};

} // namespace lumatone

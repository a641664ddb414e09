#pragma once

#include <cstdint>

namespace lumatone {

class Keyboard {
  public:
    virtual ~Keyboard() = default;
    // Bit 15: down now; bit 0: pressed since this key's previous query.
    virtual std::int16_t GetAsyncKeyState(std::int32_t virtualKey) = 0;
    // GetLastInputInfo, then GetTickCount: when the session last had keyboard
    // or mouse input and the time now, in wrapping milliseconds of one clock.
    // False where the system keeps no such time; every poll then asks every key.
    virtual bool GetLastInputTime(std::uint32_t& /*lastInputMs*/, std::uint32_t& /*nowMs*/) {
        return false;
    }
};

} // namespace lumatone

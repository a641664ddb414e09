#pragma once

#include "platform/keyboard.h"

#include <array>
#include <cstdint>

namespace lumatone {

// Both bits truthfully per key: bit 15 while down, bit 0 set by a press and
// cleared by the next query of that key. Each press and release is input at
// the clock's time; without a clock the keyboard keeps no input time.
class SimKeyboard : public Keyboard {
  public:
    SimKeyboard() = default;
    explicit SimKeyboard(const std::uint64_t* clockMs) : clockMs_(clockMs) {}

    std::int16_t GetAsyncKeyState(std::int32_t virtualKey) override;
    bool GetLastInputTime(std::uint32_t& lastInputMs, std::uint32_t& nowMs) override;

    void Press(int virtualKey);
    void Release(int virtualKey);
    void Tap(int virtualKey) {
        Press(virtualKey);
        Release(virtualKey);
    }
    // A mouse move or click: input that touches no key.
    void Input() { lastInputMs_ = Now(); }
    bool IsDown(int virtualKey) const;
    std::uint64_t queries = 0;
    bool failLastInputTime = false;

  private:
    struct Key {
        bool down = false;
        bool pressedSinceQuery = false;
    };
    std::uint32_t Now() const { return clockMs_ ? static_cast<std::uint32_t>(*clockMs_) : 0; }

    std::array<Key, 256> keys_{};
    const std::uint64_t* clockMs_ = nullptr;
    std::uint32_t lastInputMs_ = 0;
};

} // namespace lumatone

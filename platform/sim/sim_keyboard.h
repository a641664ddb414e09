#pragma once

#include "platform/keyboard.h"

#include <array>
#include <cstdint>

namespace lumatone {

// Both bits truthfully per key: bit 15 while down, bit 0 set by a press and
// cleared by the next query of that key.
class SimKeyboard : public Keyboard {
  public:
    std::int16_t GetAsyncKeyState(std::int32_t virtualKey) override;

    void Press(int virtualKey);
    void Release(int virtualKey);
    void Tap(int virtualKey) {
        Press(virtualKey);
        Release(virtualKey);
    }
    bool IsDown(int virtualKey) const;
    std::uint64_t queries = 0;

  private:
    struct Key {
        bool down = false;
        bool pressedSinceQuery = false;
    };
    std::array<Key, 256> keys_{};
};

} // namespace lumatone

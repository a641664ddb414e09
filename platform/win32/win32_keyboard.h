#pragma once

#include "platform/keyboard.h"

namespace lumatone {

class Win32Keyboard : public Keyboard {
  public:
    std::int16_t GetAsyncKeyState(std::int32_t virtualKey) override;
    bool GetLastInputTime(std::uint32_t& lastInputMs, std::uint32_t& nowMs) override;
};

} // namespace lumatone

#include "platform/sim/sim_keyboard.h"

namespace lumatone {

std::int16_t SimKeyboard::GetAsyncKeyState(std::int32_t virtualKey) {
    ++queries;
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    Key& k = keys_[static_cast<std::size_t>(virtualKey)];
    std::uint16_t state = (k.down ? 0x8000u : 0u) | (k.pressedSinceQuery ? 1u : 0u);
    k.pressedSinceQuery = false;
    return static_cast<std::int16_t>(state);
}

bool SimKeyboard::GetLastInputTime(std::uint32_t& lastInputMs, std::uint32_t& nowMs) {
    if (clockMs_ == nullptr || failLastInputTime)
        return false;
    lastInputMs = lastInputMs_;
    nowMs = Now();
    return true;
}

void SimKeyboard::Press(int virtualKey) {
    Input();
    if (virtualKey < 0 || virtualKey > 255)
        return;
    Key& k = keys_[static_cast<std::size_t>(virtualKey)];
    k.down = true;
    k.pressedSinceQuery = true;
}

void SimKeyboard::Release(int virtualKey) {
    Input();
    if (virtualKey < 0 || virtualKey > 255)
        return;
    keys_[static_cast<std::size_t>(virtualKey)].down = false;
}

bool SimKeyboard::IsDown(int virtualKey) const {
    return virtualKey >= 0 && virtualKey <= 255 && keys_[static_cast<std::size_t>(virtualKey)].down;
}

} // namespace lumatone

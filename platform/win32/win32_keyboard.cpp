#include "platform/win32/win32_keyboard.h"

#include "platform/win32/win32_windows.h"

namespace lumatone {

std::int16_t Win32Keyboard::GetAsyncKeyState(std::int32_t virtualKey) {
    return static_cast<std::int16_t>(::GetAsyncKeyState(virtualKey));
}

bool Win32Keyboard::GetLastInputTime(std::uint32_t& lastInputMs, std::uint32_t& nowMs) {
    LASTINPUTINFO info{};
    info.cbSize = sizeof info;
    if (!::GetLastInputInfo(&info))
        return false;
    lastInputMs = info.dwTime;
    nowMs = ::GetTickCount();
    return true;
}

} // namespace lumatone

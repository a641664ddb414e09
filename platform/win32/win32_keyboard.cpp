#include "platform/win32/win32_keyboard.h"

#include "platform/win32/win32_windows.h"

namespace lumatone {

std::int16_t Win32Keyboard::GetAsyncKeyState(std::int32_t virtualKey) {
    return static_cast<std::int16_t>(::GetAsyncKeyState(virtualKey));
}

} // namespace lumatone

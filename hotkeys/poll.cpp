#include "hotkeys/poll.h"

namespace lumatone {

std::int32_t BoundKeyCode(std::string_view codeText) {
    if (codeText.empty())
        return 0;
    std::int32_t code = 0;
    for (const char c : codeText) {
        if (c < '0' || c > '9')
            return 0;
        code = code * 10 + (c - '0');
        if (code > 255)
            return 0;
    }
    return code;
}

std::int16_t SlotKeyState(Keyboard& keyboard, std::string_view codeText) {
    const std::int32_t code = BoundKeyCode(codeText);
    return code == 0 ? std::int16_t{0} : keyboard.GetAsyncKeyState(code);
}

bool PairFires(Keyboard& keyboard, std::string_view firstCode, std::string_view secondCode) {
    const std::int16_t s1 = SlotKeyState(keyboard, firstCode);
    const std::int16_t s2 = SlotKeyState(keyboard, secondCode);
    return (static_cast<std::uint16_t>(s1) & static_cast<std::uint16_t>(s2)) != 0;
}

} // namespace lumatone

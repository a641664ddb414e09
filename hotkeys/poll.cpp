#include "hotkeys/poll.h"

#include "base/integer_text.h"

namespace lumatone {
namespace {

// The state GetAsyncKeyState gives for the slot; an unbound slot is never
// queried and gives 0. Inline, so a pair's test stays one call.
inline std::int16_t SlotKeyState(Keyboard& keyboard, std::string_view codeText) {
    const std::int32_t code = BoundKeyCode(codeText);
    return code == 0 ? std::int16_t{0} : keyboard.GetAsyncKeyState(code);
}

} // namespace

std::int32_t BoundKeyCode(std::string_view codeText) {
    // Capture and start-up write digits alone; anything else leaves the slot unbound.
    return static_cast<std::int32_t>(
        ParseInteger(codeText, 1, 255, NumberText::DigitsOnly).value_or(0));
}

bool PairFires(Keyboard& keyboard, std::string_view firstCode, std::string_view secondCode) {
    const std::int16_t s1 = SlotKeyState(keyboard, firstCode);
    const std::int16_t s2 = SlotKeyState(keyboard, secondCode);
    return (static_cast<std::uint16_t>(s1) & static_cast<std::uint16_t>(s2)) != 0;
}

} // namespace lumatone

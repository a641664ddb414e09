#include "hotkeys/poll.h"

#include "base/integer_text.h"

namespace lumatone {
namespace {

// An input stamped this shortly before the time was read may share its stamp
// with one that comes after (Windows' tick count moves in steps of 10 to
// 16 ms), so such a reading cannot vouch that nothing followed.
constexpr std::int32_t kStampSettledMs = 100;

inline std::int16_t SlotKeyState(Keyboard& keyboard, std::int32_t code) {
    return code == 0 ? std::int16_t{0} : keyboard.GetAsyncKeyState(code);
}

} // namespace

std::int32_t BoundKeyCode(std::string_view codeText) {
    // Capture and start-up write digits alone; anything else leaves the slot unbound.
    return static_cast<std::int32_t>(
        ParseInteger(codeText, 1, 255, NumberText::DigitsOnly).value_or(0));
}

bool PairFires(Keyboard& keyboard, std::int32_t firstCode, std::int32_t secondCode) {
    const std::int16_t s1 = SlotKeyState(keyboard, firstCode);
    const std::int16_t s2 = SlotKeyState(keyboard, secondCode);
    return (static_cast<std::uint16_t>(s1) & static_cast<std::uint16_t>(s2)) != 0;
}

bool QuietKeys::Skip(Keyboard& keyboard, const SlotCodes& codes) {
    std::uint32_t lastInputMs = 0, nowMs = 0;
    const bool told = keyboard.GetLastInputTime(lastInputMs, nowMs);
    if (told && quiet_ && lastInputMs == lastInputMs_ && codes == codes_)
        return true;
    quiet_ = false;
    // Signed: an input stamped after the time read (two clocks) vouches for nothing.
    stamped_ = told && static_cast<std::int32_t>(nowMs - lastInputMs) >= kStampSettledMs;
    lastInputMs_ = lastInputMs;
    codes_ = codes;
    return false;
}

} // namespace lumatone

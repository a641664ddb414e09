#include "hotkeys/key_names.h"

#include <array>

namespace lumatone {
namespace {

constexpr int kCapital = 20;
constexpr int kEscape = 27;

constexpr std::array<const char*, 256> MakeNames() {
    std::array<const char*, 256> n{};
    n[1] = "Left mouse button";
    n[2] = "Right mouse button";
    n[3] = "Cancel";
    n[4] = "Middle mouse button";
    n[8] = "Back";
    n[9] = "Tab";
    n[12] = "Clear";
    n[13] = "Return";
    n[16] = "Shift";
    n[17] = "Ctrl";
    n[18] = "Alt";
    n[19] = "Pause";
    n[kCapital] = "Capital";
    n[kEscape] = "Escape";
    n[32] = "Space";
    const char* const navigation[] = {"PgUp",    "PgDn",     "End",    "Home",   "Left",
                                      "Up",      "Right",    "Down",   "Select", "Print",
                                      "Execute", "Snapshot", "Insert", "Delete", "Help"};
    for (int i = 0; i < 15; ++i)
        n[static_cast<std::size_t>(33 + i)] = navigation[i];
    const char* const digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (int i = 0; i < 10; ++i)
        n[static_cast<std::size_t>(48 + i)] = digits[i];
    const char* const letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                   "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
    for (int i = 0; i < 26; ++i)
        n[static_cast<std::size_t>(65 + i)] = letters[i];
    const char* const keypad[] = {"Npad0",     "Npad1", "Npad2",   "Npad3", "Npad4", "Npad5",
                                  "Npad6",     "Npad7", "Npad8",   "Npad9", "Mult",  "Add",
                                  "Separator", "Sub",   "Decimal", "Div"};
    for (int i = 0; i < 16; ++i)
        n[static_cast<std::size_t>(96 + i)] = keypad[i];
    const char* const functions[] = {"F1", "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                     "F9", "F10", "F11", "F12", "F13", "F14", "F15", "F16"};
    for (int i = 0; i < 16; ++i)
        n[static_cast<std::size_t>(112 + i)] = functions[i];
    n[144] = "Numlock";
    return n;
}

constexpr std::array<const char*, 256> kNames = MakeNames();

} // namespace

std::optional<std::string_view> KeyName(int virtualKey, KeyNameStyle style) {
    if (virtualKey < 0 || virtualKey > 255)
        return std::nullopt;
    if (style == KeyNameStyle::Short) {
        if (virtualKey == kCapital)
            return "Caps";
        if (virtualKey == kEscape)
            return "Esc";
    }
    const char* name = kNames[static_cast<std::size_t>(virtualKey)];
    if (name == nullptr)
        return std::nullopt;
    return name;
}

} // namespace lumatone

#include "platform/linux/portal_keys.h"

#include <algorithm>
#include <utility>

namespace lumatone {
namespace {

constexpr std::int16_t kDown = static_cast<std::int16_t>(0x8000);
constexpr std::int16_t kPressedSince = 1;

// The trigger's modifier for a virtual key, either side; null for others.
const char* ModifierName(std::int32_t vk) {
    switch (vk) {
    case 0x10:
    case 0xA0:
    case 0xA1:
        return "SHIFT";
    case 0x11:
    case 0xA2:
    case 0xA3:
        return "CTRL";
    case 0x12:
    case 0xA4:
    case 0xA5:
        return "ALT";
    case 0x5B:
    case 0x5C:
        return "LOGO";
    default:
        return nullptr;
    }
}

// The X keysym name of the key at the virtual key's place on a US keyboard,
// unshifted; empty for none.
std::string KeyName(std::int32_t vk) {
    if ((vk >= '0' && vk <= '9'))
        return std::string(1, static_cast<char>(vk));
    if (vk >= 'A' && vk <= 'Z')
        return std::string(1, static_cast<char>(vk - 'A' + 'a'));
    if (vk >= 0x70 && vk <= 0x87)
        return "F" + std::to_string(vk - 0x70 + 1);
    if (vk >= 0x60 && vk <= 0x69)
        return "KP_" + std::to_string(vk - 0x60);
    static constexpr std::pair<std::int32_t, const char*> kNames[] = {
        {0x08, "BackSpace"},
        {0x09, "Tab"},
        {0x0D, "Return"},
        {0x13, "Pause"},
        {0x14, "Caps_Lock"},
        {0x1B, "Escape"},
        {0x20, "space"},
        {0x21, "Prior"},
        {0x22, "Next"},
        {0x23, "End"},
        {0x24, "Home"},
        {0x25, "Left"},
        {0x26, "Up"},
        {0x27, "Right"},
        {0x28, "Down"},
        {0x2C, "Print"},
        {0x2D, "Insert"},
        {0x2E, "Delete"},
        {0x5D, "Menu"},
        {0x6A, "KP_Multiply"},
        {0x6B, "KP_Add"},
        {0x6D, "KP_Subtract"},
        {0x6E, "KP_Decimal"},
        {0x6F, "KP_Divide"},
        {0x90, "Num_Lock"},
        {0x91, "Scroll_Lock"},
        {0xAD, "XF86AudioMute"},
        {0xAE, "XF86AudioLowerVolume"},
        {0xAF, "XF86AudioRaiseVolume"},
        {0xB0, "XF86AudioNext"},
        {0xB1, "XF86AudioPrev"},
        {0xB2, "XF86AudioStop"},
        {0xB3, "XF86AudioPlay"},
        {0xBA, "semicolon"},
        {0xBB, "equal"},
        {0xBC, "comma"},
        {0xBD, "minus"},
        {0xBE, "period"},
        {0xBF, "slash"},
        {0xC0, "grave"},
        {0xDB, "bracketleft"},
        {0xDC, "backslash"},
        {0xDD, "bracketright"},
        {0xDE, "apostrophe"},
    };
    for (const auto& [key, name] : kNames)
        if (key == vk)
            return name;
    return {};
}

std::string Lowered(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ')
            out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return out;
}

// The trigger's parts, modifiers under one spelling, sorted: the key and its
// modifiers in any order.
std::vector<std::string> Parts(std::string_view trigger) {
    std::vector<std::string> parts;
    const std::string text = Lowered(trigger);
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find('+', at);
        if (end == at) // a "+" key: "CTRL++"
            end = text.find('+', at + 1);
        if (end == std::string::npos)
            end = text.size();
        std::string part = text.substr(at, end - at);
        if (part == "control")
            part = "ctrl";
        else if (part == "super" || part == "meta" || part == "mod4")
            part = "logo";
        if (!part.empty())
            parts.push_back(part);
        at = end + 1;
    }
    std::sort(parts.begin(), parts.end());
    return parts;
}

} // namespace

std::optional<std::string> TriggerFor(std::int32_t first, std::int32_t second) {
    const char* m1 = ModifierName(first);
    const char* m2 = ModifierName(second);
    if (first == second && m1 == nullptr) {
        std::string key = KeyName(first);
        return key.empty() ? std::nullopt : std::optional(key);
    }
    if ((m1 == nullptr) == (m2 == nullptr))
        return std::nullopt;
    std::string key = KeyName(m1 != nullptr ? second : first);
    if (key.empty())
        return std::nullopt;
    return std::string(m1 != nullptr ? m1 : m2) + "+" + key;
}

bool SameTrigger(std::string_view preferred, std::string_view described) {
    return Parts(preferred) == Parts(described);
}

void ShortcutKeys::Bind(std::vector<PortalShortcut> shortcuts) {
    shortcuts_ = std::move(shortcuts);
    active_.assign(shortcuts_.size(), false);
}

void ShortcutKeys::Activated(std::string_view id) {
    for (std::size_t i = 0; i < shortcuts_.size(); ++i)
        if (shortcuts_[i].id == id) {
            active_[i] = true;
            for (std::int32_t vk : {shortcuts_[i].first, shortcuts_[i].second})
                if (vk > 0 && vk < 256)
                    pressedSince_[static_cast<std::size_t>(vk)] = true;
        }
}

void ShortcutKeys::Deactivated(std::string_view id) {
    for (std::size_t i = 0; i < shortcuts_.size(); ++i)
        if (shortcuts_[i].id == id)
            active_[i] = false;
}

std::int16_t ShortcutKeys::State(std::int32_t virtualKey) {
    if (virtualKey < 1 || virtualKey > 255)
        return 0;
    std::int16_t state = 0;
    for (std::size_t i = 0; i < shortcuts_.size(); ++i)
        if (active_[i] && (shortcuts_[i].first == virtualKey || shortcuts_[i].second == virtualKey))
            state = kDown;
    bool& pressed = pressedSince_[static_cast<std::size_t>(virtualKey)];
    if (pressed)
        state = static_cast<std::int16_t>(state | kPressedSince);
    pressed = false;
    return state;
}

} // namespace lumatone

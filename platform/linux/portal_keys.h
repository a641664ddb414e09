// The poll's pairs as a desktop portal's global shortcuts, and the key state
// the shortcuts' activations stand for.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumatone {

// The pair as a trigger of the XDG shortcuts format: "CTRL+F10" for a
// modifier and a key, "F10" for one key bound twice; keys named by their place
// on a US keyboard. None for what a trigger cannot say: two keys that are not
// modifiers, two modifiers, mouse buttons, keys without a name there.
std::optional<std::string> TriggerFor(std::int32_t first, std::int32_t second);

// Whether the desktop's description of a trigger names the same keys,
// spelled its own way ("Ctrl+F10" for "CTRL+F10").
bool SameTrigger(std::string_view preferred, std::string_view described);

struct PortalShortcut {
    std::string id;
    std::string description;
    std::string trigger;
    std::int32_t first = 0;
    std::int32_t second = 0;

    bool operator==(const PortalShortcut&) const = default;
};

// While a shortcut is active its two keys read as down; an activation also
// marks both as pressed since their last query, so a tap that came and went
// between two polls still fires the pair once.
class ShortcutKeys {
  public:
    // Forgets what was active: the shortcuts are bound afresh.
    void Bind(std::vector<PortalShortcut> shortcuts);
    void Activated(std::string_view id);
    void Deactivated(std::string_view id);
    // GetAsyncKeyState's answer; consumes the key's pressed-since bit.
    std::int16_t State(std::int32_t virtualKey);

  private:
    std::vector<PortalShortcut> shortcuts_;
    std::vector<bool> active_;
    std::array<bool, 256> pressedSince_{};
};

} // namespace lumatone

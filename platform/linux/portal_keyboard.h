#pragma once

#include "platform/keyboard.h"
#include "platform/linux/portal_keys.h"
#include "platform/linux/portal_shortcuts.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace lumatone {

// Keys in a Wayland session, where the X server sees them only while one of
// its windows has the focus: the pairs go to the desktop's portal as global
// shortcuts where it offers them, and a pair reads as held while its shortcut
// is active. What the X server sees counts too.
class PortalKeyboard : public Keyboard {
  public:
    explicit PortalKeyboard(Keyboard& server) : server_(server) {}

    std::int16_t GetAsyncKeyState(std::int32_t virtualKey) override;
    bool WatchesPairs() const override { return true; }
    void WatchPairs(std::span<const KeyPair> pairs) override;

    // What to say of the hotkeys while the portal carries them ("" for
    // nothing); none when it does not. Waits up to the patience for the
    // portal's first answer.
    std::optional<std::string> Note(std::chrono::milliseconds patience);

  private:
    Keyboard& server_;
    PortalShortcuts portal_;
    ShortcutKeys keys_;
    std::vector<PortalShortcut> shortcuts_;
    std::size_t leftOut_ = 0;
    std::vector<PortalShortcuts::Event> events_;
};

} // namespace lumatone

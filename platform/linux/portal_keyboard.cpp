#include "platform/linux/portal_keyboard.h"

#include <algorithm>

namespace lumatone {

std::int16_t PortalKeyboard::GetAsyncKeyState(std::int32_t virtualKey) {
    portal_.TakeEvents(events_);
    for (const PortalShortcuts::Event& e : events_) {
        if (e.active)
            keys_.Activated(e.id);
        else
            keys_.Deactivated(e.id);
    }
    // Both asked, so each consumes its pressed-since bit.
    const std::int16_t server = server_.GetAsyncKeyState(virtualKey);
    return static_cast<std::int16_t>(server | keys_.State(virtualKey));
}

void PortalKeyboard::WatchPairs(std::span<const KeyPair> pairs) {
    std::vector<PortalShortcut> shortcuts;
    std::size_t leftOut = 0;
    for (const KeyPair& pair : pairs) {
        // A pair with a slot unbound never fires.
        if (pair.first == 0 || pair.second == 0)
            continue;
        if (auto trigger = TriggerFor(pair.first, pair.second))
            shortcuts.push_back({std::string(pair.id), std::string(pair.description), *trigger,
                                 pair.first, pair.second});
        else
            ++leftOut;
    }
    leftOut_ = leftOut;
    if (shortcuts == shortcuts_)
        return;
    shortcuts_ = shortcuts;
    keys_.Bind(shortcuts);
    portal_.Want(std::move(shortcuts));
}

std::optional<std::string> PortalKeyboard::Note(std::chrono::milliseconds patience) {
    const PortalShortcuts::Status status = portal_.CurrentStatus(patience);
    if (status != PortalShortcuts::Status::Binding && status != PortalShortcuts::Status::Bound)
        return std::nullopt;
    if (status == PortalShortcuts::Status::Bound) {
        const auto bound = portal_.BoundTriggers();
        const bool asWanted =
            std::all_of(shortcuts_.begin(), shortcuts_.end(), [&bound](const PortalShortcut& s) {
                return std::any_of(bound.begin(), bound.end(), [&s](const auto& b) {
                    return b.first == s.id && SameTrigger(s.trigger, b.second);
                });
            });
        if (!asWanted)
            return "Wayland: hotkeys are set in the desktop's shortcut settings";
    }
    if (leftOut_ == 1)
        return "Wayland: 1 hotkey works only while this window has the focus";
    if (leftOut_ > 1)
        return "Wayland: " + std::to_string(leftOut_) +
               " hotkeys work only while this window has the focus";
    return std::string();
}

} // namespace lumatone

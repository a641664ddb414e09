// Global shortcuts through the XDG desktop portal (org.freedesktop.portal.
// GlobalShortcuts on the session bus), talked to on a thread of its own.
#pragma once

#include "platform/linux/portal_keys.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace lumatone {

class PortalShortcuts {
  public:
    enum class Status {
        Asking,  // whether the portal offers global shortcuts is not known yet
        Absent,  // no session bus, no portal, or one without global shortcuts
        Refused, // the portal or the user turned the shortcuts down
        Binding, // offered; the shortcuts are on their way, or none to bind
        Bound,   // the portal took the shortcuts
    };
    struct Event {
        std::string id;
        bool active = false;
    };

    // Asks the portal at once; binds nothing until Want.
    PortalShortcuts();
    ~PortalShortcuts();
    PortalShortcuts(const PortalShortcuts&) = delete;
    PortalShortcuts& operator=(const PortalShortcuts&) = delete;

    // The shortcuts to bind, in a session of their own. A change is bound once
    // it has stayed a moment, so a pair typed key by key is bound once.
    void Want(std::vector<PortalShortcut> shortcuts);
    // Activations and deactivations since the last call, oldest first; never
    // waits for the bus.
    void TakeEvents(std::vector<Event>& events);
    // Waits up to the patience for the portal's first answer.
    Status CurrentStatus(std::chrono::milliseconds patience = {});
    // The shortcuts the portal bound: the ids of Want's with the portal's own
    // description of their triggers.
    std::vector<std::pair<std::string, std::string>> BoundTriggers();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace lumatone

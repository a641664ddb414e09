// What the desktop session lets the program do, read from its environment.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace lumatone {

struct SessionFacts {
    // A Wayland session: X11 programs run through Xwayland, which takes and
    // reads back any ramp without applying it, and sees keys only while one
    // of its own windows has the focus.
    bool wayland = false;
    // The desktop or window manager, as XDG_CURRENT_DESKTOP first names it,
    // or as its own socket variable tells; empty when unknown.
    std::string desktop;
    // It starts ~/.config/autostart entries at login.
    bool runsAutostart = true;
};

// A variable's value, or null when it is not set.
using Environment = std::function<const char*(const char*)>;

SessionFacts ReadSession(const Environment& env);
SessionFacts CurrentSession();

// The "Gamma" group's note where the ramp cannot reach the screens; empty
// where it can.
std::string GammaNoteFor(const SessionFacts& session);
// One short line on what the session does not let the program do: global
// hotkeys, starting at login; empty where it lets it do both. In a Wayland
// session whose desktop portal carries the hotkeys, the portal's own line
// about them stands in for "they need X11".
std::string SessionNoteFor(const SessionFacts& session,
                           const std::optional<std::string>& portalHotkeys = std::nullopt);

} // namespace lumatone

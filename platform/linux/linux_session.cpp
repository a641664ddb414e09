#include "platform/linux/linux_session.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace lumatone {
namespace {

bool IsSet(const char* value) {
    return value != nullptr && value[0] != '\0';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// Window managers that leave ~/.config/autostart to the user's own start-up
// lines ("exec" in i3's and sway's configuration, "exec-once" in Hyprland's).
constexpr std::array<std::string_view, 3> kNoAutostart = {"i3", "sway", "Hyprland"};

} // namespace

SessionFacts ReadSession(const Environment& env) {
    SessionFacts s;
    const char* type = env("XDG_SESSION_TYPE");
    s.wayland = (type != nullptr && SameName(type, "wayland")) || IsSet(env("WAYLAND_DISPLAY"));

    std::string_view names = IsSet(env("XDG_CURRENT_DESKTOP")) ? env("XDG_CURRENT_DESKTOP") : "";
    s.desktop = std::string(names.substr(0, names.find(':')));
    if (s.desktop.empty() && IsSet(env("SWAYSOCK")))
        s.desktop = "sway";
    else if (s.desktop.empty() && IsSet(env("I3SOCK")))
        s.desktop = "i3";
    else if (s.desktop.empty() && IsSet(env("HYPRLAND_INSTANCE_SIGNATURE")))
        s.desktop = "Hyprland";
    for (std::string_view wm : kNoAutostart)
        if (SameName(s.desktop, wm)) {
            s.desktop = std::string(wm);
            s.runsAutostart = false;
        }
    return s;
}

SessionFacts CurrentSession() {
    return ReadSession([](const char* name) { return std::getenv(name); });
}

std::string GammaNoteFor(const SessionFacts& session) {
    return session.wayland ? "The desktop keeps gamma to itself" : "";
}

std::string SessionNoteFor(const SessionFacts& session,
                           const std::optional<std::string>& portalHotkeys) {
    if (session.wayland && portalHotkeys) {
        if (!portalHotkeys->empty() || session.runsAutostart)
            return *portalHotkeys;
        return session.desktop + " runs no autostart entries: \"Start with Windows\" does nothing";
    }
    if (session.wayland && !session.runsAutostart)
        return session.desktop + ": no global hotkeys (they need X11), no autostart entries";
    if (session.wayland)
        return "Wayland: global hotkeys need an X11 session";
    if (!session.runsAutostart)
        return session.desktop + " runs no autostart entries: \"Start with Windows\" does nothing";
    return {};
}

} // namespace lumatone

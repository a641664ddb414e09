// The program's icon in the notification area.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace lumatone {

enum class TrayEvent {
    Activate,   // the system's "open" gesture: a double-click, or an activation
    Menu,       // the system's "menu" gesture: the right button's release
    TrayRestart // the tray came back (the shell restarted) and forgot every icon
};

class TrayIcon {
  public:
    virtual ~TrayIcon() = default;
    // Adds the icon with its tip, or updates it; true when a tray has it.
    virtual bool Show(const std::string& tip) = 0;
    virtual void Hide() = 0;
    // Events reach the handler on the interface thread, after the system's
    // own handler of the click has returned.
    virtual void SetHandler(std::function<void(TrayEvent)> handler) = 0;
    // The menu for a tray that draws the icon's menu itself instead of
    // sending TrayEvent::Menu: the items' captions in order, and what choosing
    // one runs (its index, on the interface thread). Kept current by the caller.
    virtual void SetMenu(const std::vector<std::string>& captions,
                         std::function<void(std::size_t)> choose) {
        (void)captions;
        (void)choose;
    }
};

} // namespace lumatone

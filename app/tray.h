// The notification-area icon, its events and the Show/Hide actions.
#pragma once

#include "platform/shell.h"
#include "platform/window_runtime.h"

#include <cstdint>
#include <string>

namespace lumatone {

class Form1;

// The icon's callback: a message of our own (WM_APP + 1), never the window's
// mouse moves, so neither a move over the window nor a drag can pass for a click.
constexpr std::uint32_t kTrayCallbackMessage = 0x8001;
constexpr std::uint32_t kTrayLeftDoubleClick = 515;
constexpr std::uint32_t kTrayRightButtonUp = 517;

// The 88-byte record; the tip keeps at most 63 characters and always its NUL,
// the rest of the field filled with blanks.
NotifyIconData MakeTrayIconData(WindowHandle window, IconHandle icon, const std::string& tip,
                                std::uint32_t callbackMessage);

class Tray {
  public:
    Tray(Form1& form, Shell& shell, WindowRuntime& runtime);

    bool AddTrayIcon(WindowHandle window, IconHandle icon, const std::string& tip,
                     std::uint32_t callbackMessage);
    // Adds the program's own icon: the main window, its icon, "Lumatone".
    bool AddOwnIcon();
    void RemoveTrayIcon();

    void ShowAction();
    void HideAction();
    // One event number from the icon's callback.
    void OnCallback(std::uint32_t event);
    // The shell restarted and forgot the icon: add it again, and if that
    // fails while the window is hidden, show the window so it is not lost.
    void OnTaskbarCreated();

    const NotifyIconData& TrayIconData() const { return data_; }

  private:
    void PopUpMenu();

    Form1& form_;
    Shell& shell_;
    WindowRuntime& runtime_;
    NotifyIconData data_{};
};

} // namespace lumatone

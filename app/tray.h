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
// A refused icon is tried again on Timer2's ticks for two minutes.
constexpr int kTrayAddRetries = 80;

// The 88-byte record; the tip keeps at most 63 characters and always its NUL,
// the rest of the field filled with blanks.
NotifyIconData MakeTrayIconData(WindowHandle window, IconHandle icon, const std::string& tip,
                                std::uint32_t callbackMessage);

class Tray {
  public:
    Tray(Form1& form, Shell& shell, WindowRuntime& runtime);

    // The shell's answer to the add. A refused add leaves the icon as it
    // was; when none is there, the add is retried on each RetryAdd for a while.
    bool AddTrayIcon(WindowHandle window, IconHandle icon, const std::string& tip,
                     std::uint32_t callbackMessage);
    // Adds the program's own icon: the main window, its icon, "Lumatone".
    bool AddOwnIcon();
    void RemoveTrayIcon();
    // The icon is there to bring a hidden window back. The shell may refuse
    // it, as it does at logon before the taskbar is ready.
    bool IconPresent() const { return present_; }
    // Timer2's tick: one more try at an icon the shell refused.
    void RetryAdd();
    // For a hide that finds no icon: the window stays (or comes back) on
    // screen, and goes to the tray once the icon is there.
    void KeepOnScreenUntilIcon();

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
    bool Add();
    void OnIconBack();

    Form1& form_;
    Shell& shell_;
    WindowRuntime& runtime_;
    NotifyIconData data_{};
    bool present_ = false;
    int retriesLeft_ = 0;
    bool hideWhenPresent_ = false;
};

} // namespace lumatone

// The notification-area icon through the shell's notify-icon records.
#pragma once

#include "platform/shell.h"
#include "platform/tray_icon.h"
#include "platform/window_runtime.h"

#include <cstdint>
#include <functional>
#include <string>

namespace lumatone {

// The icon's callback: a message of our own (WM_APP + 1), never the window's
// mouse moves, so neither a move over the window nor a drag can pass for a click.
constexpr std::uint32_t kTrayCallbackMessage = 0x8001;
constexpr std::uint32_t kTrayLeftDoubleClick = 515;
constexpr std::uint32_t kTrayRightButtonUp = 517;

// The 88-byte record; the tip keeps at most 63 characters and always its NUL,
// the rest of the field filled with blanks.
NotifyIconData MakeTrayIconData(WindowHandle window, IconHandle icon, const std::string& tip,
                                std::uint32_t callbackMessage);

// The main window's icon, with the callback message above.
class ShellTrayIcon : public TrayIcon {
  public:
    ShellTrayIcon(Shell& shell, WindowRuntime& runtime) : shell_(shell), runtime_(runtime) {}
    bool Show(const std::string& tip) override;
    void Hide() override;
    void SetHandler(std::function<void(TrayEvent)> handler) override {
        handler_ = std::move(handler);
    }

    // One event number from the icon's callback message.
    void OnCallback(std::uint32_t event);
    // The shell's "TaskbarCreated": it restarted and forgot the icon.
    void OnTaskbarCreated();

    const NotifyIconData& Data() const { return data_; }

  private:
    void Raise(TrayEvent event);

    Shell& shell_;
    WindowRuntime& runtime_;
    std::function<void(TrayEvent)> handler_;
    NotifyIconData data_{};
    bool present_ = false;
};

} // namespace lumatone

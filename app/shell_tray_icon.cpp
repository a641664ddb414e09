#include "app/shell_tray_icon.h"

#include <algorithm>
#include <cstring>

namespace lumatone {

NotifyIconData MakeTrayIconData(WindowHandle window, IconHandle icon, const std::string& tip,
                                std::uint32_t callbackMessage) {
    NotifyIconData d{};
    d.cbSize = sizeof(NotifyIconData);
    d.hWnd = static_cast<std::uint32_t>(window);
    d.uID = 1;
    d.uFlags = 7; // message + icon + tip
    d.uCallbackMessage = callbackMessage;
    d.hIcon = static_cast<std::uint32_t>(icon);
    std::memset(d.szTip, ' ', sizeof d.szTip);
    const std::size_t n = std::min(tip.size(), sizeof d.szTip - 1);
    std::memcpy(d.szTip, tip.data(), n);
    d.szTip[n] = '\0';
    return d;
}

bool ShellTrayIcon::Show(const std::string& tip) {
    data_ = MakeTrayIconData(runtime_.MainWindow(), runtime_.MainIcon(), tip, kTrayCallbackMessage);
    const bool added = shell_.NotifyIcon(kNimAdd, data_);
    // A refused add also means "already there", and a shell that timed out
    // may have taken the icon after all: a modify succeeds only while it exists.
    present_ = added || present_ || shell_.NotifyIcon(kNimModify, data_);
    return present_;
}

void ShellTrayIcon::Hide() {
    shell_.NotifyIcon(kNimDelete, data_);
    present_ = false;
}

void ShellTrayIcon::OnCallback(std::uint32_t event) {
    if (event == kTrayLeftDoubleClick)
        Raise(TrayEvent::Activate);
    else if (event == kTrayRightButtonUp)
        Raise(TrayEvent::Menu);
}

void ShellTrayIcon::OnTaskbarCreated() {
    present_ = false;
    Raise(TrayEvent::TrayRestart);
}

void ShellTrayIcon::Raise(TrayEvent event) {
    if (handler_)
        handler_(event);
}

} // namespace lumatone

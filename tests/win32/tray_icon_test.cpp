// The notification-area icon through Wine's XEmbed tray.
#include "platform/win32/win32_shell.h"
#include "win32/wine_support.h"

#include <cstring>

namespace lumatone {
namespace {

NotifyIconData TrayRecord(HWND window, const char* tip) {
    NotifyIconData data;
    data.cbSize = sizeof(data);
    // The record keeps 32-bit handles, as the core hands them over.
    data.hWnd = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = 512;
    data.hIcon = static_cast<std::uint32_t>(
        reinterpret_cast<std::uintptr_t>(LoadIconA(nullptr, IDI_APPLICATION)));
    std::strncpy(data.szTip, tip, sizeof(data.szTip));
    return data;
}

TEST(Win32ShellTray, RefusesASecondAddKeepsTheIconAndRemovesIt) {
    wine::TestWindow window;
    ASSERT_NE(window.get(), nullptr);
    Win32Shell shell;
    NotifyIconData data = TrayRecord(window.get(), "Lumatone");

    ASSERT_TRUE(shell.NotifyIcon(kNimAdd, data));
    wine::PumpMessages(200);
    EXPECT_FALSE(shell.NotifyIcon(kNimAdd, data));
    // Still there: it can be changed, and then removed once.
    EXPECT_TRUE(shell.NotifyIcon(kNimModify, data));
    EXPECT_TRUE(shell.NotifyIcon(kNimDelete, data));
    EXPECT_FALSE(shell.NotifyIcon(kNimDelete, data));
    EXPECT_FALSE(shell.NotifyIcon(kNimModify, data));
}

TEST(Win32ShellTray, TakesATipThatFillsTheWholeField) {
    wine::TestWindow window;
    Win32Shell shell;
    NotifyIconData data = TrayRecord(window.get(), "");
    std::memset(data.szTip, 'x', sizeof(data.szTip)); // no terminating NUL
    EXPECT_TRUE(shell.NotifyIcon(kNimAdd, data));
    EXPECT_TRUE(shell.NotifyIcon(kNimDelete, data));
}

} // namespace
} // namespace lumatone

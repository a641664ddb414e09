#include "platform/win32/win32_shell.h"

#include "platform/win32/win32_windows.h"

#include <cstring>

namespace lumatone {

namespace {

// User handles have 32 significant bits on every Windows; wider builds
// sign-extend them.
template <typename Handle> Handle FromHandle32(std::uint32_t handle) {
    return reinterpret_cast<Handle>(static_cast<LONG_PTR>(static_cast<std::int32_t>(handle)));
}

const char* OrNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

bool Win32Shell::NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
    NOTIFYICONDATAA native{};
    native.cbSize = NOTIFYICONDATAA_V1_SIZE;
    native.hWnd = FromHandle32<HWND>(data.hWnd);
    native.uID = data.uID;
    native.uFlags = data.uFlags;
    native.uCallbackMessage = data.uCallbackMessage;
    native.hIcon = FromHandle32<HICON>(data.hIcon);
    // The tip may fill all 64 bytes; the shell still gets a terminated string.
    std::memcpy(native.szTip, data.szTip, sizeof(data.szTip) - 1);
    native.szTip[sizeof(data.szTip) - 1] = '\0';
    return ::Shell_NotifyIconA(message, &native) != FALSE;
}

bool Win32Shell::Execute(const std::string& operation, const std::string& file,
                         const std::string& parameters, const std::string& folder,
                         int showCommand) {
    HINSTANCE result = ::ShellExecuteA(nullptr, OrNull(operation), file.c_str(), OrNull(parameters),
                                       OrNull(folder), showCommand);
    // Values above 32 mean success.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

int Win32Shell::MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                           std::uint32_t style) {
    return ::MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), title.c_str(), style);
}

} // namespace lumatone
